# SPDX-License-Identifier: MIT
"""End-to-end harness: Windows programs under wine64 on an X server the test starts itself.

Coordinates are X root-window coordinates everywhere (what xdotool, xwininfo and import use).
On a single Xvfb screen they equal Windows screen coordinates; with a monitor left of the
primary they are shifted by `XServer.primary_origin` (see `XServer.to_x` / `XServer.to_windows`).

Only processes this module started are ever stopped: X servers, window managers and `display`
by their own process groups, Wine by `wineserver -k` with the prefix's own WINEPREFIX and then
by a scan for leftovers that carry that exact WINEPREFIX in their environment.
"""

import atexit
import contextlib
import ctypes
import fcntl
import functools
import os
import re
import select
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
import unittest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# ImageMagick is called by absolute path: a stand-in `convert` may come first on PATH.
IMPORT = "/usr/bin/import"
CONVERT = "/usr/bin/convert"
DISPLAY_IMAGE = "/usr/bin/display"
DUMMY_DRIVER = "/usr/lib/xorg/modules/drivers/dummy_drv.so"
WINE_DLL_OVERRIDES = "mscoree,mshtml=,winemenubuilder.exe=d"

DEFAULT_TIMEOUT = float(os.environ.get("VX_E2E_TIMEOUT", "30"))


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


def build_dir():
    """Where caches (the Wine prefix, compiled fixtures) live: VX_BUILD_DIR or build-e2e/."""
    path = os.environ.get("VX_BUILD_DIR") or os.path.join(REPO, "build-e2e")
    os.makedirs(path, exist_ok=True)
    return path


_out_root = None
_out_is_temp = False
_keep_out = False


def output_dir(label="run"):
    """A folder for screenshots and logs of one test, under VX_E2E_OUT; without it, under a
    temp folder that is removed at exit unless a failure saved diagnostics there."""
    global _out_root, _out_is_temp
    if _out_root is None:
        base = os.environ.get("VX_E2E_OUT")
        if base:
            os.makedirs(base, exist_ok=True)
            _out_root = os.path.abspath(base)
        else:
            _out_root = tempfile.mkdtemp(prefix="vx-e2e-")
            _out_is_temp = True
    path = os.path.join(_out_root, re.sub(r"[^\w.-]+", "_", label))
    os.makedirs(path, exist_ok=True)
    return path


def _drop_temp_output():
    if _out_is_temp and not _keep_out:
        shutil.rmtree(_out_root, ignore_errors=True)


def wait_until(predicate, timeout=DEFAULT_TIMEOUT, interval=0.05, what=None):
    """Polls until predicate() is truthy and returns that value; TimeoutError at the deadline.

    The predicate always runs once more at the deadline, so a slow machine that was
    descheduled for the whole period still gets one fair look.
    """
    deadline = time.monotonic() + timeout
    while True:
        last = time.monotonic() >= deadline
        value = predicate()
        if value:
            return value
        if last:
            raise TimeoutError(f"timed out after {timeout:.1f} s waiting for {what or predicate}")
        time.sleep(min(interval, max(0.0, deadline - time.monotonic())))


# ---------------------------------------------------------------------------------------------
# Process bookkeeping


_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_parent():
    # Runs in the child between fork and exec: if the test runner is killed outright, the kernel
    # still takes the X server and its helpers down with it.
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM, 0, 0, 0)


def _spawn(argv, env=None, stdout=None, stderr=None, pass_fds=(), die_with_parent=True, cwd=None):
    """Starts argv in a process group of its own so that stopping it takes its children too."""
    return subprocess.Popen(
        argv,
        env=env,
        cwd=cwd,
        stdin=subprocess.DEVNULL,
        stdout=stdout if stdout is not None else subprocess.DEVNULL,
        stderr=stderr if stderr is not None else subprocess.DEVNULL,
        pass_fds=pass_fds,
        start_new_session=True,
        preexec_fn=_die_with_parent if die_with_parent else None,
    )


def _stop_group(proc, grace=3.0):
    """Ends a process started by _spawn and its process group: SIGTERM, then SIGKILL."""
    if proc is None:
        return
    for sig, wait in ((signal.SIGTERM, grace), (signal.SIGKILL, 5.0)):
        if proc.poll() is not None:
            break
        with contextlib.suppress(ProcessLookupError, PermissionError):
            os.killpg(proc.pid, sig)
        with contextlib.suppress(subprocess.TimeoutExpired):
            proc.wait(wait)
    # The leader may be gone while children it left behind still sit in the group.
    with contextlib.suppress(ProcessLookupError, PermissionError):
        os.killpg(proc.pid, signal.SIGKILL)
    with contextlib.suppress(subprocess.TimeoutExpired):
        proc.wait(1.0)


_live = []  # objects with stop(), most recent last


def _register(obj):
    _live.append(obj)


def _unregister(obj):
    with contextlib.suppress(ValueError):
        _live.remove(obj)


@atexit.register
def _stop_everything():
    while _live:
        obj = _live.pop()
        with contextlib.suppress(Exception):
            obj.stop()
    _drop_temp_output()


def _sigterm(signum, frame):
    raise SystemExit(128 + signum)  # so that atexit handlers run


if signal.getsignal(signal.SIGTERM) is signal.SIG_DFL:
    signal.signal(signal.SIGTERM, _sigterm)


def _run(argv, env=None, timeout=30, check=True, input=None, capture=True):
    """Runs a short command. capture=False for commands that leave daemons behind (wineserver,
    wineboot): those inherit our pipes and would keep them open long after the command ends."""
    if capture:
        result = subprocess.run(argv, env=env, input=input, capture_output=True, timeout=timeout)
    else:
        result = subprocess.run(argv, env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                timeout=timeout)
    if check and result.returncode != 0:
        raise RuntimeError(
            f"{' '.join(argv)} failed with {result.returncode}: "
            f"{(result.stderr or b'').decode(errors='replace').strip()}"
        )
    return result


# ---------------------------------------------------------------------------------------------
# Images


class Screenshot:
    """RGB pixels of a screen region. pixel() takes coordinates relative to the region;
    `left` and `top` say where the region lies on the root window."""

    def __init__(self, width, height, data, left=0, top=0):
        self.width, self.height, self.data = width, height, data
        self.left, self.top = left, top

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"pixel ({x}, {y}) outside {self.width}x{self.height}")
        i = (y * self.width + x) * 3
        return tuple(self.data[i : i + 3])

    def screen_pixel(self, x, y):
        return self.pixel(x - self.left, y - self.top)

    def crop(self, x, y, w, h):
        rows = [self.data[((y + r) * self.width + x) * 3 : ((y + r) * self.width + x + w) * 3]
                for r in range(h)]
        return Screenshot(w, h, b"".join(rows), self.left + x, self.top + y)

    def save(self, path):
        """Writes a PNG (or a PPM when the path ends in .ppm)."""
        ppm = b"P6\n%d %d\n255\n" % (self.width, self.height) + bytes(self.data)
        if path.endswith(".ppm"):
            with open(path, "wb") as f:
                f.write(ppm)
        else:
            _run([CONVERT, "ppm:-", path], input=ppm)
        return path


def _parse_ppm(blob, left=0, top=0):
    fields, pos = [], 0
    while len(fields) < 4:
        while blob[pos : pos + 1].isspace():
            pos += 1
        if blob[pos : pos + 1] == b"#":
            pos = blob.index(b"\n", pos) + 1
            continue
        end = pos
        while not blob[end : end + 1].isspace():
            end += 1
        fields.append(blob[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError(f"unexpected image header {fields}")
    width, height = int(fields[1]), int(fields[2])
    data = blob[pos + 1 : pos + 1 + width * height * 3]
    if len(data) != width * height * 3:
        raise ValueError("truncated image")
    return Screenshot(width, height, data, left, top)


def read_image(path):
    """Loads any image ImageMagick reads into a Screenshot (8-bit RGB)."""
    blob = _run([CONVERT, path, "-alpha", "off", "-depth", "8", "ppm:-"]).stdout
    return _parse_ppm(blob)


def make_pattern(path, width, height, fn):
    """Writes an image whose pixel (x, y) is fn(x, y) = (r, g, b); PNG unless path ends .ppm.
    Returns the pixels as a Screenshot so a test can compare against them directly."""
    data = bytearray(width * height * 3)
    i = 0
    for y in range(height):
        for x in range(width):
            data[i : i + 3] = bytes(fn(x, y))
            i += 3
    shot = Screenshot(width, height, bytes(data))
    shot.save(path)
    return shot


class RegionCheck:
    """Result of comparing a region with expected colours: ok, the number of bad pixels and the
    worst one (largest channel difference), with its position relative to the region."""

    def __init__(self, rect, tolerance):
        self.rect, self.tolerance = rect, tolerance
        self.bad = 0
        self.worst = None  # (difference, x, y, actual, expected)

    @property
    def ok(self):
        return self.bad == 0

    def __str__(self):
        x, y, w, h = self.rect
        if self.ok:
            return f"region {w}x{h}+{x}+{y} matches within {self.tolerance}"
        diff, px, py, actual, expected = self.worst
        return (f"region {w}x{h}+{x}+{y}: {self.bad} pixels off by more than {self.tolerance}; "
                f"worst at ({px}, {py}) [screen ({x + px}, {y + py})]: got {actual}, "
                f"expected {expected} (difference {diff})")


def compare_region(shot, rect, expected, tolerance=0):
    """Compares rect = (x, y, w, h), in shot coordinates, with expected: an (r, g, b) tuple, a
    function (x, y) -> (r, g, b) of region-relative coordinates, or a Screenshot of size w x h."""
    x0, y0, w, h = rect
    check = RegionCheck((x0 + shot.left, y0 + shot.top, w, h), tolerance)
    if isinstance(expected, tuple):
        colour = expected
        expected = lambda x, y: colour  # noqa: E731
    elif isinstance(expected, Screenshot):
        expected = expected.pixel
    worst = -1
    for y in range(h):
        for x in range(w):
            actual = shot.pixel(x0 + x, y0 + y)
            want = tuple(expected(x, y))
            diff = max(abs(a - b) for a, b in zip(actual, want))
            if diff > tolerance:
                check.bad += 1
            if diff > worst:
                worst = diff
                check.worst = (diff, x, y, actual, want)
    return check


# ---------------------------------------------------------------------------------------------
# X servers


class Rect(tuple):
    """(x, y, width, height) with names."""

    def __new__(cls, x, y, width, height):
        return super().__new__(cls, (x, y, width, height))

    x = property(lambda self: self[0])
    y = property(lambda self: self[1])
    width = property(lambda self: self[2])
    height = property(lambda self: self[3])


_XORG_CONF = """\
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "DontVTSwitch" "true"
    Option "AllowMouseOpenFail" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 4096 2048
    EndSubSection
EndSection
"""

# The secondary 1024x768 monitor lies left of the 1280x800 primary.
_DUAL_LAYOUT = [
    ["--newmode", "1280x800_60", "83.50", "1280", "1352", "1480", "1680", "800", "803", "809",
     "831", "-hsync", "+vsync"],
    ["--newmode", "1024x768_60", "65.00", "1024", "1048", "1184", "1344", "768", "771", "777",
     "806", "-hsync", "-vsync"],
    ["--addmode", "DUMMY0", "1280x800_60"],
    ["--addmode", "DUMMY1", "1024x768_60"],
    ["--output", "DUMMY0", "--mode", "1280x800_60", "--primary",
     "--output", "DUMMY1", "--mode", "1024x768_60", "--left-of", "DUMMY0"],
]


OPENBOX_RC = "/etc/xdg/openbox/rc.xml"
_OPENBOX_PATTERN_RULE = """
<application class="Display" title="vx-pattern-*">
  <decor>no</decor>
  <focus>no</focus>
</application>
"""


class XServer:
    """An X server of our own on a free display number, optionally with openbox.

    Use as a context manager; stop() is also registered with atexit. `display` is ":N".
    """

    def __init__(self, width=1280, height=1024, depth=24, window_manager=False, out_dir=None):
        self.width, self.height, self.depth = width, height, depth
        self.window_manager = window_manager
        self.out_dir = out_dir
        self.display = None
        self.primary_origin = (0, 0)
        self.start_seconds = None
        self.last_screenshot = None
        self._kind = "xvfb"
        self._server = None
        self._wm = None
        self._shown = []
        self._tmp = None

    @classmethod
    def dual_monitor(cls, window_manager=False, out_dir=None):
        """Xorg with the dummy driver: a 1024x768 monitor left of the 1280x800 primary.
        Raises unittest.SkipTest where Xorg, the dummy driver or root rights are missing."""
        if not shutil.which("Xorg") or not os.path.exists(DUMMY_DRIVER):
            raise unittest.SkipTest("Xorg with the dummy video driver is not installed")
        if os.geteuid() != 0:
            raise unittest.SkipTest("Xorg with the dummy driver needs root here")
        server = cls(window_manager=window_manager, out_dir=out_dir)
        server._kind = "xorg-dummy"
        return server

    # -- life cycle

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def env(self, extra=None):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env.pop("WAYLAND_DISPLAY", None)
        if extra:
            env.update(extra)
        return env

    def start(self):
        self._tmp = tempfile.mkdtemp(prefix="vx-x-")
        _register(self)
        started = time.monotonic()
        try:
            if self._kind == "xvfb":
                self._start_server(["Xvfb", "-screen", "0",
                                    f"{self.width}x{self.height}x{self.depth}"])
            else:
                self._start_xorg()
            if self.window_manager:
                self._start_openbox()
        except BaseException:
            self.stop()
            raise
        self.start_seconds = time.monotonic() - started
        return self

    def _start_server(self, argv):
        read_fd, write_fd = os.pipe()
        log = open(os.path.join(self._tmp, "server.log"), "wb")
        try:
            # -displayfd lets the server pick a free display number and tell us which.
            # -br: a black root, so screenshots are deterministic; -noreset: the screen survives
            # the moments when no client is connected.
            self._server = _spawn(
                argv + ["-displayfd", str(write_fd), "-nolisten", "tcp", "-noreset", "-br"],
                stdout=log, stderr=log, pass_fds=(write_fd,))
        finally:
            os.close(write_fd)
            log.close()
        number = b""
        try:
            deadline = time.monotonic() + DEFAULT_TIMEOUT
            while not number.endswith(b"\n"):
                remaining = deadline - time.monotonic()
                if remaining <= 0 or not select.select([read_fd], [], [], remaining)[0]:
                    break
                chunk = os.read(read_fd, 16)
                if not chunk:  # the server died before it was ready
                    break
                number += chunk
        finally:
            os.close(read_fd)
        if not number.strip().isdigit():
            with open(os.path.join(self._tmp, "server.log"), errors="replace") as f:
                raise RuntimeError(f"X server did not start: {f.read()[-2000:]}")
        self.display = ":" + number.decode().strip()

    def _start_xorg(self):
        conf = os.path.join(self._tmp, "xorg.conf")
        with open(conf, "w") as f:
            f.write(_XORG_CONF)
        # No input devices are configured: xdotool's input goes through XTEST all the same.
        self._start_server(["Xorg", "-config", conf,
                            "-logfile", os.path.join(self._tmp, "Xorg.log"),
                            "-novtswitch", "-sharevts"])
        for args in _DUAL_LAYOUT:
            _run(["xrandr", *args], env=self.env())
        wait_until(lambda: len(self.monitors()) == 2, 10, what="both dummy monitors")
        primary = [m for m in self.monitors() if m[4]]
        self.primary_origin = (primary[0][0], primary[0][1]) if primary else (0, 0)

    def _start_openbox(self):
        # Openbox reads and writes under the XDG folders: keep it out of $HOME.
        config = os.path.join(self._tmp, "config")
        os.makedirs(os.path.join(config, "openbox"))
        with open(OPENBOX_RC, encoding="utf-8") as f:
            rc = f.read()
        # Test images shown by `display` get no frame (no decoration, and no border on windows
        # without decoration), so they land exactly at -geometry as they do without a window
        # manager; the rest of the stock configuration (alt+F4 ...) stays as it is.
        rc = rc.replace("<applications>", "<applications>" + _OPENBOX_PATTERN_RULE, 1)
        rc = rc.replace("<keepBorder>yes</keepBorder>", "<keepBorder>no</keepBorder>")
        with open(os.path.join(config, "openbox", "rc.xml"), "w", encoding="utf-8") as f:
            f.write(rc)
        env = self.env({"XDG_CONFIG_HOME": config,
                        "XDG_CACHE_HOME": os.path.join(self._tmp, "cache"),
                        "XDG_DATA_HOME": os.path.join(self._tmp, "data")})
        log = open(os.path.join(self._tmp, "openbox.log"), "wb")
        try:
            self._wm = _spawn(["openbox", "--sm-disable"], env=env, stdout=log, stderr=log)
        finally:
            log.close()
        wait_until(lambda: b"window id" in _run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env(), check=False).stdout,
            10, what="openbox to take over")

    def stop(self):
        _unregister(self)
        for shown in list(self._shown):
            shown.close()
        _stop_group(self._wm)
        _stop_group(self._server)
        self._wm = self._server = None
        if self._tmp:
            if self.out_dir:  # keep the server's own logs next to the test's other output
                for name in ("server.log", "Xorg.log", "openbox.log"):
                    with contextlib.suppress(OSError):
                        shutil.copy(os.path.join(self._tmp, name), self.out_dir)
            shutil.rmtree(self._tmp, ignore_errors=True)
            self._tmp = None

    # -- queries

    def monitors(self):
        """[(x, y, width, height, primary)] of the connected, active outputs (root coordinates)."""
        out = _run(["xrandr", "--query"], env=self.env()).stdout.decode()
        found = []
        for m in re.finditer(r"^\S+ connected (primary )?(\d+)x(\d+)\+(\d+)\+(\d+)", out, re.M):
            w, h, x, y = map(int, m.group(2, 3, 4, 5))
            found.append((x, y, w, h, bool(m.group(1))))
        return found

    def to_x(self, x, y):
        """Windows screen coordinates -> X root coordinates."""
        return x + self.primary_origin[0], y + self.primary_origin[1]

    def to_windows(self, x, y):
        return x - self.primary_origin[0], y - self.primary_origin[1]

    def xdotool(self, *args, check=True):
        return _run(["xdotool", *map(str, args)], env=self.env(), check=check)

    def tree(self):
        return _run(["xwininfo", "-root", "-tree"], env=self.env()).stdout.decode(errors="replace")

    def window_info(self, win):
        """Parsed `xwininfo -id`: absolute position, size, map state, override-redirect."""
        out = _run(["xwininfo", "-id", str(win)], env=self.env()).stdout.decode(errors="replace")

        def field(name):
            return re.search(rf"^\s*{name}:\s*(.+)$", out, re.M).group(1).strip()

        return {
            "x": int(field("Absolute upper-left X")),
            "y": int(field("Absolute upper-left Y")),
            "width": int(field("Width")),
            "height": int(field("Height")),
            "border": int(field("Border width")),
            "viewable": field("Map State") == "IsViewable",
            "override_redirect": field("Override Redirect State") == "yes",
        }

    def geometry(self, win):
        """Rect of the X window on the root window. For a Wine top-level this is its client area
        (measured: see README): without a window manager Wine leaves the non-client frame out
        of the X window and draws none; with openbox, openbox draws its frame around it."""
        info = self.window_info(win)
        return Rect(info["x"], info["y"], info["width"], info["height"])

    def top_level_windows(self):
        """[(id, name)] of the root's direct children that are mapped, in stacking order
        (bottom first)."""
        out = _run(["xwininfo", "-root", "-children"], env=self.env()).stdout.decode(
            errors="replace")
        found = []
        for m in re.finditer(r"^\s+(0x[0-9a-f]+) (.*?):", out, re.M):
            found.append((int(m.group(1), 16), m.group(2)))
        found.reverse()  # xwininfo lists the top of the stack first
        return [w for w in found if self.viewable(w[0])]

    def viewable(self, win):
        """Whether the window exists and is mapped (with all its ancestors)."""
        out = _run(["xwininfo", "-id", str(win)], env=self.env(), check=False).stdout
        return b"IsViewable" in out

    def search(self, name=None, cls=None, pid=None, visible=True):
        """Window ids matching an exact name/class (and owner pid), via xdotool search."""
        args = ["search"]
        if visible:
            args.append("--onlyvisible")
        if pid is not None:
            args += ["--pid", pid]
        if name is not None:
            args += ["--name", "^" + _ere_escape(name) + "$"]
        elif cls is not None:
            args += ["--class", "^" + _ere_escape(cls) + "$"]
        out = self.xdotool(*args, check=False).stdout.decode()
        return [int(w) for w in out.split()]

    # -- input (root coordinates)

    def pointer(self):
        out = self.xdotool("getmouselocation", "--shell").stdout.decode()
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"])

    def move(self, x, y):
        # Not `mousemove --sync`: it never returns when the pointer is already there.
        self.xdotool("mousemove", x, y)
        wait_until(lambda: self.pointer() == (x, y), 10, 0.01, what=f"the pointer at {x}, {y}")

    def click(self, x, y, button=1):
        self.move(x, y)
        self.xdotool("click", button)

    def right_click(self, x, y):
        self.click(x, y, 3)

    def drag(self, x1, y1, x2, y2, steps=10, button=1, step_delay=0.02):
        """Press at (x1, y1), move in `steps` straight steps, release at (x2, y2)."""
        self.move(x1, y1)
        self.xdotool("mousedown", button)
        try:
            for i in range(1, steps + 1):
                time.sleep(step_delay)  # lets the program see separate motion events
                self.move(x1 + (x2 - x1) * i // steps, y1 + (y2 - y1) * i // steps)
        finally:
            self.xdotool("mouseup", button)

    def key(self, *keys, win=None):
        """Types key names (xdotool syntax, e.g. "alt+F4", "Escape"). With win, focuses it first;
        without, the keys go wherever the keyboard is (a popup menu grabs it while open)."""
        if win is not None:
            self.focus(win)
        self.xdotool("key", "--delay", 30, *keys)

    def focus(self, win):
        if self.window_manager:
            self.xdotool("windowactivate", "--sync", win)
        else:
            self.xdotool("windowfocus", "--sync", win)

    def send_delete(self, win):
        """Asks a window to close the way a window manager does (WM_DELETE_WINDOW)."""
        with _XConnection(self.display) as conn:
            conn.send_client_message(win, conn.intern_atom("WM_PROTOCOLS"),
                                     [conn.intern_atom("WM_DELETE_WINDOW"), 0, 0, 0, 0])
            conn.sync()

    # -- screen

    def screenshot(self, region=None, remember=True):
        """The root window, or region = (x, y, w, h) of it, as a Screenshot. The last one taken
        is kept for the diagnostics of a failing test."""
        argv = [IMPORT, "-display", self.display, "-window", "root"]
        left = top = 0
        if region is not None:
            left, top, w, h = region
            argv += ["-crop", f"{w}x{h}+{left}+{top}", "+repage"]
        shot = _parse_ppm(_run(argv + ["-depth", "8", "ppm:-"]).stdout, left, top)
        if remember:
            self.last_screenshot = shot
        return shot

    def wait_region(self, rect, expected, tolerance=0, timeout=DEFAULT_TIMEOUT):
        """Waits until the screen region matches; returns the RegionCheck, or raises
        AssertionError describing the worst pixel of the last look."""
        last = [None]

        def matches():
            last[0] = compare_region(self.screenshot(rect), (0, 0, rect[2], rect[3]), expected,
                                     tolerance)
            return last[0].ok

        try:
            wait_until(matches, timeout, 0.1, what="screen region")
        except TimeoutError:
            raise AssertionError(str(last[0])) from None
        return last[0]

    def show_pattern(self, path, x, y, timeout=DEFAULT_TIMEOUT):
        """Shows an image with its top-left pixel at root (x, y) and waits until it is there."""
        shown = ShownImage(self, path, x, y)
        try:
            shown.wait_visible(timeout)
        except BaseException:
            shown.close()
            raise
        return shown

    # -- diagnostics

    def save_diagnostics(self, label, out_dir=None):
        """Saves the last screenshot, a fresh one and the window tree; prints where."""
        global _keep_out
        folder = out_dir or self.out_dir or output_dir(label)
        if _out_root and os.path.abspath(folder).startswith(_out_root + os.sep):
            _keep_out = True
        saved = []
        with contextlib.suppress(Exception):
            if self.last_screenshot is not None:
                saved.append(self.last_screenshot.save(os.path.join(folder, "last-check.png")))
        with contextlib.suppress(Exception):
            saved.append(self.screenshot(remember=False).save(os.path.join(folder, "screen.png")))
        with contextlib.suppress(Exception):
            path = os.path.join(folder, "xwininfo-tree.txt")
            with open(path, "w") as f:
                f.write(self.tree())
            saved.append(path)
        print(f"\n[e2e] {label}: diagnostics in {folder}: "
              f"{', '.join(os.path.basename(p) for p in saved)}", file=sys.stderr)
        return folder


def _ere_escape(text):
    """Escapes text for a POSIX extended regular expression (what xdotool matches with)."""
    return re.sub(r"([.\[\]{}()\\*+?^$|])", r"\\\1", text)


class ShownImage:
    """An image shown by ImageMagick `display` at an exact root position; close() removes it."""

    def __init__(self, xserver, path, x, y):
        self.xserver, self.path, self.x, self.y = xserver, path, x, y
        self.pixels = read_image(path)
        # -borderwidth 0: no X border around the image window; without a window manager the
        # window then sits exactly at -geometry. +immutable keeps display from acting on clicks.
        self.proc = _spawn([DISPLAY_IMAGE, "-display", xserver.display, "-borderwidth", "0",
                            "-immutable", "-title", f"vx-pattern-{os.getpid()}-{id(self)}",
                            "-geometry", f"+{x}+{y}", path], env=xserver.env())
        xserver._shown.append(self)

    @property
    def rect(self):
        return Rect(self.x, self.y, self.pixels.width, self.pixels.height)

    def wait_visible(self, timeout=DEFAULT_TIMEOUT):
        self.xserver.wait_region(self.rect, self.pixels, 0, timeout)

    def close(self):
        _stop_group(self.proc)
        with contextlib.suppress(ValueError):
            self.xserver._shown.remove(self)


class _XConnection:
    """Just enough of the X11 protocol to send a client message (xdotool has no command for
    WM_DELETE_WINDOW: its windowclose destroys the X window behind the program's back)."""

    def __init__(self, display):
        number = display.lstrip(":").split(".")[0]
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.settimeout(10)
        self.sock.connect(f"/tmp/.X11-unix/X{number}")
        self.sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        head = self._recv(8)
        body = self._recv(struct.unpack_from("<H", head, 6)[0] * 4)
        if head[0] != 1:
            raise RuntimeError(f"X server refused the connection: {body!r}")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.sock.close()

    def _recv(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise ConnectionError("X server closed the connection")
            data += chunk
        return data

    def _reply(self):
        while True:
            packet = self._recv(32)
            if packet[0] == 0:
                raise RuntimeError(f"X error {packet[1]} for resource {packet[4:8].hex()}")
            if packet[0] == 1:
                return packet + self._recv(struct.unpack_from("<I", packet, 4)[0] * 4)
            # anything else is an event we did not ask for: skip it

    def intern_atom(self, name):
        raw = name.encode()
        pad = (-len(raw)) % 4
        self.sock.sendall(struct.pack("<BBHHxx", 16, 0, 2 + (len(raw) + pad) // 4, len(raw))
                          + raw + b"\0" * pad)
        return struct.unpack_from("<I", self._reply(), 8)[0]

    def send_client_message(self, win, message_type, data):
        event = struct.pack("<BBHII5I", 33, 32, 0, win, message_type, *data)
        self.sock.sendall(struct.pack("<BBHII", 25, 0, 11, win, 0) + event)

    def sync(self):
        """A round trip (GetInputFocus): errors of earlier requests arrive before its reply."""
        self.sock.sendall(struct.pack("<BxH", 43, 1))
        self._reply()


# ---------------------------------------------------------------------------------------------
# Wine

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
# Tahoma is Wine's UI font (menus, captions) and the forms' font. Debian installs no Tahoma
# unless fonts-wine is present; then it is replaced too so Japanese menu items get glyphs.
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
            wait_until(lambda: _try_flock(fd), timeout, 0.2, what=f"lock {self.path}{name}")
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
                _run([WINE64, "wineboot", "-i"], env=env, timeout=300, capture=False)
            with tempfile.NamedTemporaryFile(suffix=".reg", delete=False) as reg:
                reg.write(_reg_file(font_replacements(), FONT_LINKS))
            try:
                _run([WINE64, "regedit", "/S", reg.name], env=env, timeout=120, capture=False)
            finally:
                os.unlink(reg.name)
            # Waits until the server has flushed the registry and every process has ended.
            _run([WINESERVER, "-w"], env=env, timeout=120, capture=False)
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
            wait_until(lambda: _try_flock(self._session_lock), lock_timeout, 0.5,
                       what=f"the Wine prefix {self.path} to be free")
        except BaseException:
            os.close(self._session_lock)
            self._session_lock = None
            raise
        _register(self)
        # Holding the lock, whatever still runs on this prefix was left by a runner that died:
        # its server would still talk to that runner's X display.
        self._end_processes()
        self.xserver = xserver
        try:
            env = self.env(xserver)
            # Persistent for a while after the last program: should this runner die without
            # stopping it, the server and Wine's services still go away by themselves.
            _run([WINESERVER, "-p120"], env=env, capture=False)
            _run([WINE64, "wineboot"], env=env, timeout=120, capture=False)
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
            _run([WINESERVER, "-k"], env=self.env(), timeout=30, check=False, capture=False)
        try:
            wait_until(lambda: not self._our_processes(), 10, 0.1, what="Wine to end")
        except TimeoutError:
            for pid in self._our_processes():
                with contextlib.suppress(ProcessLookupError):
                    os.kill(pid, signal.SIGKILL)

    def stop(self):
        _unregister(self)
        if self._session_lock is not None:
            self._end_processes()
            self.xserver = None
            os.close(self._session_lock)
            self._session_lock = None

    def launch(self, exe, args=(), env=None, xserver=None, log_dir=None):
        return WineApp(self, xserver or self.xserver, exe, args, env, log_dir).start()


def _try_flock(fd):
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
            self.proc = _spawn([WINE64, self.exe, *self.args],
                               env=self.prefix.env(self.x, self.extra_env), stdout=log,
                               stderr=subprocess.STDOUT, cwd=os.path.dirname(self.exe),
                               die_with_parent=False)
        self.launched_at = time.monotonic()
        _register(self)
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
        _unregister(self)
        if self.proc is not None and self.proc.poll() is None:
            _stop_group(self.proc, grace=1.0)


# ---------------------------------------------------------------------------------------------
# unittest glue


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
