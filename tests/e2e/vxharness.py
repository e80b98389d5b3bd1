# SPDX-License-Identifier: MIT
"""End-to-end harness: Windows programs under wine64 on an X server the test starts itself.

One import for tests: the X side (vx_xserver), Wine (vx_wine), images (vx_image) and process
helpers (vx_process), plus E2ETestCase, which saves diagnostics when a test fails. Run as a
script it gives a shell (or a command) its own X server and Wine session.
"""

import contextlib
import functools
import os
import re
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from vx_image import (CONVERT, RegionCheck, Screenshot, compare_region,  # noqa: E402,F401
                      enlargement_bounds, make_pattern, read_image)
from vx_process import (DEFAULT_TIMEOUT, build_dir, output_dir,  # noqa: E402,F401
                        wait_until)
from vx_wine import (FONT_LINKS, FONT_REPLACEMENTS, WINE64, WINESERVER,  # noqa: E402,F401
                     WineApp, WinePrefix, font_replacements)
from vx_xserver import Rect, ShownImage, XServer  # noqa: E402,F401


class E2ETestCase(unittest.TestCase):
    """Base for end-to-end tests: a failing or erroring test method saves diagnostics of
    `self.xserver` (when set) into its output folder and says where."""

    xserver = None

    def __init_subclass__(cls, **kwargs):
        super().__init_subclass__(**kwargs)
        for name, member in list(vars(cls).items()):
            if name.startswith("test") and callable(member):
                setattr(cls, name, _with_diagnostics(member))

    def out_dir(self):
        return output_dir(self.id())

    @contextlib.contextmanager
    def subTest(self, *args, **params):
        # A failing subtest is caught inside unittest's own subTest, out of the wrapper's sight.
        with super().subTest(*args, **params):
            try:
                yield
            except unittest.SkipTest:
                raise
            except BaseException:
                self._save_diagnostics(" ".join(f"{k}={v}" for k, v in params.items()))
                raise

    def _save_diagnostics(self, detail=""):
        if self.xserver is not None and self.xserver.display:
            label = f"{self.id()} {detail}".strip()
            folder = self.out_dir()
            if detail:
                folder = os.path.join(folder, re.sub(r"[^\w.-]+", "_", detail))
                os.makedirs(folder, exist_ok=True)
            self.xserver.save_diagnostics(label, folder)


def _with_diagnostics(method):
    @functools.wraps(method)
    def wrapper(self, *args, **kwargs):
        try:
            return method(self, *args, **kwargs)
        except unittest.SkipTest:
            raise
        except BaseException:
            self._save_diagnostics()
            raise

    return wrapper


def _main(argv):
    import argparse

    parser = argparse.ArgumentParser(
        description="Runs a command (default: a shell) with an X server and a Wine session of "
        "its own; DISPLAY, WINEPREFIX and WINE (the wine64 loader) are set for it. Everything "
        "is stopped when the command ends.")
    parser.add_argument("--openbox", action="store_true", help="run the openbox window manager")
    parser.add_argument("--dual", action="store_true",
                        help="Xorg dummy: a 1024x768 monitor left of the 1280x800 primary")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args(argv)
    try:
        xserver = (XServer.dual_monitor(args.openbox) if args.dual
                   else XServer(window_manager=args.openbox))
        prefix = WinePrefix()
    except unittest.SkipTest as why:
        print(f"cannot start: {why}", file=sys.stderr)
        return 2
    with xserver, prefix:
        prefix.start(xserver)
        print(f"DISPLAY={xserver.display} WINEPREFIX={prefix.path}", file=sys.stderr,
              flush=True)
        command = args.command or [os.environ.get("SHELL") or "bash"]
        return subprocess.call(command, env=prefix.env(xserver, {"WINE": WINE64}))


if __name__ == "__main__":
    sys.exit(_main(sys.argv[1:]))
