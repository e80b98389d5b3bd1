# SPDX-License-Identifier: MIT
"""X servers for the end-to-end harness: Xvfb or Xorg with the dummy driver, openbox, input
through xdotool, screenshots through ImageMagick's import, test images through its display.

Coordinates are X root-window coordinates everywhere (what xdotool, xwininfo and import use).
On a single Xvfb screen they equal Windows screen coordinates; with a monitor left of the
primary they are shifted by `XServer.primary_origin` (see `XServer.to_x` / `to_windows`).
"""

import contextlib
import os
import re
import select
import shutil
import socket
import struct
import sys
import tempfile
import time
import unittest

from vx_image import compare_region, parse_ppm, read_image
from vx_process import (DEFAULT_TIMEOUT, keep_output, output_dir, register, run, spawn,
                        stop_group, unregister, wait_until)

IMPORT = "/usr/bin/import"
DISPLAY_IMAGE = "/usr/bin/display"
DUMMY_DRIVER = "/usr/lib/xorg/modules/drivers/dummy_drv.so"


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
        register(self)
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
            self._server = spawn(
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
            run(["xrandr", *args], env=self.env())
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
            self._wm = spawn(["openbox", "--sm-disable"], env=env, stdout=log, stderr=log)
        finally:
            log.close()
        wait_until(lambda: b"window id" in run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env(), check=False).stdout,
            10, what="openbox to take over")

    def stop(self):
        unregister(self)
        for shown in list(self._shown):
            shown.close()
        stop_group(self._wm)
        stop_group(self._server)
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
        out = run(["xrandr", "--query"], env=self.env()).stdout.decode()
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
        return run(["xdotool", *map(str, args)], env=self.env(), check=check)

    def tree(self):
        return run(["xwininfo", "-root", "-tree"], env=self.env()).stdout.decode(errors="replace")

    def window_info(self, win):
        """Parsed `xwininfo -id`: absolute position, size, map state, override-redirect."""
        out = run(["xwininfo", "-id", str(win)], env=self.env()).stdout.decode(errors="replace")

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

    def window_property(self, win, name):
        """A property of an X window (None: the root) as xprop prints its value (e.g.
        "2155905152" for a CARDINAL, "_NET_WM_STATE_ABOVE, ..." for atoms, "0x400001, ..." for
        windows), or None when the window lacks it."""
        which = ["-root"] if win is None else ["-id", str(win)]
        out = run(["xprop", *which, name], env=self.env(), check=False).stdout.decode(
            errors="replace")
        m = re.match(r"^\S+\([^)]*\)(?: =|:)(?: window id #)? (.*)$", out.strip(), re.S)
        return m.group(1).strip() if m else None

    def top_level_windows(self):
        """[(id, name)] of the root's direct children that are mapped, in stacking order
        (bottom first)."""
        out = run(["xwininfo", "-root", "-children"], env=self.env()).stdout.decode(
            errors="replace")
        found = []
        for m in re.finditer(r"^\s+(0x[0-9a-f]+) (.*?):", out, re.M):
            found.append((int(m.group(1), 16), m.group(2)))
        found.reverse()  # xwininfo lists the top of the stack first
        return [w for w in found if self.viewable(w[0])]

    def viewable(self, win):
        """Whether the window exists and is mapped (with all its ancestors)."""
        out = run(["xwininfo", "-id", str(win)], env=self.env(), check=False).stdout
        return b"IsViewable" in out

    def search(self, name=None, cls=None, pid=None, visible=True):
        """Window ids matching an exact name/class (and owner pid), via xdotool search."""
        args = ["search", "--all"]  # xdotool's default is --any: name OR pid would match
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

    def drag(self, x1, y1, x2, y2, steps=10, button=1, step_delay=0.02, before_release=None):
        """Press at (x1, y1), move in `steps` straight steps, release at (x2, y2); calls
        before_release() (if given) while the button is still held at the end."""
        self.move(x1, y1)
        self.xdotool("mousedown", button)
        try:
            for i in range(1, steps + 1):
                time.sleep(step_delay)  # lets the program see separate motion events
                self.move(x1 + (x2 - x1) * i // steps, y1 + (y2 - y1) * i // steps)
            if before_release is not None:
                before_release()
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
        with XConnection(self.display) as conn:
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
        shot = parse_ppm(run(argv + ["-depth", "8", "ppm:-"]).stdout, left, top)
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
        folder = out_dir or self.out_dir or output_dir(label)
        keep_output(folder)
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
        self.proc = spawn([DISPLAY_IMAGE, "-display", xserver.display, "-borderwidth", "0",
                            "-immutable", "-title", f"vx-pattern-{os.getpid()}-{id(self)}",
                            "-geometry", f"+{x}+{y}", path], env=xserver.env())
        xserver._shown.append(self)

    @property
    def rect(self):
        return Rect(self.x, self.y, self.pixels.width, self.pixels.height)

    def wait_visible(self, timeout=DEFAULT_TIMEOUT):
        self.xserver.wait_region(self.rect, self.pixels, 0, timeout)

    def close(self):
        stop_group(self.proc)
        with contextlib.suppress(ValueError):
            self.xserver._shown.remove(self)


class XConnection:
    """Just enough of the X11 protocol to send a client message (xdotool has no command for
    WM_DELETE_WINDOW: its windowclose destroys the X window behind the program's back) and to
    set up an extension's requests and events (the measurements count redraws with DAMAGE)."""

    def __init__(self, display):
        number = display.lstrip(":").split(".")[0]
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.settimeout(10)
        self.sock.connect(f"/tmp/.X11-unix/X{number}")
        self.sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        head = self.recv(8)
        body = self.recv(struct.unpack_from("<H", head, 6)[0] * 4)
        if head[0] != 1:
            raise RuntimeError(f"X server refused the connection: {body!r}")
        self.id_base = struct.unpack_from("<I", body, 4)[0]  # first id this client may create

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.sock.close()

    def recv(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise ConnectionError("X server closed the connection")
            data += chunk
        return data

    def reply(self):
        while True:
            packet = self.recv(32)
            if packet[0] == 0:
                raise RuntimeError(f"X error {packet[1]} for resource {packet[4:8].hex()}")
            if packet[0] == 1:
                return packet + self.recv(struct.unpack_from("<I", packet, 4)[0] * 4)
            # anything else is an event we did not ask for: skip it

    def query_extension(self, name):
        """(present, major opcode, first event) of an extension."""
        raw = name.encode()
        pad = (-len(raw)) % 4
        self.sock.sendall(struct.pack("<BxHHxx", 98, 2 + (len(raw) + pad) // 4, len(raw))
                          + raw + b"\0" * pad)
        reply = self.reply()
        return bool(reply[8]), reply[9], reply[10]

    def intern_atom(self, name):
        raw = name.encode()
        pad = (-len(raw)) % 4
        self.sock.sendall(struct.pack("<BBHHxx", 16, 0, 2 + (len(raw) + pad) // 4, len(raw))
                          + raw + b"\0" * pad)
        return struct.unpack_from("<I", self.reply(), 8)[0]

    def send_client_message(self, win, message_type, data):
        event = struct.pack("<BBHII5I", 33, 32, 0, win, message_type, *data)
        self.sock.sendall(struct.pack("<BBHII", 25, 0, 11, win, 0) + event)

    def sync(self):
        """A round trip (GetInputFocus): errors of earlier requests arrive before its reply."""
        self.sock.sendall(struct.pack("<BxH", 43, 1))
        self.reply()
