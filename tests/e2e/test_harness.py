# SPDX-License-Identifier: MIT
"""Self-test of the end-to-end harness against a tiny Win32 program (fixtures/probe.c).

Run: python3 -m unittest -v tests/e2e/test_harness.py   (from the repository root)
Starts its own X servers and Wine sessions; needs wine64, Xvfb, xdotool, ImageMagick, openbox
and the x86_64 mingw compiler (Xorg with the dummy driver for the two-monitor case).
"""

import contextlib
import io
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vxharness as vx  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
PROBE_SOURCE = os.path.join(HERE, "fixtures", "probe.c")
CLIENT_SIZE = (300, 150)
GREEN = (0x20, 0xA0, 0x60)
BLUE = (0, 0, 0xFF)
BLACK = (0, 0, 0)  # the X server's root background (-br)

TIMINGS = []  # (what, seconds), printed at the end of the run


def note_time(what, seconds):
    if seconds is not None:
        TIMINGS.append((what, seconds))


def tearDownModule():
    if not TIMINGS:
        return
    print("\n[e2e] timings (count: min / median / max):", file=sys.stderr)
    for what in dict.fromkeys(w for w, _ in TIMINGS):
        values = sorted(s for w, s in TIMINGS if w == what)
        print(f"[e2e]   {what} ({len(values)}): {values[0]:.2f} / "
              f"{values[len(values) // 2]:.2f} / {values[-1]:.2f} s", file=sys.stderr)


def ready_prefix():
    prefix = vx.WinePrefix()
    prefix.ensure()
    if prefix.created_seconds is not None:
        note_time("Wine prefix created", prefix.created_seconds)
    return prefix


def probe_exe():
    """The probe built with mingw into the build tree (VX_PROBE_EXE names a prebuilt one)."""
    prebuilt = os.environ.get("VX_PROBE_EXE")
    if prebuilt:
        return prebuilt
    compiler = shutil.which("x86_64-w64-mingw32-gcc-posix") or shutil.which(
        "x86_64-w64-mingw32-gcc")
    if compiler is None:
        raise unittest.SkipTest("x86_64 mingw compiler not installed")
    out_dir = os.path.join(vx.build_dir(), "e2e-fixtures")
    os.makedirs(out_dir, exist_ok=True)
    exe = os.path.join(out_dir, "probe.exe")
    if not os.path.exists(exe) or os.path.getmtime(exe) < os.path.getmtime(PROBE_SOURCE):
        fd, tmp = tempfile.mkstemp(suffix=".exe", dir=out_dir)
        os.close(fd)
        subprocess.run([compiler, "-municode", "-mwindows", "-Wall", "-Wextra", "-Werror", "-O1",
                        "-o", tmp, PROBE_SOURCE, "-lshell32"], check=True)
        os.replace(tmp, exe)  # atomic: a parallel run never sees a half-written file
    return exe


def parse_report(app, what="shown"):
    """The probe's own view: (window left, top), (client left, top, width, height). The probe
    prints it just after showing its window, so a test that saw the window may be early."""

    def report():
        for line in app.output.splitlines():
            f = line.split()
            if f and f[0] == what:
                return tuple(map(int, f[2:4])), tuple(map(int, f[7:11]))
        return None

    try:
        return vx.wait_until(report, 10, what=f"the probe's {what!r} line")
    except TimeoutError:
        raise AssertionError(f"probe printed no {what!r} line: {app.output!r}") from None


def distinct_pattern(x, y):
    # No two pixels within a few pixels of each other are equal, so any offset shows.
    return ((x * 4) % 256, (y * 5) % 256, (x * 7 + y * 11) % 256)


class HelpersTest(unittest.TestCase):
    """The pieces that need no X server."""

    def test_wait_until_returns_value_or_times_out_after_a_last_look(self):
        calls = []
        self.assertEqual(vx.wait_until(lambda: calls.append(1) or len(calls) >= 3 and "v", 5,
                                       0.001), "v")
        late = [time.monotonic() + 0.2]
        # The predicate turns true only after the deadline: the final look must still see it.
        self.assertTrue(vx.wait_until(lambda: time.monotonic() >= late[0], 0.2, 10))
        with self.assertRaisesRegex(TimeoutError, "the moon"):
            vx.wait_until(lambda: False, 0.1, 0.02, what="the moon")

    def test_compare_region_reports_the_worst_pixel(self):
        shot = vx.Screenshot(4, 3, bytes([10, 10, 10] * 12), left=100, top=50)
        data = bytearray(shot.data)
        data[(2 * 4 + 3) * 3 : (2 * 4 + 3) * 3 + 3] = bytes([10, 40, 10])  # pixel (3, 2)
        data[(1 * 4 + 1) * 3] = 13  # pixel (1, 1), red off by 3
        shot.data = bytes(data)
        cases = [  # (rect, expected, tolerance, bad pixels, worst position)
            ((0, 0, 4, 3), (10, 10, 10), 0, 2, (3, 2)),
            ((0, 0, 4, 3), (10, 10, 10), 3, 1, (3, 2)),
            ((0, 0, 3, 2), (10, 10, 10), 3, 0, (1, 1)),
            ((1, 1, 3, 2), lambda x, y: (10, 40, 10) if (x, y) == (2, 1) else (10, 10, 10), 0, 1,
             (0, 0)),
        ]
        for rect, expected, tolerance, bad, worst in cases:
            with self.subTest(rect=rect, tolerance=tolerance):
                check = vx.compare_region(shot, rect, expected, tolerance)
                self.assertEqual(check.bad, bad)
                self.assertEqual(check.worst[1:3], worst)
                if bad:
                    sx, sy = 100 + rect[0] + worst[0], 50 + rect[1] + worst[1]
                    self.assertIn(f"screen ({sx}, {sy})", str(check))


    def test_enlargement_bounds_are_exact_inside_blocks_and_mixed_at_edges(self):
        red, blue = (200, 0, 0), (0, 0, 200)
        source = vx.Screenshot(4, 1, bytes(red * 2 + blue * 2))
        exact = vx.enlargement_bounds(source, 16, 2, slack=0)
        self.assertEqual({exact(x, 1) for x in range(8)}, {(red, red)})
        self.assertEqual({exact(x, 0) for x in range(8, 16)}, {(blue, blue)})
        self.assertEqual(vx.enlargement_bounds(source, 16, 2)(7, 0), ((0, 0, 0), (200, 0, 200)))
        shot = vx.Screenshot(16, 1, bytes(red * 7 + (100, 0, 100) + blue * 7 + red))
        check = vx.compare_region(shot, (0, 0, 16, 1), vx.enlargement_bounds(source, 16, 1), 5)
        self.assertEqual((check.bad, check.worst[1]), (1, 15))  # the mix passes, the red not
        self.assertIn("between (0, 0, 200) and (0, 0, 200)", str(check))


class ProbeOnXvfb(vx.E2ETestCase):
    """The probe on a bare Xvfb screen: no window manager."""

    window_manager = False
    label = "Xvfb"

    @classmethod
    def setUpClass(cls):
        cls.probe = probe_exe()
        cls.prefix = ready_prefix()
        cls.xserver = vx.XServer(window_manager=cls.window_manager,
                                 out_dir=vx.output_dir(cls.__name__))
        cls.addClassCleanup(cls.xserver.stop)
        cls.xserver.start()
        note_time(f"{cls.label} started", cls.xserver.start_seconds)
        started = time.monotonic()
        cls.prefix.start(cls.xserver)
        cls.addClassCleanup(cls.prefix.stop)
        note_time(f"wineserver -p + wineboot on {cls.label}", time.monotonic() - started)

    def launch(self, *args):
        app = self.prefix.launch(self.probe, args, log_dir=self.out_dir())
        self.addCleanup(app.stop)
        return app

    def open_probe(self, x=200, y=150, *more):
        """Launches the probe, waits until its client area shows its colour; (app, win, rect)."""
        app = self.launch(x, y, *more)
        win = app.wait_window("Probe")
        note_time(f"launch to window mapped ({self.label})", time.monotonic() - app.launched_at)
        rect = app.geometry(win)
        if not more:
            self.xserver.wait_region(rect, GREEN)
        return app, win, rect

    def close_and_expect_7(self, app, win, method="delete"):
        started = time.monotonic()
        app.close(win, method)
        self.assertEqual(app.wait_exit(), 7)
        note_time(f"close ({method}) to exit ({self.label})", time.monotonic() - started)

    def test_client_area_lies_where_windows_says_with_its_colour(self):
        app, win, rect = self.open_probe(200, 150)
        (left, top), client = parse_report(app)
        self.assertEqual((left, top), (200, 150))
        # The X window of a Wine top-level is exactly its client area, at the place Windows
        # reports for it; the non-client frame lies outside it (drawn by openbox, or nowhere).
        self.assertEqual(tuple(rect), client)
        self.assertEqual(rect[2:], CLIENT_SIZE)
        self.assertGreater(rect.x, 200)
        self.assertGreater(rect.y, 150)
        shot = self.xserver.screenshot()
        self.assertTrue(vx.compare_region(shot, rect, GREEN).ok)
        if not self.window_manager:  # nothing is drawn around the client area
            ring = [(rect.x - 1, rect.y + 10), (rect.x + 300, rect.y + 10),
                    (rect.x + 10, rect.y - 1), (rect.x + 10, rect.y + 150)]
            self.assertEqual([shot.pixel(*p) for p in ring], [BLACK] * 4)
        self.close_and_expect_7(app, win)

    def test_popup_menu_opens_at_the_click_and_an_item_is_chosen_by_key(self):
        app, win, rect = self.open_probe(150, 120)
        click = (rect.x + 100, rect.y + 60)
        app.right_click(*click)
        menu = app.wait_popup(near=click)
        info = self.xserver.window_info(menu)
        self.assertTrue(info["override_redirect"])
        self.assertEqual((info["x"], info["y"]), click)
        self.assertGreater(info["height"], 20)  # two items
        self.xserver.key("b")  # the menu has the keyboard: no focusing
        self.assertEqual(app.wait_window("Probe: 青"), win)
        self.xserver.wait_region(rect, BLUE)
        self.assertFalse(self.xserver.viewable(menu))
        self.assertIn("chose-blue", app.output)
        self.close_and_expect_7(app, win)

    def test_drag_presses_moves_and_releases_at_the_given_points(self):
        app, win, rect = self.open_probe()
        app.drag(rect.x + 20, rect.y + 30, rect.x + 220, rect.y + 120, steps=10)
        release = vx.wait_until(
            lambda: [line.split() for line in app.output.splitlines() if line.startswith("up ")],
            what="the probe to see the release")[0]
        self.assertIn("down 20 30", app.output)
        self.assertEqual(release[1:3], ["220", "120"])
        self.assertGreaterEqual(int(release[4]), 5)  # separate motion events, not one jump
        self.close_and_expect_7(app, win)

    def test_each_close_method_ends_the_program_with_its_exit_code(self):
        for method in ("delete", "alt+F4"):
            with self.subTest(method=method):
                app, win, _ = self.open_probe()
                self.close_and_expect_7(app, win, method)

    def test_pattern_lands_exactly_at_the_requested_position(self):
        path = os.path.join(self.out_dir(), "pattern.png")
        pattern = vx.make_pattern(path, 64, 48, distinct_pattern)
        started = time.monotonic()
        shown = self.xserver.show_pattern(path, 333, 217)
        self.addCleanup(shown.close)
        note_time(f"pattern shown ({self.label})", time.monotonic() - started)
        shot = self.xserver.screenshot((332, 216, 66, 50))
        self.assertTrue(vx.compare_region(shot, (1, 1, 64, 48), pattern).ok)
        border = [(x, y) for x in range(66) for y in (0, 49)] + [
            (x, y) for x in (0, 65) for y in range(50)]
        self.assertEqual({shot.pixel(x, y) for x, y in border}, {BLACK})

    def test_japanese_faces_render_with_the_ipa_fonts(self):
        # Each probe row draws the same Japanese text in one face. A face must render pixel for
        # pixel like the IPA font it is mapped or linked to: boxes, or another font, would not.
        groups = [  # rows of one probe: (face, index of the row it must equal, or None)
            [("IPAPGothic", None), ("MS UI Gothic", 0), ("ＭＳ Ｐゴシック", 0), ("Tahoma", 0),
             ("Arial", 0)],
            [("IPAMincho", None), ("ＭＳ 明朝", 0), ("IPAGothic", None), ("ＭＳ ゴシック", 2)],
        ]
        for group in groups:
            app, win, rect = self.open_probe(100, 100, "FFFFFF", *(face for face, _ in group))
            rows = []

            def painted():
                shot = self.xserver.screenshot(rect)
                rows[:] = [shot.crop(0, 6 + 28 * i, 300, 26) for i in range(len(group))]
                return all(sum(v < 128 for v in row.data) > 300 for row in rows)

            vx.wait_until(painted, what="the sample text in every row")
            for i, (face, reference) in enumerate(group):
                if reference is None:
                    continue
                with self.subTest(face=face):
                    check = vx.compare_region(rows[i], (0, 0, 300, 26), rows[reference])
                    self.assertTrue(check.ok, f"{face} unlike {group[reference][0]}: {check}")
            self.close_and_expect_7(app, win)


class ProbeUnderOpenbox(ProbeOnXvfb):
    """The same checks with openbox managing the windows."""

    window_manager = True
    label = "Xvfb+openbox"


class ProbeOnTwoMonitors(vx.E2ETestCase):
    """Xorg with the dummy driver: a 1024x768 monitor left of the 1280x800 primary."""

    @classmethod
    def setUpClass(cls):
        cls.probe = probe_exe()
        cls.prefix = ready_prefix()
        cls.xserver = vx.XServer.dual_monitor(out_dir=vx.output_dir(cls.__name__))
        cls.addClassCleanup(cls.xserver.stop)
        cls.xserver.start()
        note_time("Xorg (dummy, two monitors) started", cls.xserver.start_seconds)
        cls.prefix.start(cls.xserver)  # after the layout: Wine reads the monitors at start
        cls.addClassCleanup(cls.prefix.stop)

    def test_layout_and_coordinate_mapping(self):
        self.assertEqual(sorted(self.xserver.monitors()),
                         [(0, 0, 1024, 768, False), (1024, 0, 1280, 800, True)])
        self.assertEqual(self.xserver.to_x(-1024, 0), (0, 0))
        self.assertEqual(self.xserver.to_windows(1024, 10), (0, 10))

    def test_probe_on_the_left_monitor(self):
        app = self.prefix.launch(self.probe, (-900, 100), log_dir=self.out_dir())
        self.addCleanup(app.stop)
        win = app.wait_window("Probe")
        rect = app.geometry(win)
        _, (cx, cy, cw, ch) = parse_report(app)
        self.assertLess(cx, 0)  # Windows places it on the monitor with negative coordinates
        self.assertEqual(tuple(rect), (*self.xserver.to_x(cx, cy), cw, ch))
        self.xserver.wait_region(rect, GREEN)
        click = (rect.x + 50, rect.y + 50)
        app.right_click(*click)
        menu = app.wait_popup(near=click)
        self.assertEqual(tuple(self.xserver.geometry(menu)[:2]), click)
        self.xserver.key("b")
        self.xserver.wait_region(rect, BLUE)
        app.close(win)
        self.assertEqual(app.wait_exit(), 7)

    def test_pattern_on_the_left_monitor(self):
        path = os.path.join(self.out_dir(), "pattern.png")
        vx.make_pattern(path, 40, 30, distinct_pattern)
        # show_pattern fails unless every pixel of the image lands exactly at (7, 500).
        self.addCleanup(self.xserver.show_pattern(path, 7, 500).close)


class Cleanup(unittest.TestCase):
    """Stopping leaves nothing running, also when the test body fails."""

    def test_everything_started_is_gone_after_a_failure(self):
        prefix = ready_prefix()
        started = {}
        with self.assertRaises(ZeroDivisionError):
            with vx.XServer(window_manager=True) as xserver, prefix:
                started["x"] = xserver._server
                started["wm"] = xserver._wm
                started["socket"] = "/tmp/.X11-unix/X" + xserver.display[1:]
                prefix.start(xserver)
                app = prefix.launch(probe_exe(), (10, 10), log_dir=vx.output_dir("cleanup"))
                app.wait_window("Probe")
                path = os.path.join(vx.output_dir("cleanup"), "p.png")
                vx.make_pattern(path, 8, 8, distinct_pattern)
                started["display"] = xserver.show_pattern(path, 0, 0).proc
                started["app"] = app.proc
                1 / 0
        for what in ("x", "wm", "display", "app"):
            self.assertIsNotNone(started[what].poll(), what)
        self.assertFalse(os.path.exists(started["socket"]))
        self.assertEqual(prefix._our_processes(), [])
        # The session lock is free again: a new session can start at once.
        with vx.XServer() as xserver:
            prefix.start(xserver, lock_timeout=1)
            prefix.stop()

    def test_a_failing_test_saves_screenshot_and_window_tree(self):
        out = tempfile.mkdtemp(prefix="vx-diag-")
        self.addCleanup(shutil.rmtree, out, True)

        class Failing(vx.E2ETestCase):
            def out_dir(self):
                return out

            def test_fails(self):
                self.xserver.screenshot((0, 0, 10, 10))
                self.fail("on purpose")

        with vx.XServer() as xserver, contextlib.redirect_stderr(io.StringIO()) as said:
            Failing.xserver = xserver
            result = unittest.TestResult()
            unittest.defaultTestLoader.loadTestsFromTestCase(Failing).run(result)
        self.assertEqual(len(result.failures), 1)
        self.assertIn(f"diagnostics in {out}", said.getvalue())
        self.assertEqual(sorted(os.listdir(out)),
                         ["last-check.png", "screen.png", "xwininfo-tree.txt"])
        self.assertEqual(vx.read_image(os.path.join(out, "last-check.png")).width, 10)


if __name__ == "__main__":
    unittest.main()
