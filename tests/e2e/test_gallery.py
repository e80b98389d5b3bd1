# SPDX-License-Identifier: MIT
"""The control gallery under Wine: the validated edits as a person types into them.

Run from the repository root: python3 -m unittest -v tests/e2e/test_gallery.py
It runs Gallery.exe beside Orvalen.exe in build/x86_64/app, or under VX_WINDOWS_BUILD_DIR.
"""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tour  # noqa: E402
import vxharness as vx  # noqa: E402

TITLE = "Vexelo Gallery"
# Client rectangles of the edits, from the gallery's form description.
INTEGER_EDIT = (200, 12, 200, 21)
MAIL_EDIT = (200, 84, 200, 21)
BORDER_EDIT = (200, 332, 200, 24)
LONG_BUTTON = (276, 292, 120, 22)
INK = 96  # a channel below this is text, not background


def ink_mask(shot):
    """The dark pixels of a text, as a set of (x, y): independent of the background colour."""
    return {(x, y) for y in range(shot.height) for x in range(shot.width)
            if max(shot.pixel(x, y)) < INK}


class GalleryEdits(tour.GallerySession):

    def setUp(self):
        self.app = vx.WineApp(self.prefix, self.xserver, self.exe, log_dir=self.out_dir())
        self.addCleanup(self.app.stop)
        self.app.start()
        self.win = self.app.wait_window(name=TITLE)
        self.client = self.app.geometry(self.win)

    def edit_rect(self, edit):
        x, y, w, h = edit
        # Inside the sunken border, where the text is.
        return vx.Rect(self.client.x + x + 2, self.client.y + y + 2, w - 4, h - 4)

    def click_edit(self, edit):
        r = self.edit_rect(edit)
        self.xserver.click(r.x + r.width - 10, r.y + r.height // 2)

    def clipboard(self):
        out = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.xserver.env(),
                             capture_output=True, timeout=10)
        return out.stdout.decode("utf-8", "replace")

    def copied_text(self):
        """The focused edit's whole text, as the clipboard gets it."""
        self.xserver.key("Home", "shift+End", "ctrl+c")
        text = None

        def copied():
            nonlocal text
            text = self.clipboard()
            return text != self.marker
        vx.wait_until(copied, what="the edit's text on the clipboard")
        self.set_clipboard(self.marker)
        return text

    def set_clipboard(self, text):
        self.marker = text
        subprocess.run(["xclip", "-i", "-selection", "clipboard", "-loops", "1"], input=text.encode(),
                       env=self.xserver.env(), timeout=10, start_new_session=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wait_ink(self, edit, what):
        rect = self.edit_rect(edit)
        mask = set()

        def drawn():
            nonlocal mask
            mask = ink_mask(self.xserver.screenshot(rect))
            return len(mask) > 20
        vx.wait_until(drawn, what=what)
        time.sleep(0.2)  # let a pending repaint land
        return ink_mask(self.xserver.screenshot(rect))

    def test_filter_drops_refused_keys_and_focus_changes_rewrite_the_integer(self):
        self.marker = None
        self.set_clipboard("-")
        self.click_edit(INTEGER_EDIT)
        self.xserver.xdotool("type", "--delay", "40", "12a34b,56 7")
        self.assertEqual(self.copied_text(), "1234567", "letters, the comma and the space dropped")

        # Leaving shows the grouped form. The reference is the same text pasted (pasting is not
        # filtered) into the mail edit, drawn by the same font once that edit is left too.
        self.xserver.key("Tab")
        grouped = self.wait_ink(INTEGER_EDIT, "the grouped integer")
        self.click_edit(MAIL_EDIT)
        self.set_clipboard("1,234,567")
        self.xserver.key("ctrl+v")
        self.xserver.key("shift+Tab", "shift+Tab")  # on to the real edit, then back to the integer
        self.assertEqual(self.copied_text(), "1234567", "entering shows the plain value")
        reference = self.wait_ink(MAIL_EDIT, "the pasted reference text")
        self.assertEqual(grouped, reference)
        self.app.close(self.win)
        self.assertEqual(self.app.wait_exit(), 0)

    def test_mail_edit_refuses_capitals_and_spaces(self):
        self.marker = None
        self.set_clipboard("-")
        self.click_edit(MAIL_EDIT)
        self.xserver.xdotool("type", "--delay", "40", "Ann.Lee @example.org")
        self.assertEqual(self.copied_text(), "nn.ee@example.org")
        self.app.close(self.win)
        self.assertEqual(self.app.wait_exit(), 0)

    def test_bordered_edit_edits_its_stored_text(self):
        self.marker = None
        self.set_clipboard("-")
        x, y, w, h = BORDER_EDIT
        self.xserver.click(self.client.x + x + w // 2, self.client.y + y + h // 2)
        self.assertEqual(self.copied_text(), "Hello", "the inner edit shows the stored text")
        self.xserver.key("End")
        self.xserver.xdotool("type", "--delay", "40", " world")
        self.xserver.key("Tab")
        self.xserver.click(self.client.x + x + w // 2, self.client.y + y + h // 2)
        self.assertEqual(self.copied_text(), "Hello world", "leaving kept the typed text")
        self.app.close(self.win)
        self.assertEqual(self.app.wait_exit(), 0)

    def test_long_press_is_reported(self):
        x, y, w, h = LONG_BUTTON
        self.xserver.move(self.client.x + x + w // 2, self.client.y + y + h // 2)
        self.xserver.xdotool("mousedown", 1)
        time.sleep(1.2)  # longer than the button's 800 ms
        self.xserver.xdotool("mouseup", 1)
        vx.wait_until(lambda: "LongButton long press" in self.title(),
                      what="the long press in the title")
        self.app.close(self.win)
        self.assertEqual(self.app.wait_exit(), 0)

    def title(self):
        out = self.xserver.xdotool("getwindowname", self.win).stdout
        return (out.decode() if isinstance(out, bytes) else out).strip()


if __name__ == "__main__":
    unittest.main()
