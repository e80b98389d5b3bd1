# SPDX-License-Identifier: MIT
"""The gallery's cute buttons under Wine: what a person sees when clicking, holding, pressing
Enter and Escape, and how the buttons look at rest, focused, pressed and disabled.

Run from the repository root: python3 -m unittest -v tests/e2e/test_gallery_buttons.py
It runs Gallery.exe beside Orvalen.exe in build/x86_64/app, or under VX_WINDOWS_BUILD_DIR.
Every event shows in the gallery's title as "Vexelo Gallery: <name> clicked|chosen <count>".
"""

import contextlib
import os
import re
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tour  # noqa: E402
import vxharness as vx  # noqa: E402

TITLE = "Vexelo Gallery"
# Client rectangles, from the gallery's form description.
BUTTONS = {
    "DefaultButton": (12, 164, 75, 25),
    "CancelButton": (96, 164, 75, 25),
    "DisabledButton": (264, 164, 75, 25),
    "MenuButton": (12, 204, 75, 25),
    "HoldButton": (96, 204, 75, 25),
    "FlatButton": (180, 204, 75, 25),
    "GlyphButton": (12, 292, 120, 25),  # a platform push button
}
INTEGER_EDIT = (200, 12, 200, 21)
READ_ONLY_EDIT = (200, 120, 200, 21)
BLANK = (4, 150)  # bare form between the edits and the buttons: clBtnFace
DISABLED_FACE = (0xF0, 0xC0, 0xC0)  # DisabledColor $00C0C0F0 is BGR
HOLD_DELAY = 0.5  # HoldButton's DropDownDelay
POPUP_SLACK = 2  # pixels the menu may lie off the button's bottom-left corner
SETTLE = 0.4  # time for a stray second event to show
EVENT_TIMEOUT = 10
RINGS = 3  # the bevel rings and the face ring inside them; the caption lies further in
ANY = ((0, 0, 0), (255, 255, 255))
INK = 96  # a channel below this is caption text in the font colour


def system_colours(prefix, xserver):
    """Wine's system colours as its user32 loads them: {"ButtonFace": (r, g, b), ...}."""
    out = subprocess.run([vx.WINE64, "reg", "query", r"HKCU\Control Panel\Colors"],
                         env=prefix.env(xserver), stdin=subprocess.DEVNULL,
                         capture_output=True, timeout=60)
    found = re.findall(r"^\s*(\w+)\s+REG_SZ\s+(\d+) (\d+) (\d+)\s*$",
                       out.stdout.decode("utf-8", "replace"), re.M)
    return {name: tuple(map(int, rgb)) for name, *rgb in found}


def bevel_look(rings, face, width, height):
    """Expected colour (x, y) -> rgb of a button's outer RINGS rings. rings lists the drawn bevels
    from the edge inwards as (top-left colour, bottom-right colour); the bottom-right colour owns
    the top-right and bottom-left corners. Rings past them show the face; the caption area
    further in may hold anything."""

    def colour(x, y):
        ring = min(x, y, width - 1 - x, height - 1 - y)
        if ring >= RINGS:
            return ANY
        if ring >= len(rings):
            return face
        top_left, bottom_right = rings[ring]
        if x == width - 1 - ring or y == height - 1 - ring:
            return bottom_right
        return top_left

    return colour


def caption_pixels(shot, colour):
    """Pixels of exactly that colour inside the rings, as a set of (x, y)."""
    return {(x, y) for y in range(RINGS, shot.height - RINGS)
            for x in range(RINGS, shot.width - RINGS) if shot.pixel(x, y) == colour}


def ink(shot):
    return {(x, y) for y in range(RINGS, shot.height - RINGS)
            for x in range(RINGS, shot.width - RINGS) if max(shot.pixel(x, y)) < INK}


def shifted(pixels, dx, dy):
    return {(x + dx, y + dy) for x, y in pixels}


class GalleryButtons(tour.GallerySession):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        colours = system_colours(cls.prefix, cls.xserver)
        missing = {"ButtonFace", "ButtonShadow", "ButtonHilight"} - colours.keys()
        if missing:
            raise AssertionError(f"Wine reports no system colour {sorted(missing)}: {colours}")
        cls.face = colours["ButtonFace"]
        cls.shadow = colours["ButtonShadow"]
        cls.highlight = colours["ButtonHilight"]

    def setUp(self):
        self.app = vx.WineApp(self.prefix, self.xserver, self.exe, log_dir=self.out_dir())
        self.addCleanup(self.app.stop)
        self.app.start()
        self.win = self.app.wait_window(name=TITLE)
        self.addCleanup(self.close_gallery)
        self.client = self.app.geometry(self.win)
        self.events = 0
        self.shown = TITLE
        self.rest_pointer()
        self.assertEqual(self.popups(), [], "a popup window before anything was pressed")

    def close_gallery(self):
        # Closing as a person would is quicker than ending the process, and shows it still runs.
        # A menu left open by a failed check would hold the close back.
        self.dismiss_menus()
        self.app.close(self.win)
        self.assertEqual(self.app.wait_exit(EVENT_TIMEOUT), 0)

    # -- where things are

    def at(self, x, y):
        return self.client.x + x, self.client.y + y

    def centre(self, button):
        x, y, w, h = BUTTONS[button]
        return self.at(x + w // 2, y + h // 2)

    def rect(self, button):
        x, y, w, h = BUTTONS[button]
        return vx.Rect(*self.at(x, y), w, h)

    def rest_pointer(self):
        self.xserver.move(*self.at(*BLANK))

    def click_edit(self, edit):
        x, y, w, h = edit
        self.xserver.click(*self.at(x + w - 10, y + h // 2))

    # -- what the title shows

    def title(self):
        return self.xserver.xdotool("getwindowname", self.win).stdout.decode("utf-8").strip()

    def expect_title(self, want):
        seen = None

        def shows():
            nonlocal seen
            seen = self.title()
            return seen == want

        try:
            vx.wait_until(shows, EVENT_TIMEOUT, what=f"the title {want!r}")
        except TimeoutError:
            self.resync(seen)
            raise self.failureException(f"the title shows {seen!r}, expected {want!r}") from None
        time.sleep(SETTLE)
        seen = self.title()
        if seen != want:
            self.resync(seen)
            self.fail(f"a further event after {want!r}: the title shows {seen!r}")
        self.shown = want

    def resync(self, seen):
        """Counts from what the title shows, so that the next case is judged on its own."""
        self.shown = seen
        count = re.search(r" (\d+)$", seen)
        self.events = int(count.group(1)) if count else 0

    def expect_event(self, what, count=1):
        """Exactly `count` more events, the last `what` ("CancelButton clicked"), and nothing
        after them."""
        self.events += count
        self.expect_title(f"{TITLE}: {what} {self.events}")

    def expect_no_event(self):
        self.expect_title(self.shown)

    # -- popup menus

    def popups(self):
        """Rects of the gallery's mapped override-redirect windows (Wine's popup menus). Asks
        for the process's own windows: looking at every top-level window takes far longer."""
        found = []
        for win in self.app.windows():
            if win == self.win:
                continue
            info = self.xserver.window_info(win)
            if info["override_redirect"] and info["width"] > 1:
                found.append(vx.Rect(info["x"], info["y"], info["width"], info["height"]))
        return found

    def wait_menu_below(self, button):
        menu = vx.wait_until(self.popups, EVENT_TIMEOUT, 0.02, what=f"{button}'s menu")
        self.assertEqual(len(menu), 1, f"one menu, got {menu}")
        x, y, _w, h = self.rect(button)
        corner = (x, y + h)
        self.assertLessEqual(abs(menu[0].x - corner[0]), POPUP_SLACK,
                             f"menu at {tuple(menu[0])}, button's bottom-left at {corner}")
        self.assertLessEqual(abs(menu[0].y - corner[1]), POPUP_SLACK,
                             f"menu at {tuple(menu[0])}, button's bottom-left at {corner}")
        return menu[0]

    def wait_menu_closed(self):
        vx.wait_until(lambda: not self.popups(), EVENT_TIMEOUT, what="the menu to close")

    def dismiss_menus(self):
        if self.popups():
            self.xserver.xdotool("mouseup", 1)
            self.xserver.key("Escape")
            self.wait_menu_closed()

    def choose(self, menu, item):
        """Clicks the menu's first (0) or second (1) item."""
        self.xserver.click(menu.x + menu.width // 2, menu.y + menu.height * (2 * item + 1) // 4)

    @contextlib.contextmanager
    def menus_dismissed_on_failure(self):
        """So that one failing case leaves no open menu to the next."""
        try:
            yield
        except BaseException:
            self.dismiss_menus()
            raise

    # -- tests

    def test_a_click_fires_once_and_a_quick_second_click_is_a_second_click(self):
        # (what the mouse does, on which button, the title's event, how many of them)
        cases = [
            ("click", "CancelButton", "CancelButton clicked", 1),
            ("click", "FlatButton", "FlatButton clicked", 1),
            ("double click", "DefaultButton", "DefaultButton clicked", 2),
            ("click", "DisabledButton", None, 0),
        ]
        for action, button, event, count in cases:
            with self.subTest(action=action, button=button):
                self.xserver.move(*self.centre(button))
                if action == "click":
                    self.xserver.xdotool("click", 1)
                else:
                    self.xserver.xdotool("click", "--repeat", 2, "--delay", 60, 1)
                if event:
                    self.expect_event(event, count)
                else:
                    self.expect_no_event()
                self.rest_pointer()

    def test_menu_button_opens_its_menu_below_itself_and_never_clicks(self):
        # (how the button is pressed, what ends the menu, the title's event)
        cases = [
            ("held", "Escape", None),
            ("held", "SecondItem", "SecondItem chosen"),
            ("clicked", "FirstItem", "FirstItem chosen"),
            ("clicked", "Escape", None),
        ]
        for press, end, event in cases:
            with self.subTest(press=press, end=end), self.menus_dismissed_on_failure():
                self.xserver.move(*self.centre("MenuButton"))
                if press == "held":
                    self.xserver.xdotool("mousedown", 1)
                    menu = self.wait_menu_below("MenuButton")
                    self.expect_no_event()
                    self.xserver.xdotool("mouseup", 1)
                else:  # the release is already queued when the menu opens
                    self.xserver.xdotool("click", 1)
                    menu = self.wait_menu_below("MenuButton")
                if end == "Escape":
                    self.xserver.key("Escape")
                else:
                    self.choose(menu, ("FirstItem", "SecondItem").index(end))
                self.wait_menu_closed()
                if event:
                    self.expect_event(event)
                else:
                    self.expect_no_event()
                self.rest_pointer()
        # The count in the title says nothing happened unseen in between.
        self.xserver.click(*self.centre("CancelButton"))
        self.expect_event("CancelButton clicked")

    def test_hold_button_clicks_when_released_early_and_drops_its_menu_when_held(self):
        self.xserver.move(*self.centre("HoldButton"))
        pressed = time.monotonic()
        self.xserver.xdotool("click", 1)  # one command: released well before the delay
        self.expect_event("HoldButton clicked")
        time.sleep(max(0.0, pressed + HOLD_DELAY + 0.3 - time.monotonic()))
        self.assertEqual(self.popups(), [], "the menu opened after an early release")

        self.xserver.xdotool("mousedown", 1)
        pressed = time.monotonic()
        self.wait_menu_below("HoldButton")
        held = time.monotonic() - pressed
        self.assertGreaterEqual(held, HOLD_DELAY - 0.1, "the menu opened before the delay")
        self.expect_no_event()
        self.xserver.xdotool("mouseup", 1)
        self.xserver.key("Escape")
        self.wait_menu_closed()
        self.expect_no_event()
        self.xserver.click(*self.centre("CancelButton"))
        self.expect_event("CancelButton clicked")

    def test_enter_and_escape_click_the_default_and_the_cancel_button(self):
        # (where the focus is put, the key, the title's event). A focused cute button leaves
        # Enter to the default button; a focused platform push button takes it.
        cases = [
            ("IntegerEdit", "shift+Escape", None),
            ("IntegerEdit", "Return", "DefaultButton clicked"),
            ("IntegerEdit", "Escape", "CancelButton clicked"),
            ("CancelButton", "Return", "DefaultButton clicked"),
            ("GlyphButton", "Return", "GlyphButton clicked"),
        ]
        for focus, key, event in cases:
            with self.subTest(focus=focus, key=key):
                if focus == "IntegerEdit":
                    self.click_edit(INTEGER_EDIT)
                elif focus == "GlyphButton":  # a platform push button takes the focus
                    self.xserver.click(*self.centre(focus))
                    self.expect_event("GlyphButton clicked")
                else:  # by keyboard from the read-only edit, past DefaultButton
                    self.click_edit(READ_ONLY_EDIT)
                    self.xserver.key("Tab", "Tab")
                    _x, _y, w, h = BUTTONS[focus]
                    focused = bevel_look([(self.highlight, self.shadow)] * 2, self.face, w, h)
                    self.xserver.wait_region(self.rect(focus), focused, timeout=5)
                self.xserver.key(key)
                if event:
                    self.expect_event(event)
                else:
                    self.expect_no_event()

    def test_rest_focus_press_and_disabled_show_their_bevels(self):
        x, y = self.at(*BLANK)
        self.assertEqual(self.xserver.screenshot(vx.Rect(x, y, 1, 1)).pixel(0, 0), self.face,
                         "the form's background is not the system's button face")
        raised = (self.highlight, self.shadow)
        lowered = (self.shadow, self.highlight)
        _x, _y, w, h = BUTTONS["CancelButton"]
        rest = None

        def look(button, rings, face=self.face):
            self.xserver.wait_region(self.rect(button), bevel_look(rings, face, w, h), timeout=5)
            return self.xserver.screenshot(self.rect(button))

        with self.subTest(state="rest"):
            rest = look("CancelButton", [raised])
            self.assertGreater(len(ink(rest)), 20, "no caption at rest")
        with self.subTest(state="disabled"):
            shot = look("DisabledButton", [raised], DISABLED_FACE)
            light = caption_pixels(shot, self.highlight)
            dark = caption_pixels(shot, self.shadow)
            self.assertGreater(len(dark), 20, "no caption in the shadow colour")
            self.assertEqual(ink(shot), set(), "a disabled caption in the font colour")
            # Embossed: a highlight copy one pixel right of and below the shadow copy.
            stray = light - shifted(dark, 1, 1)
            self.assertFalse(stray, f"{len(stray)} highlight pixels not below-right of the "
                             f"shadow caption, e.g. {sorted(stray)[:3]}")
            missing = shifted(dark, 1, 1) - (light | dark)
            self.assertFalse(missing, f"{len(missing)} shadow pixels without a highlight copy "
                             f"below-right, e.g. {sorted(missing)[:3]}")
        with self.subTest(state="focused"):
            self.click_edit(READ_ONLY_EDIT)
            self.xserver.key("Tab")
            look("DefaultButton", [raised, raised])
        with self.subTest(state="pressed"):
            self.xserver.move(*self.centre("CancelButton"))
            self.xserver.xdotool("mousedown", 1)
            try:
                pressed = look("CancelButton", [lowered, raised])
                if rest is not None:
                    # The caption's rectangle loses two pixels at its top-left: centred, the
                    # caption moves one.
                    self.assertEqual(ink(pressed), shifted(ink(rest), 1, 1))
            finally:
                self.rest_pointer()  # released outside: no click
                self.xserver.xdotool("mouseup", 1)
            self.expect_no_event()


if __name__ == "__main__":
    unittest.main()
