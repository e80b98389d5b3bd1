# SPDX-License-Identifier: MIT
"""Range selection under Wine as a person sees it: the translucent overlay over every monitor,
the rubber band that follows a drag, and the magnifier showing the dragged part afterwards.

Run from the repository root: python3 -m unittest -v tests/e2e/test_selection.py
"""

import contextlib
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tour  # noqa: E402
import vxharness as vx  # noqa: E402


def band_view(left, top, right, bottom, margin=6):
    """(region, expected colour function) for the rubber band (left, top)-(right, bottom),
    right and bottom exclusive, and `margin` pixels of bare overlay around it: the 3-pixel pen
    lies inside the rectangle and the overlay shows through the hollow inside."""
    pen = tour.BAND_WIDTH
    region = vx.Rect(left - margin, top - margin, right - left + 2 * margin,
                     bottom - top + 2 * margin)

    def colour(x, y):
        x, y = x + region.x, y + region.y
        inside = left <= x < right and top <= y < bottom
        on_pen = inside and (x < left + pen or x >= right - pen or y < top + pen
                             or y >= bottom - pen)
        return tour.BAND_COLOUR if on_pen else tour.OVERLAY_COLOUR

    return region, colour


def assert_covered(test, xserver, rect, step=16):
    """Every `step`th pixel of rect on the screen shows the overlay's colour (it is drawn
    opaque: Xvfb and Xorg have no compositor)."""
    shot = xserver.screenshot(rect)
    xs = sorted({*range(0, rect[2], step), rect[2] - 1})  # the far edges too
    ys = sorted({*range(0, rect[3], step), rect[3] - 1})
    off = [(rect[0] + x, rect[1] + y) for y in ys for x in xs
           if shot.pixel(x, y) != tour.OVERLAY_COLOUR]
    test.assertEqual(off[:5], [], f"points of {tuple(rect)} not covered by the overlay")


class SelectionOnOneScreen(vx.E2ETestCase):
    """Xvfb with openbox; a pattern of distinct blocks lies at (200, 150), 400 x 300."""

    @classmethod
    def setUpClass(cls):
        tour.orvalen_exe()
        cls.prefix = vx.WinePrefix().ensure()
        cls.xserver = vx.XServer(window_manager=True, out_dir=vx.output_dir(cls.__name__))
        cls.addClassCleanup(cls.xserver.stop)
        cls.xserver.start()
        cls.prefix.start(cls.xserver)
        cls.addClassCleanup(cls.prefix.stop)
        path = os.path.join(vx.output_dir(cls.__name__), "blocks.png")
        tour.block_pattern(path, 400, 300, 25)
        cls.pattern = cls.xserver.show_pattern(path, 200, 150)

    def start_magnifier(self):
        magnifier = tour.Magnifier(self.prefix, self.xserver, log_dir=self.out_dir())
        self.addCleanup(magnifier.stop)
        return magnifier

    @contextlib.contextmanager
    def pressed(self, x, y):
        """The left button held down at (x, y) for the block's duration."""
        self.xserver.move(x, y)
        self.xserver.xdotool("mousedown", 1)
        try:
            yield
        finally:
            self.xserver.xdotool("mouseup", 1)

    def move_through(self, *points):
        for point in points:
            time.sleep(0.02)  # separate motion events, as a hand makes them
            self.xserver.move(*point)

    def wait_band(self, left, top, right, bottom):
        self.xserver.wait_region(*band_view(left, top, right, bottom))

    def wait_magnified(self, magnifier, range_rect):
        magnifier.wait_magnified(tour.part_of(self.pattern, tour.source_rect(range_rect)))

    def test_overlay_covers_the_screen_and_the_dragged_rectangle_is_magnified(self):
        magnifier = self.start_magnifier()
        overlay = magnifier.open_overlay()
        screen = vx.Rect(0, 0, self.xserver.width, self.xserver.height)
        self.assertEqual(self.xserver.geometry(overlay), screen)
        opacity = self.xserver.window_property(overlay, "_NET_WM_WINDOW_OPACITY")
        self.assertEqual(int(opacity), tour.OVERLAY_OPACITY)  # 0x80808080
        self.assertIn("_NET_WM_STATE_ABOVE", self.xserver.window_property(
            overlay, "_NET_WM_STATE"))
        assert_covered(self, self.xserver, screen)  # the pattern and the magnifier included

        # The band is normalised around the press point wherever the pointer goes; the last
        # position before the release makes the range.
        press = (480, 380)
        with self.pressed(*press):
            self.move_through((520, 400), (560, 430))
            self.wait_band(480, 380, 560, 430)
            self.move_through((450, 360), (420, 330))
            self.wait_band(420, 330, 480, 380)
            self.move_through((360, 280), (300, 220))
            self.wait_band(300, 220, 480, 380)
        magnifier.wait_closed(overlay, "the overlay")
        self.wait_magnified(magnifier, (300, 220, 480, 380))
        self.assertEqual(magnifier.close(), 0)

    def test_escape_before_a_press_keeps_the_previous_range(self):
        magnifier = self.start_magnifier()
        chosen = magnifier.select(230, 170, 390, 260)
        self.assertEqual(chosen, (230, 170, 390, 260))
        self.wait_magnified(magnifier, chosen)
        overlay = magnifier.open_overlay()
        # A new run starts without a band: the overlay is bare where the last one was.
        self.xserver.wait_region(band_view(*chosen)[0], tour.OVERLAY_COLOUR)
        self.xserver.key("Escape")
        magnifier.wait_closed(overlay, "the overlay")
        self.wait_magnified(magnifier, chosen)  # copies go on, from the same range
        self.assertEqual(magnifier.close(), 0)

    def test_escape_during_a_drag_accepts_the_rectangle_so_far(self):
        magnifier = self.start_magnifier()
        overlay = magnifier.open_overlay()
        with self.pressed(250, 300):
            self.move_through((350, 350), (450, 420))
            self.wait_band(250, 300, 450, 420)
            self.xserver.key("Escape")
            magnifier.wait_closed(overlay, "the overlay")
        self.wait_magnified(magnifier, (250, 300, 450, 420))
        self.assertEqual(magnifier.close(), 0)


class SelectionOnTwoMonitors(vx.E2ETestCase):
    """Xorg with a 1024x768 monitor left of the 1280x800 primary, and no window manager:
    openbox would keep the full-screen overlay on one monitor, which Windows does not (hiding a
    window then costs Wine 2 s). A pattern lies on the left monitor."""

    @classmethod
    def setUpClass(cls):
        tour.orvalen_exe()
        cls.prefix = vx.WinePrefix().ensure()
        cls.xserver = vx.XServer.dual_monitor(out_dir=vx.output_dir(cls.__name__))
        cls.addClassCleanup(cls.xserver.stop)
        cls.xserver.start()
        cls.prefix.start(cls.xserver)  # after the layout: Wine reads the monitors at start
        cls.addClassCleanup(cls.prefix.stop)
        path = os.path.join(vx.output_dir(cls.__name__), "blocks.png")
        tour.block_pattern(path, 300, 200, 20)
        cls.pattern = cls.xserver.show_pattern(path, 100, 300)  # Windows (-924, 300)

    def test_overlay_covers_both_monitors_and_a_range_on_the_left_one_is_magnified(self):
        magnifier = tour.Magnifier(self.prefix, self.xserver, log_dir=self.out_dir())
        self.addCleanup(magnifier.stop)
        client = magnifier.client()
        self.assertEqual(self.xserver.to_windows(*client[:2]), tour.CLIENT_ORIGIN)
        overlay = magnifier.open_overlay()
        monitors = self.xserver.monitors()
        union = vx.Rect(min(m[0] for m in monitors), min(m[1] for m in monitors),
                        max(m[0] + m[2] for m in monitors), max(m[1] + m[3] for m in monitors))
        union = vx.Rect(union[0], union[1], union[2] - union[0], union[3] - union[1])
        self.assertEqual(self.xserver.geometry(overlay), union)
        self.assertEqual(self.xserver.to_windows(*union[:2]), (-1024, 0))
        for m in monitors:
            with self.subTest(monitor=m[:4]):
                assert_covered(self, self.xserver, m[:4], step=32)
        self.xserver.drag(130, 320, 330, 440, steps=8)
        magnifier.wait_closed(overlay, "the overlay")
        # The range is in overlay coordinates, whose origin is the union's top-left corner:
        # on this screen that is X (0, 0), so the range equals the X coordinates dragged.
        source = tour.part_of(self.pattern, tour.source_rect((130, 320, 330, 440), union[:2]))
        magnifier.wait_magnified(source)
        self.assertEqual(magnifier.close(), 0)


if __name__ == "__main__":
    unittest.main()
