# SPDX-License-Identifier: MIT
"""The about dialog under Wine as a person sees it: it replaces the magnifier while open, its
two links reach the desktop's default handler, and every way of closing it brings the
magnifier back, copying again if it was copying before.

Run from the repository root: python3 -m unittest -v tests/e2e/test_about.py
"""

import os
import stat
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tour  # noqa: E402
import vxharness as vx  # noqa: E402

# Client rectangles (x, y, width, height) of the dialog's controls.
LINK_LABELS = ((8, 84, 182, 16), (8, 120, 265, 16))
OK_BUTTON = (255, 156, 75, 25)
LINK_BLUE = (0, 0, 255)

# Stands in for the desktop's default handler: Wine's winebrowser runs xdg-open <address>.
XDG_OPEN = """#!/bin/sh
printf '%s\\n' "$*" >> "{log}"
"""


def blue_text(shot):
    """(pixels of the link colour, longest run of them in one row): text and its underline."""
    count = longest = 0
    for y in range(shot.height):
        run = 0
        for x in range(shot.width):
            if shot.pixel(x, y) == LINK_BLUE:
                count += 1
                run += 1
                longest = max(longest, run)
            else:
                run = 0
    return count, longest


class AboutDialog(vx.E2ETestCase):
    """Xvfb with openbox (the magnifier hides and shows); a stand-in xdg-open first on the
    PATH of every magnifier; a pattern at (0, 0) for the default range."""

    @classmethod
    def setUpClass(cls):
        tour.orvalen_exe()
        cls.captions = tour.link_captions()
        out = vx.output_dir(cls.__name__)
        stub_dir = os.path.join(out, "bin")
        os.makedirs(stub_dir, exist_ok=True)
        cls.opened_log = os.path.join(out, "opened.txt")
        stub = os.path.join(stub_dir, "xdg-open")
        with open(stub, "w") as f:
            f.write(XDG_OPEN.format(log=cls.opened_log))
        os.chmod(stub, os.stat(stub).st_mode | stat.S_IXUSR | stat.S_IXGRP | stat.S_IXOTH)
        cls.app_env = {"PATH": stub_dir + os.pathsep + os.environ.get("PATH", "")}
        cls.prefix = vx.WinePrefix().ensure()
        cls.xserver = vx.XServer(window_manager=True, out_dir=out)
        cls.addClassCleanup(cls.xserver.stop)
        cls.xserver.start()
        cls.prefix.start(cls.xserver)
        cls.addClassCleanup(cls.prefix.stop)
        cls.pattern_path = os.path.join(out, "default-range.png")
        tour.block_pattern(cls.pattern_path, 100, 100, 24, start=(2, 2))

    def start_magnifier(self):
        magnifier = tour.Magnifier(self.prefix, self.xserver, env=self.app_env,
                                   log_dir=self.out_dir())
        self.addCleanup(magnifier.stop)
        return magnifier

    def opened(self):
        try:
            with open(self.opened_log, encoding="utf-8") as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def show_pattern(self, path):
        shown = self.xserver.show_pattern(path, 0, 0)
        self.addCleanup(shown.close)
        return shown

    def test_replaces_the_magnifier_centred_and_its_links_open_their_own_addresses(self):
        magnifier = self.start_magnifier()
        about = magnifier.open_about()
        self.assertFalse(magnifier.visible())
        dialog = self.xserver.geometry(about)
        self.assertEqual(tuple(dialog[2:]), tour.ABOUT_CLIENT_SIZE)
        self.assertEqual(self.xserver.window_property(about, "_NET_WM_NAME"),
                         f'"{tour.ABOUT_TITLE}"')
        # Centred on the magnifier's window rectangle. Frames are alike on both sides and the
        # caption lies above the client, so the client's centre sits half a caption lower.
        window = (tour.DESIGNED_POSITION[0] + tour.WINDOW_SIZE[0] / 2,
                  tour.DESIGNED_POSITION[1] + tour.WINDOW_SIZE[1] / 2)
        centre = (dialog.x + dialog.width / 2, dialog.y + dialog.height / 2)
        self.assertLessEqual(abs(centre[0] - window[0]), 1, (centre, window))
        self.assertLessEqual(abs(centre[1] - tour.CAPTION / 2 - window[1]), 1, (centre, window))

        self.assertEqual(len(set(self.captions)), 2)
        before = len(self.opened())
        for (x, y, w, h), caption in zip(LINK_LABELS, self.captions):
            with self.subTest(link=caption):
                self.assertTrue(caption.startswith("https://"), caption)
                shot = self.xserver.screenshot((dialog.x + x, dialog.y + y, w, h))
                count, longest = blue_text(shot)
                self.assertGreater(count, 150, "blue text")
                self.assertGreater(longest, 6 * len(caption) * 0.6, "an underline under it")
                self.xserver.click(dialog.x + x + 30, dialog.y + y + h // 2)
                vx.wait_until(lambda: len(self.opened()) > before,
                              what=f"xdg-open to be run for {caption}")
                self.assertEqual(self.opened()[before:], [caption])
                before += 1
                self.assertTrue(self.xserver.viewable(about), "the dialog stays open")
                self.assertFalse(magnifier.visible())
        self.xserver.key("Escape")
        magnifier.wait_closed(about, "the about dialog")
        magnifier.wait_visible()
        self.assertEqual(magnifier.close(), 0)

    def test_escape_enter_ok_and_the_close_box_each_close_it_and_the_magnifier_returns(self):
        magnifier = self.start_magnifier()
        about = magnifier.open_about()
        self.xserver.key("x")  # only Escape among the characters closes it
        time.sleep(0.3)
        self.assertTrue(self.xserver.viewable(about))

        def click_ok(win):
            r = self.xserver.geometry(win)
            self.xserver.click(r.x + OK_BUTTON[0] + OK_BUTTON[2] // 2,
                               r.y + OK_BUTTON[1] + OK_BUTTON[3] // 2)

        ways = {
            "Escape": lambda win: self.xserver.key("Escape"),
            "Enter": lambda win: self.xserver.key("Return"),
            "OK": click_ok,
            "close box": lambda win: self.xserver.send_delete(win),
        }
        for way, close in ways.items():
            with self.subTest(way=way):
                if not self.xserver.viewable(about):
                    about = magnifier.open_about()
                self.assertFalse(magnifier.visible())
                close(about)
                magnifier.wait_closed(about, "the about dialog")
                magnifier.wait_visible()
        self.assertEqual(magnifier.close(), 0)

    def test_copying_stays_off_after_it_before_any_selection_and_resumes_after_it(self):
        first = self.show_pattern(self.pattern_path)
        magnifier = self.start_magnifier()
        about = magnifier.open_about()
        self.xserver.key("Escape")
        magnifier.wait_closed(about, "the about dialog")
        magnifier.wait_visible()
        self.assertIsNone(tour.idle_view_fault(magnifier.settled_idle_view()))

        magnifier.cancel_selection()
        source = tour.part_of(first, tour.source_rect(tour.DEFAULT_RANGE))
        magnifier.wait_magnified(source)
        about = magnifier.open_about()
        # While the dialog is up the screen changes; the magnifier must show the new picture
        # once it is back, not the one it had.
        mirrored = os.path.join(self.out_dir(), "mirrored.png")
        second = vx.make_pattern(mirrored, 100, 100, lambda x, y: first.pixels.pixel(99 - x, y))
        self.show_pattern(mirrored)
        magnifier.wait_focus(about)
        self.xserver.key("Escape")
        magnifier.wait_closed(about, "the about dialog")
        magnifier.wait_visible()
        magnifier.wait_magnified(second.crop(*tour.source_rect(tour.DEFAULT_RANGE)))
        self.assertEqual(magnifier.close(), 0)


if __name__ == "__main__":
    unittest.main()
