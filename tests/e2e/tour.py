# SPDX-License-Identifier: MIT
"""The magnifier Orvalen.exe driven as a person would use it, on the end-to-end harness.

As a module it gives the end-to-end tests one way to start the magnifier, use its right-click
menu, the range selection overlay and the about dialog, and to say what the window must show.
Run as a script it makes a short guided tour on an X server of its own and saves screenshots,
or (--here) just runs the magnifier on the current display:

    python3 tests/e2e/tour.py [--out build/tour.png] [--here]
"""

import argparse
import os
import re
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vxharness as vx  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

TITLE = "Vexelo"
OVERLAY_TITLE = "SelectRangeForm"
ABOUT_TITLE = "バージョン情報"
MENU_ITEMS = ("範囲指定", "バージョン情報")  # the separator lies between them
DESIGNED_POSITION = (750, 550)
CLIENT_SIZE = (400, 200)
ABOUT_CLIENT_SIZE = (338, 187)
DEFAULT_RANGE = (0, 0, 100, 100)

# Measured by the harness probe: a WS_OVERLAPPEDWINDOW at (200, 150) has its client area at
# (204, 173), so Wine's sizing frame is 4 pixels wide and the caption 19 pixels high. The
# magnifier's captioned, sizable style has the same frame and caption.
FRAME = 204 - 200
CAPTION = 173 - 150 - FRAME
CLIENT_ORIGIN = (DESIGNED_POSITION[0] + FRAME, DESIGNED_POSITION[1] + FRAME + CAPTION)
WINDOW_SIZE = (CLIENT_SIZE[0] + 2 * FRAME, CLIENT_SIZE[1] + 2 * FRAME + CAPTION)

OVERLAY_COLOUR = (128, 255, 255)  # the panel's light cyan
BAND_COLOUR = (0, 128, 255)  # the rubber band's pen
BAND_WIDTH = 3
OVERLAY_OPACITY = 128 * 0xFFFFFFFF // 255  # _NET_WM_WINDOW_OPACITY of opacity 128 of 255

# Interpolation and rounding of the halftone stretch; block interiors come out exact.
TOLERANCE = 6

LABEL_RECT = (8, 16, 347, 13)  # the instruction label, in client coordinates
INK = 96  # a pixel with every channel below this is text


def orvalen_exe():
    """The x86_64 build of the magnifier. Missing from VX_WINDOWS_BUILD_DIR is an error (the
    build was asked for); missing from the default build tree only skips."""
    build = os.environ.get("VX_WINDOWS_BUILD_DIR")
    exe = os.path.join(build or os.path.join(REPO, "build", "x86_64"), "app", "Orvalen.exe")
    if not os.path.isfile(exe):
        if build:
            raise FileNotFoundError(f"{exe} is missing (VX_WINDOWS_BUILD_DIR={build}); build it "
                                    "with: cmake --preset x86_64 && cmake --build --preset x86_64")
        raise unittest.SkipTest(f"{exe} is not built: cmake --preset x86_64 && "
                                "cmake --build --preset x86_64")
    return exe


def gallery_exe():
    """The control gallery, built beside the magnifier."""
    exe = os.path.join(os.path.dirname(orvalen_exe()), "Gallery.exe")
    if not os.path.isfile(exe):
        raise FileNotFoundError(f"{exe} is missing: cmake --build --preset x86_64")
    return exe


class GallerySession(vx.E2ETestCase):
    """One X server with openbox and one Wine session for a class of gallery tests."""

    @classmethod
    def setUpClass(cls):
        cls.exe = gallery_exe()
        cls.prefix = vx.WinePrefix().ensure()
        cls.xserver = vx.XServer(window_manager=True, out_dir=vx.output_dir(cls.__name__))
        cls.addClassCleanup(cls.xserver.stop)
        cls.xserver.start()
        cls.prefix.start(cls.xserver)
        cls.addClassCleanup(cls.prefix.stop)


def link_captions():
    """The two link labels' captions, from the about dialog's form description."""
    with open(os.path.join(REPO, "app", "VersionFrm.dfm"), encoding="utf-8") as f:
        text = f.read()
    captions = []
    for name in ("URLLabel", "Label11"):
        body = re.search(rf"object {name}: TLabel\n(.*?)\n  end", text, re.S).group(1)
        captions.append(re.search(r"^\s*Caption = '(.*)'$", body, re.M).group(1))
    return captions


def block_colour(column, row):
    # Neighbours differ by at least 60 in one channel, so any shift of the copy shows.
    return ((40 + 70 * column + 20 * row) % 256, (70 + 60 * row + 15 * column) % 256,
            (160 + 45 * (column + row)) % 256)


def block_pattern(path, width, height, block, start=(0, 0), outside=(255, 255, 255)):
    """An image of `block`-pixel squares of distinct colours whose grid starts at `start`;
    pixels before the start are `outside`. Returns its pixels (a Screenshot)."""

    def colour(x, y):
        if x < start[0] or y < start[1]:
            return outside
        return block_colour((x - start[0]) // block, (y - start[1]) // block)

    return vx.make_pattern(path, width, height, colour)


def source_rect(range_rect, overlay_origin=(0, 0)):
    """The screen rectangle (x, y, w, h) a range copies: shrunk by 2 pixels on every side and
    moved by the overlay's client origin (X root coordinates)."""
    left, top, right, bottom = range_rect
    return vx.Rect(overlay_origin[0] + left + 2, overlay_origin[1] + top + 2,
                   right - left - 4, bottom - top - 4)


def part_of(shown, rect):
    """The pixels of a shown image (a vx.ShownImage) under a screen rectangle; the rectangle
    must lie inside the image, so that nothing else on the screen can leak into it."""
    x, y, w, h = rect
    inside = (shown.x <= x and shown.y <= y and x + w <= shown.x + shown.pixels.width
              and y + h <= shown.y + shown.pixels.height)
    if not inside:
        raise ValueError(f"{tuple(rect)} is not inside the shown image at {tuple(shown.rect)}")
    return shown.pixels.crop(x - shown.x, y - shown.y, w, h)


def ink_count(shot):
    return sum(1 for y in range(shot.height) for x in range(shot.width)
               if max(shot.pixel(x, y)) < INK)


def idle_view_fault(shot):
    """What is wrong with a screenshot of the client area that must show only the instruction
    label on the form's button-face colour (a light grey); None when nothing is."""
    background = shot.pixel(shot.width - 1, shot.height - 1)
    if min(background) < 200 or max(background) - min(background) > 8:
        return f"the background {background} is not the light grey of the form"
    lx, ly, lw, lh = LABEL_RECT
    stray = [(x, y) for y in range(shot.height) for x in range(shot.width)
             if not (lx <= x < lx + lw and ly <= y < ly + lh) and shot.pixel(x, y) != background]
    if stray:
        return f"{len(stray)} pixels outside the label differ from the background: {stray[:3]}"
    ink = ink_count(shot.crop(*LABEL_RECT))
    if not 400 < ink < lw * lh // 2:
        return f"{ink} dark pixels where the label is: not a line of text"
    return None


POINTER_ROOT = 1  # the X focus follows the pointer: how Wine leaves it with no window manager


def has_keyboard(xserver, win):
    """Whether typed keys reach win: it holds the X focus, or the focus follows the pointer
    and the pointer is over it (Wine then routes the keys to its own focus window)."""
    out = xserver.xdotool("getwindowfocus", "-f", check=False).stdout.split()
    focus = int(out[0]) if out else None
    if focus == POINTER_ROOT:
        x, y, w, h = xserver.geometry(win)
        px, py = xserver.pointer()
        return x <= px < x + w and y <= py < y + h
    return focus == win


class Magnifier:
    """One running Orvalen.exe: its main window and what a person does with it. Coordinates are
    X root coordinates (Windows screen coordinates plus `xserver.primary_origin`)."""

    def __init__(self, prefix, xserver, env=None, log_dir=None):
        self.x = xserver
        self.app = prefix.launch(orvalen_exe(), env=env, log_dir=log_dir)
        try:
            self.win = self.app.wait_window(TITLE)
        except BaseException:
            self.app.stop()
            raise

    def stop(self):
        self.app.stop()

    def client(self):
        return self.x.geometry(self.win)

    def visible(self):
        return self.x.viewable(self.win)

    def wait_visible(self, visible=True):
        vx.wait_until(lambda: self.visible() == visible,
                      what=f"the magnifier window to be {'shown' if visible else 'hidden'}")

    def open_menu(self):
        """Right-clicks the middle of the window; returns the popup menu's X window."""
        client = self.client()
        at = (client.x + client.width // 2, client.y + client.height // 2)
        self.x.right_click(*at)
        return self.app.wait_popup(near=at)

    def choose(self, item):
        """Chooses MENU_ITEMS[item] by keyboard: nothing is selected when the menu opens, so
        Down lands on the first item and Up wraps round to the last."""
        menu = self.open_menu()
        self.x.key("Down" if item == 0 else "Up", "Return")
        vx.wait_until(lambda: not self.x.viewable(menu), what="the menu to close")

    def wait_focus(self, win):
        """Waits until win has the keyboard, so typed keys cannot land elsewhere."""
        vx.wait_until(lambda: has_keyboard(self.x, win), what=f"window {win:#x} to get the keys")

    def open_overlay(self):
        """Opens range selection; returns the overlay's X window once it is painted and has
        the keyboard."""
        self.choose(0)
        overlay = self.app.wait_window(OVERLAY_TITLE)
        r = self.x.geometry(overlay)
        self.x.wait_region((r.x + r.width // 2, r.y + r.height // 2, 1, 1), OVERLAY_COLOUR)
        self.wait_focus(overlay)
        return overlay

    def wait_closed(self, win, what="the window"):
        vx.wait_until(lambda: not self.x.viewable(win), what=f"{what} to close")

    def select(self, x1, y1, x2, y2, steps=8, before_release=None):
        """Range selection by a drag from (x1, y1) to (x2, y2); returns the range it makes,
        in the overlay's client coordinates. before_release() runs with the button held."""
        overlay = self.open_overlay()
        origin = self.x.geometry(overlay)[:2]
        self.x.drag(x1, y1, x2, y2, steps, before_release=before_release)
        self.wait_closed(overlay, "the overlay")
        return (min(x1, x2) - origin[0], min(y1, y2) - origin[1], max(x1, x2) - origin[0],
                max(y1, y2) - origin[1])

    def cancel_selection(self):
        overlay = self.open_overlay()
        self.x.key("Escape")
        self.wait_closed(overlay, "the overlay")

    def open_about(self):
        """Opens the about dialog; returns its X window once it has the keyboard."""
        self.choose(1)
        about = self.app.wait_window(ABOUT_TITLE)
        self.wait_focus(about)
        return about

    def settled_idle_view(self):
        """The client area once the instruction label is painted and three timer intervals
        have passed: had a copy been made, it would show by then."""
        client = self.client()
        lx, ly, lw, lh = LABEL_RECT
        label = (client.x + lx, client.y + ly, lw, lh)
        vx.wait_until(lambda: ink_count(self.x.screenshot(label)) > 400,
                      what="the instruction label's text")
        time.sleep(0.3)
        return self.x.screenshot(client)

    def wait_magnified(self, source, tolerance=TOLERANCE, timeout=vx.DEFAULT_TIMEOUT):
        """Waits until the client area shows `source` (a Screenshot) stretched over all of it."""
        client = self.client()
        return self.x.wait_region(client,
                                  vx.enlargement_bounds(source, client.width, client.height),
                                  tolerance, timeout)

    def close(self, timeout=vx.DEFAULT_TIMEOUT):
        """Closes the window as a window manager does; returns the exit code."""
        self.app.close(self.win)
        return self.app.wait_exit(timeout)


def tour(out_path):
    """Start, show a pattern, select part of it, wait for the magnified copy, open and close the
    about dialog, close the magnifier; screenshots along the way. Returns the exit code."""
    os.makedirs(os.path.dirname(os.path.abspath(out_path)), exist_ok=True)
    stem = os.path.splitext(out_path)[0]

    def step(text):
        print(f"[tour] {text}", flush=True)

    with vx.XServer(window_manager=True) as xserver, vx.WinePrefix() as prefix:
        step(f"X server {xserver.display}, Wine prefix {prefix.path}")
        prefix.start(xserver)
        pattern = stem + "-pattern.png"
        block_pattern(pattern, 320, 240, 40)
        shown = xserver.show_pattern(pattern, 60, 80)
        magnifier = Magnifier(prefix, xserver, log_dir=vx.output_dir("tour"))

        def screenshot(suffix, settle=0.0):
            time.sleep(settle)  # for a person watching, and for the band to follow the pointer
            path = stem + suffix + ".png"
            xserver.screenshot().save(path)
            step(f"screenshot {path}")

        try:
            step("the magnifier is up; right click, 範囲指定, drag over the pattern")
            chosen = magnifier.select(130, 150, 290, 230,
                                      before_release=lambda: screenshot("-select", 0.3))
            magnifier.wait_magnified(part_of(shown, source_rect(chosen)))
            step(f"range {chosen} magnified")
            screenshot("")
            magnifier.open_about()
            screenshot("-about", 1.0)
            xserver.key("Escape")
            magnifier.wait_visible()
            step("about dialog closed; closing the magnifier")
            code = magnifier.close()
            step(f"exit code {code}")
            return code
        finally:
            magnifier.stop()


def run_here():
    """Runs the magnifier on the current $DISPLAY until it exits; returns its exit code."""
    prefix = vx.WinePrefix().ensure()  # created once, with the Japanese font mapping
    env = prefix.env(extra={"DISPLAY": os.environ["DISPLAY"]})
    exe = orvalen_exe()
    return subprocess.call([vx.WINE64, exe], env=env, cwd=os.path.dirname(exe))


def main(argv):
    parser = argparse.ArgumentParser(description="A scripted tour of the magnifier.")
    parser.add_argument("--out", default=os.path.join(REPO, "build", "tour.png"),
                        help="where the screenshot goes (default: build/tour.png)")
    parser.add_argument("--here", action="store_true",
                        help="no tour: run the magnifier on $DISPLAY until it is closed")
    args = parser.parse_args(argv)
    if args.here:
        return run_here()
    code = tour(args.out)
    print(f"screenshot: {os.path.abspath(args.out)}")
    return 0 if code == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
