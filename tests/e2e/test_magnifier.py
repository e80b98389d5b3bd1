# SPDX-License-Identifier: MIT
"""The magnifier window under Wine, judged by what a person sees: where it opens and how it is
framed, its right-click menu, the magnified default range, resizing and closing.

Run from the repository root: python3 -m unittest -v tests/e2e/test_magnifier.py
It runs build/x86_64/app/Orvalen.exe, or the one under VX_WINDOWS_BUILD_DIR (then a missing
executable fails the tests instead of skipping them).
"""

import collections
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tour  # noqa: E402
import vxharness as vx  # noqa: E402

# _MOTIF_WM_HINTS bits through which Wine tells the window manager the window's style.
MWM_FUNC_RESIZE, MWM_FUNC_MOVE, MWM_FUNC_MINIMIZE, MWM_FUNC_MAXIMIZE, MWM_FUNC_CLOSE = (
    0x02, 0x04, 0x08, 0x10, 0x20)
MWM_DECOR_BORDER, MWM_DECOR_RESIZEH, MWM_DECOR_TITLE, MWM_DECOR_MENU = 0x02, 0x04, 0x08, 0x10
MWM_DECOR_MINIMIZE, MWM_DECOR_MAXIMIZE = 0x20, 0x40


def ink_columns(row):
    return [x for x, p in enumerate(row) if max(p) < tour.INK]


def menu_bands(shot):
    """Horizontal bands inside a popup menu's one-pixel border, top to bottom: ("text", left,
    right) for runs of rows with dark ink, ("line", left, right) for runs of rows of one colour
    other than the background across nearly the whole width (a separator). Blank rows part
    bands."""
    inner = shot.crop(1, 1, shot.width - 2, shot.height - 2)
    rows = [[inner.pixel(x, y) for x in range(inner.width)] for y in range(inner.height)]
    background = collections.Counter(p for row in rows for p in row).most_common(1)[0][0]
    bands, previous = [], None
    for row in rows:
        ink = ink_columns(row)
        drawn = [x for x, p in enumerate(row) if p != background]
        kind, xs = ("text", ink) if ink else ("line", drawn) if len(drawn) >= 0.8 * len(
            row) else (None, [])
        if kind and kind == previous:
            bands[-1] = (kind, min(bands[-1][1], min(xs)), max(bands[-1][2], max(xs)))
        elif kind:
            bands.append((kind, min(xs), max(xs)))
        previous = kind
    return bands


class MagnifierWindow(vx.E2ETestCase):
    """One X server with openbox (windows hide and show here) and one Wine session; each test
    starts its own magnifier, so each begins from a fresh start."""

    @classmethod
    def setUpClass(cls):
        tour.orvalen_exe()  # fails (or skips) before anything is started
        cls.prefix = vx.WinePrefix().ensure()
        cls.xserver = vx.XServer(window_manager=True, out_dir=vx.output_dir(cls.__name__))
        cls.addClassCleanup(cls.xserver.stop)
        cls.xserver.start()
        cls.prefix.start(cls.xserver)
        cls.addClassCleanup(cls.prefix.stop)
        # The default range copies the screen from (2, 2) up to (98, 98): a white ring of two
        # pixels, then 4 x 4 blocks of 24 pixels, so every block of the copy is predictable.
        path = os.path.join(vx.output_dir(cls.__name__), "default-range.png")
        tour.block_pattern(path, 100, 100, 24, start=(2, 2))
        cls.pattern = cls.xserver.show_pattern(path, 0, 0)

    def start_magnifier(self):
        magnifier = tour.Magnifier(self.prefix, self.xserver, log_dir=self.out_dir())
        self.addCleanup(magnifier.stop)
        return magnifier

    def prop(self, win, name):
        return self.xserver.window_property(win, name) or ""

    def test_opens_at_its_place_framed_on_top_with_only_the_instruction_label(self):
        magnifier = self.start_magnifier()
        client = magnifier.client()
        self.assertEqual(tuple(client), (*tour.CLIENT_ORIGIN, *tour.CLIENT_SIZE))
        self.assertEqual(self.prop(magnifier.win, "_NET_WM_NAME"), '"Vexelo"')
        self.assertIn("_NET_WM_STATE_ABOVE", self.prop(magnifier.win, "_NET_WM_STATE"))
        # Caption, sizing border and close box; no minimise or maximise box.
        _, functions, decorations = (int(v, 16) for v in self.prop(
            magnifier.win, "_MOTIF_WM_HINTS").split(", ")[:3])
        self.assertEqual(functions & (MWM_FUNC_RESIZE | MWM_FUNC_MOVE | MWM_FUNC_CLOSE),
                         MWM_FUNC_RESIZE | MWM_FUNC_MOVE | MWM_FUNC_CLOSE)
        self.assertEqual(functions & (MWM_FUNC_MINIMIZE | MWM_FUNC_MAXIMIZE), 0)
        wanted = MWM_DECOR_BORDER | MWM_DECOR_RESIZEH | MWM_DECOR_TITLE | MWM_DECOR_MENU
        self.assertEqual(decorations & wanted, wanted)
        self.assertEqual(decorations & (MWM_DECOR_MINIMIZE | MWM_DECOR_MAXIMIZE), 0)
        # One task-bar entry for the process: the overlay and the dialog stay hidden.
        listed = [int(w, 16) for w in self.prop(None, "_NET_CLIENT_LIST").split(", ")]
        ours = [w for w in listed if w in magnifier.app.windows(visible=False)]
        self.assertEqual(ours, [magnifier.win])
        self.assertNotIn("SKIP_TASKBAR", self.prop(magnifier.win, "_NET_WM_STATE"))

        # A double click does nothing, and nothing is copied before the first range selection:
        # the window keeps the instruction label on the form's colour.
        self.xserver.move(client.x + 200, client.y + 120)
        self.xserver.xdotool("click", "--repeat", "2", "--delay", "80", 1)
        self.assertIsNone(tour.idle_view_fault(magnifier.settled_idle_view()))
        self.assertEqual(self.xserver.search(name=tour.OVERLAY_TITLE), [])
        self.assertEqual(self.xserver.search(name=tour.ABOUT_TITLE), [])
        self.assertEqual(magnifier.close(), 0)

    def test_menu_shows_two_items_and_a_separator_each_chosen_by_keyboard(self):
        magnifier = self.start_magnifier()
        menu = magnifier.open_menu()
        shot = self.xserver.screenshot(self.xserver.geometry(menu))
        bands = menu_bands(shot)
        self.assertEqual([b[0] for b in bands], ["text", "line", "text"], bands)
        first, second = bands[0], bands[2]
        self.assertLessEqual(abs(first[1] - second[1]), 2, "both items start at one indent")
        # "範囲指定" has four characters, "バージョン情報" seven.
        ratio = (second[2] - second[1] + 1) / (first[2] - first[1] + 1)
        self.assertTrue(1.4 < ratio < 2.1, f"text widths {first} and {second}")
        self.assertGreater(bands[1][2] - bands[1][1], shot.width * 0.8, "separator width")
        self.xserver.key("Escape")
        magnifier.wait_closed(menu, "the menu")

        with self.subTest(item=tour.MENU_ITEMS[0]):
            overlay = magnifier.open_overlay()
            self.xserver.key("Escape")
            magnifier.wait_closed(overlay, "the overlay")
        with self.subTest(item=tour.MENU_ITEMS[1]):
            about = magnifier.open_about()
            magnifier.wait_visible(False)
            self.xserver.key("Escape")
            magnifier.wait_closed(about, "the about dialog")
            magnifier.wait_visible(True)
        self.assertEqual(magnifier.close(), 0)

    def test_cancelled_first_selection_magnifies_the_default_range_at_any_size(self):
        magnifier = self.start_magnifier()
        magnifier.cancel_selection()
        source = tour.part_of(self.pattern, tour.source_rect(tour.DEFAULT_RANGE))
        self.assertEqual(source.width, 96)
        magnifier.wait_magnified(source)
        for size in ((300, 240), (520, 170)):
            with self.subTest(size=size):
                self.xserver.xdotool("windowsize", magnifier.win, *size)
                vx.wait_until(lambda: tuple(magnifier.client()[2:]) == size,
                              what=f"the client area to become {size}")
                magnifier.wait_magnified(source)
        started = time.monotonic()
        self.assertEqual(magnifier.close(), 0)
        print(f"\n[e2e] close to exit: {time.monotonic() - started:.2f} s", file=sys.stderr)


if __name__ == "__main__":
    unittest.main()
