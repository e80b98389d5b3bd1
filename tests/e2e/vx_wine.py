# SPDX-License-Identifier: MIT
"""Wine for the end-to-end harness: a cached 64-bit prefix with Japanese fonts, its sessions,
and the Windows programs run in them.

Wine is stopped by `wineserver -k` with the prefix's own WINEPREFIX, then by a scan for
leftovers that carry exactly that WINEPREFIX in their environment: nothing else is touched.
"""

import contextlib
import fcntl
import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

from vx_process import (DEFAULT_TIMEOUT, build_dir, output_dir, register, run, spawn,
                        stop_group, unregister, wait_until)

WINE_DLL_OVERRIDES = "mscoree,mshtml=,winemenubuilder.exe=d"


def _tool(name, *fallbacks):
    found = shutil.which(name)
    if found:
        return found
    for path in fallbacks:
        if os.access(path, os.X_OK):
            return path
    return None


WINE64 = _tool("wine64", "/usr/lib/wine/wine64")
WINESERVER = _tool("wineserver", "/usr/lib/wine/wineserver")


# Japanese UI faces of Windows mapped to what fonts-ipafont provides (fc-list: IPAGothic,
# IPAPGothic, IPAMincho, IPAPMincho). "P" faces are proportional, like their MS counterparts.
FONT_REPLACEMENTS = {
    "MS UI Gothic": "IPAPGothic",
    "ＭＳ Ｐゴシック": "IPAPGothic",
    "MS PGothic": "IPAPGothic",
    "ＭＳ ゴシック": "IPAGothic",
    "MS Gothic": "IPAGothic",
    "ＭＳ 明朝": "IPAMincho",
    "MS Mincho": "IPAMincho",
    "ＭＳ Ｐ明朝": "IPAPMincho",
    "MS PMincho": "IPAPMincho",
}
# Tahoma is Wine's UI font (menus, captions) and the forms' font. Where no Tahoma is installed
# (Debian's wine comes without fonts-wine) it is replaced as well, so that Latin and Japanese
# text in menus come from one font.
TAHOMA_FALLBACK = "IPAPGothic"
# Latin faces that Windows falls back from to a Japanese font through font linking. Wine links
# only its own UI faces (Tahoma, Microsoft Sans Serif ... -> "MS UI Gothic", replaced above), so
# an "Arial" label with Japanese text would otherwise show boxes.
FONT_LINKS = {
    "Arial": "ipagp.ttf,IPAPGothic",
    "Times New Roman": "ipamp.ttf,IPAPMincho",
    "Courier New": "ipag.ttf,IPAGothic",
}


def _font_available(family):
    out = subprocess.run(["fc-list", f":family={family}", "family"], capture_output=True)
    return bool(out.stdout.strip())


def font_replacements():
    replacements = dict(FONT_REPLACEMENTS)
    wine_fonts = "/usr/share/wine/fonts"
    has_wine_tahoma = os.path.isdir(wine_fonts) and any(
        n.lower().startswith("tahoma") for n in os.listdir(wine_fonts))
    if not has_wine_tahoma and not _font_available("Tahoma"):
        replacements["Tahoma"] = TAHOMA_FALLBACK
    return replacements


def _reg_file(replacements, links):
    lines = ["Windows Registry Editor Version 5.00", "",
             r"[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]"]
    lines += [f'"{face}"="{target}"' for face, target in sorted(replacements.items())]
    lines += ["", "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion"
              "\\FontLink\\SystemLink]"]
    for face, target in sorted(links.items()):
        multi_sz = (target + "\0\0").encode("utf-16-le")
        lines.append(f'"{face}"=hex(7):' + ",".join(f"{b:02x}" for b in multi_sz))
    return ("\r\n".join(lines) + "\r\n").encode("utf-16")


class WinePrefix:
    """A 64-bit Wine prefix kept in a cache folder and created once.

    ensure() creates it when missing or incomplete; start(xserver) starts a persistent
    wineserver bound to that X server (one session per prefix at a time: a lock file makes a
    second session wait); stop() ends that server and every process of this prefix.
    """

    MARKER = ".vx-prefix-complete"

    def __init__(self, path=None):
        self.path = os.path.abspath(
            path or os.environ.get("VX_WINEPREFIX") or os.path.join(build_dir(), "wineprefix"))
        self.created_seconds = None  # set when ensure() had to create the prefix
        self.xserver = None
        self._session_lock = None
        if WINE64 is None or WINESERVER is None:
            raise unittest.SkipTest("wine64 is not installed")

    def env(self, xserver=None, extra=None):
        env = dict(os.environ)
        env.update({"WINEPREFIX": self.path, "WINEDEBUG": "-all",
                    "WINEDLLOVERRIDES": WINE_DLL_OVERRIDES})
        env.pop("WINEARCH", None)
        env.pop("WINESERVER", None)
        xserver = xserver or self.xserver
        if xserver is not None:
            env["DISPLAY"] = xserver.display
        else:
            env.pop("DISPLAY", None)
        if extra:
            env.update(extra)
        return env

    def _marker_text(self):
        return repr((sorted(font_replacements().items()), sorted(FONT_LINKS.items())))

    def is_complete(self):
        try:
            with open(os.path.join(self.path, self.MARKER), encoding="utf-8") as f:
                marker = f.read()
        except OSError:
            return False
        return marker == self._marker_text() and os.path.exists(
            os.path.join(self.path, "system.reg"))

    @contextlib.contextmanager
    def _lock(self, name, timeout):
        os.makedirs(os.path.dirname(self.path), exist_ok=True)
        fd = os.open(self.path + name, os.O_CREAT | os.O_RDWR, 0o644)
        try:
            wait_until(lambda: try_flock(fd), timeout, 0.2, what=f"lock {self.path}{name}")
            yield fd
        finally:
            os.close(fd)

    def ensure(self):
        if self.is_complete():
            return self
        with self._lock(".session-lock", 600):  # never while a session runs on it
            if self.is_complete():  # another process made it while we waited
                return self
            started = time.monotonic()
            env = self.env()
            if not os.path.exists(os.path.join(self.path, "system.reg")):
                shutil.rmtree(self.path, ignore_errors=True)  # a half-made prefix
                run([WINE64, "wineboot", "-i"], env=env, timeout=300, capture=False)
            with tempfile.NamedTemporaryFile(suffix=".reg", delete=False) as reg:
                reg.write(_reg_file(font_replacements(), FONT_LINKS))
            try:
                run([WINE64, "regedit", "/S", reg.name], env=env, timeout=120, capture=False)
            finally:
                os.unlink(reg.name)
            # Waits until the server has flushed the registry and every process has ended.
            run([WINESERVER, "-w"], env=env, timeout=120, capture=False)
            with open(os.path.join(self.path, self.MARKER), "w", encoding="utf-8") as f:
                f.write(self._marker_text())
            self.created_seconds = time.monotonic() - started
        return self

    def start(self, xserver, lock_timeout=600):
        """Starts `wineserver -p` and one wineboot on xserver's display, so that the services
        are up before the first program and never hold a program's output pipes."""
        self.ensure()
        self._session_lock = os.open(self.path + ".session-lock", os.O_CREAT | os.O_RDWR, 0o644)
        try:
            wait_until(lambda: try_flock(self._session_lock), lock_timeout, 0.5,
                       what=f"the Wine prefix {self.path} to be free")
        except BaseException:
            os.close(self._session_lock)
            self._session_lock = None
            raise
        register(self)
        # Holding the lock, whatever still runs on this prefix was left by a runner that died:
        # its server would still talk to that runner's X display.
        self._end_processes()
        self.xserver = xserver
        try:
            env = self.env(xserver)
            # Persistent for a while after the last program: should this runner die without
            # stopping it, the server and Wine's services still go away by themselves.
            run([WINESERVER, "-p120"], env=env, capture=False)
            run([WINE64, "wineboot"], env=env, timeout=120, capture=False)
        except BaseException:
            self.stop()
            raise
        return self

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def _our_processes(self):
        """Pids of processes whose environment carries exactly this WINEPREFIX."""
        needle = b"\0WINEPREFIX=" + os.fsencode(self.path) + b"\0"
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit() or int(entry) == os.getpid():
                continue
            try:
                with open(f"/proc/{entry}/environ", "rb") as f:
                    environ = b"\0" + f.read()
            except OSError:
                continue
            if needle in environ:
                found.append(int(entry))
        return found

    def _end_processes(self):
        with contextlib.suppress(Exception):
            run([WINESERVER, "-k"], env=self.env(), timeout=30, check=False, capture=False)
        try:
            wait_until(lambda: not self._our_processes(), 10, 0.1, what="Wine to end")
        except TimeoutError:
            for pid in self._our_processes():
                with contextlib.suppress(ProcessLookupError):
                    os.kill(pid, signal.SIGKILL)

    def stop(self):
        unregister(self)
        if self._session_lock is not None:
            self._end_processes()
            self.xserver = None
            os.close(self._session_lock)
            self._session_lock = None

    def launch(self, exe, args=(), env=None, xserver=None, log_dir=None):
        return WineApp(self, xserver or self.xserver, exe, args, env, log_dir).start()


def try_flock(fd):
    try:
        fcntl.flock(fd, fcntl.LOCK_EX | fcntl.LOCK_NB)
        return True
    except BlockingIOError:
        return False


class WineApp:
    """One Windows program run by wine64. Its exit code is wine64's exit code."""

    def __init__(self, prefix, xserver, exe, args=(), env=None, log_dir=None):
        self.prefix, self.x = prefix, xserver
        self.exe, self.args = os.path.abspath(exe), [str(a) for a in args]
        self.extra_env = env or {}
        self.log_path = os.path.join(log_dir or output_dir("apps"),
                                     os.path.basename(exe) + f"-{os.getpid()}-{id(self)}.log")
        self.proc = None
        self.launched_at = None

    def start(self):
        with open(self.log_path, "wb") as log:
            # The Wine loader must outlive nothing of ours: no death signal, Wine tears its
            # own processes down through the wineserver.
            self.proc = spawn([WINE64, self.exe, *self.args],
                               env=self.prefix.env(self.x, self.extra_env), stdout=log,
                               stderr=subprocess.STDOUT, cwd=os.path.dirname(self.exe),
                               die_with_parent=False)
        self.launched_at = time.monotonic()
        register(self)
        return self

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    @property
    def output(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def windows(self, name=None, cls=None, visible=True):
        """Our process's X windows (by _NET_WM_PID: Wine sets it to the wine64 process id)."""
        return self.x.search(name=name, cls=cls, pid=self.proc.pid, visible=visible)

    def wait_window(self, name=None, cls=None, timeout=DEFAULT_TIMEOUT):
        """Waits until a mapped window of ours with that exact title (or class) exists."""
        found = wait_until(lambda: self._alive_or_raise() and self.windows(name, cls), timeout,
                           what=f"window {name or cls!r} of {os.path.basename(self.exe)}")
        return found[0]

    def wait_popup(self, near=None, timeout=DEFAULT_TIMEOUT, exclude=()):
        """Waits for a new mapped override-redirect window (a menu, a tooltip) and returns it.
        With near=(x, y), only one whose rectangle starts within 40 pixels of that point."""

        def popups():
            for win, _name in reversed(self.x.top_level_windows()):
                if win in exclude:
                    continue
                info = self.x.window_info(win)
                if not info["override_redirect"] or info["width"] <= 1:
                    continue
                if near and (abs(info["x"] - near[0]) > 40 or abs(info["y"] - near[1]) > 40):
                    continue
                return win
            return None

        return wait_until(popups, timeout, what="a popup window")

    def _alive_or_raise(self):
        if self.proc.poll() is not None:
            raise AssertionError(f"{os.path.basename(self.exe)} exited with "
                                 f"{self.proc.returncode}; log: {self.log_path}")
        return True

    def geometry(self, win):
        return self.x.geometry(win)

    def click(self, x, y, button=1):
        self.x.click(x, y, button)

    def right_click(self, x, y):
        self.x.right_click(x, y)

    def drag(self, x1, y1, x2, y2, steps=10, button=1):
        self.x.drag(x1, y1, x2, y2, steps, button)

    def key(self, win, *keys):
        self.x.key(*keys, win=win)

    def close(self, win, method="delete"):
        """Asks a top-level window to close: "delete" sends WM_DELETE_WINDOW as a window manager
        would (Wine turns it into SC_CLOSE, then WM_CLOSE); "alt+F4" focuses and types it."""
        if method == "delete":
            self.x.send_delete(win)
        else:
            self.x.key("alt+F4", win=win)

    def wait_exit(self, timeout=DEFAULT_TIMEOUT):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError(f"{os.path.basename(self.exe)} still running after "
                               f"{timeout:.1f} s") from None

    def stop(self):
        unregister(self)
        if self.proc is not None and self.proc.poll() is None:
            stop_group(self.proc, grace=1.0)
