# SPDX-License-Identifier: MIT
"""Measures what magnifying costs under Wine on Xvfb, next to xzoom doing the same job.

One run, one X server (Xvfb 3840x2160 with openbox), one textured picture on screen:

1. CPU of Orvalen.exe under wine64 at its 100 ms copy cadence, split into the program's own
   process, wineserver, the prefix's other Wine processes and the X server, for a 200x100
   source stretched into a 400x200 client and a 960x540 source into a 1920x1080 client;
2. the same for xzoom (-mag 2, -delay 100) on the same source rectangles;
3. Orvalen's resident memory after one and after ten minutes of magnifying.

CPU is read from /proc/<pid>/stat (utime + stime) at the start and the end of a fixed interval
and given as % of one core. Copies are counted with the X DAMAGE extension on the magnifying
window, so the table also says how many copies per second were really made and what one cost.

Run from the repository root after building the x86_64 preset:

    python3 bench/measure_magnifier.py           # about 14 minutes
    python3 bench/measure_magnifier.py --quick   # about 4 minutes

See bench/README.md for what each number means.
"""

import argparse
import contextlib
import datetime
import hashlib
import os
import platform
import shutil
import socket
import statistics
import struct
import subprocess
import sys
import threading
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Our own caches and Wine prefix: other engineers' e2e runs use build-e2e/ at the same time.
os.environ.setdefault("VX_BUILD_DIR", os.path.join(REPO, "build-measure"))
os.environ.setdefault("VX_WINEPREFIX", os.path.join(os.environ["VX_BUILD_DIR"], "wineprefix"))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))

import vxharness as vx  # noqa: E402
from vx_process import spawn, stop_group  # noqa: E402
from vx_xserver import XConnection  # noqa: E402

CLK_TCK = os.sysconf("SC_CLK_TCK")
SCREEN = (3840, 2160)
PATTERN_ORIGIN = (20, 20)
PATTERN_SIZE = (1000, 580)
# Where the magnifying windows' client areas go: clear of the picture, so that no window ever
# magnifies itself.
CLIENT_ORIGIN = (1200, 700)
DEFAULT_EXE = os.path.join(REPO, "build", "x86_64", "app", "Orvalen.exe")


class Case:
    """One source rectangle and the window it is stretched into (both magnified by 2)."""

    def __init__(self, name, source_w, source_h, client_w, client_h):
        self.name = name
        self.source = vx.Rect(PATTERN_ORIGIN[0] + 22, PATTERN_ORIGIN[1] + 22, source_w, source_h)
        self.client = (client_w, client_h)

    @property
    def drag(self):
        """The overlay drag: the magnifier insets the range by 2 pixels on every side."""
        s = self.source
        return (s.x - 2, s.y - 2, s.x + s.width + 2, s.y + s.height + 2)

    def label(self):
        return (f"({self.name}) {self.source.width}x{self.source.height} -> "
                f"{self.client[0]}x{self.client[1]}")


CASES = [Case("a", 200, 100, 400, 200), Case("b", 960, 540, 1920, 1080)]


# ---------------------------------------------------------------------------------------------
# /proc


def read_stat(pid):
    """(ppid, cpu ticks = utime + stime, start time) of a process, or None when it is gone."""
    try:
        with open(f"/proc/{pid}/stat", "rb") as f:
            raw = f.read()
    except OSError:
        return None
    fields = raw[raw.rindex(b")") + 2 :].split()
    return int(fields[1]), int(fields[11]) + int(fields[12]), int(fields[19])


def read_rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise RuntimeError(f"no VmRSS for {pid}")


def comm(pid):
    try:
        with open(f"/proc/{pid}/comm") as f:
            return f.read().strip()
    except OSError:
        return "?"


def process_tree(root):
    """root and all its descendants (one scan of /proc)."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            st = read_stat(int(entry))
            if st:
                children.setdefault(st[0], []).append(int(entry))
    found, todo = [], [root]
    while todo:
        pid = todo.pop()
        found.append(pid)
        todo.extend(children.get(pid, ()))
    return found


def wine_processes(prefix_path):
    """Pids whose environment carries exactly this WINEPREFIX (as the harness finds them)."""
    needle = b"\0WINEPREFIX=" + os.fsencode(prefix_path) + b"\0"
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        with contextlib.suppress(OSError):
            with open(f"/proc/{entry}/environ", "rb") as f:
                if needle in b"\0" + f.read():
                    found.append(int(entry))
    return found


class CpuWindow:
    """CPU ticks of named groups of processes between start() and stop(), as % of one core."""

    def __init__(self, groups):
        self.groups = groups  # name -> [pid]
        self._start = self._end = None
        self.seconds = None

    def _snapshot(self):
        snap = {}
        for name, pids in self.groups.items():
            snap[name] = {pid: st for pid in pids if (st := read_stat(pid))}
        return time.monotonic(), snap

    def start(self):
        self._start = self._snapshot()

    def stop(self):
        self._end = self._snapshot()
        self.seconds = self._end[0] - self._start[0]

    def cpu_seconds(self, name):
        before, after = self._start[1][name], self._end[1][name]
        ticks = 0
        for pid, (_ppid, end_ticks, started) in after.items():
            begin = before.get(pid)
            # A pid that is new (or reused) within the interval counts from zero.
            ticks += end_ticks - (begin[1] if begin and begin[2] == started else 0)
        return ticks / CLK_TCK

    def percent(self, name):
        return 100.0 * self.cpu_seconds(name) / self.seconds


# ---------------------------------------------------------------------------------------------
# Counting copies: X DAMAGE events on the window that shows them


class DamageCounter:
    """Counts drawing bursts on one X window through the DAMAGE extension (raw rectangles).

    Every copy ends in one or a few image puts into the window within a few milliseconds; puts
    closer together than `gap_ms` (server time) are one copy. A thread reads the events; the
    connection sends no requests after set-up, so the count costs the X server next to nothing.
    """

    def __init__(self, display, window, gap_ms=30):
        self.gap_ms = gap_ms
        self.copies = []  # (monotonic time of arrival, server ms) of each burst's first put
        self._last_server_ms = None
        self._stop = False
        self.conn = XConnection(display)
        self.sock = self.conn.sock
        present, self.opcode, self.first_event = self.conn.query_extension("DAMAGE")
        if not present:
            raise RuntimeError("the X server has no DAMAGE extension")
        # QueryVersion must come first; then DamageCreate(damage, drawable, RawRectangles).
        self.sock.sendall(struct.pack("<BBHII", self.opcode, 0, 3, 1, 1))
        self.conn.reply()
        self.sock.sendall(struct.pack("<BBHIIBxxx", self.opcode, 1, 4, self.conn.id_base,
                                      window, 0))
        self.sock.settimeout(0.5)
        self._thread = threading.Thread(target=self._read_events, daemon=True)
        self._thread.start()

    def _read_events(self):
        while not self._stop:
            try:
                packet = self.conn.recv(32)
            except socket.timeout:
                continue
            except OSError:
                return
            if packet[0] & 0x7F != self.first_event:
                continue
            server_ms = struct.unpack_from("<I", packet, 12)[0]
            last, self._last_server_ms = self._last_server_ms, server_ms
            if last is None or (server_ms - last) & 0xFFFFFFFF > self.gap_ms:
                self.copies.append((time.monotonic(), server_ms))

    def count(self, since=None, until=None):
        return sum(1 for t, _ in self.copies
                   if (since is None or t >= since) and (until is None or t < until))

    def interval_ms(self, since, until):
        """Median time between copies within the window, from the server's clock."""
        ms = [s for t, s in self.copies if since <= t < until]
        steps = [(b - a) & 0xFFFFFFFF for a, b in zip(ms, ms[1:])]
        return statistics.median(steps) if steps else float("nan")

    def close(self):
        self._stop = True
        self._thread.join(2)
        self.sock.close()


# ---------------------------------------------------------------------------------------------
# What is on screen


def texture(x, y):
    # Fine, colourful detail everywhere: nothing in the picture is flat or repeats quickly, so
    # the stretch has real work on every pixel.
    return (((x * 5) ^ (y * 3)) & 255, ((x * y) >> 3) & 255, ((x + 2 * y) * 3) & 255)


def mean_colour(shot):
    n = shot.width * shot.height
    return tuple(sum(shot.data[c::3]) / n for c in range(3))


def image_check(x, case, out_dir, tag):
    """Saves the magnifying window's client and compares its mean colour with the source's: a
    wrong range or a window that shows itself gives a clearly different mean."""
    cx, cy = CLIENT_ORIGIN
    shot = x.screenshot((cx, cy, *case.client), remember=False)
    source = x.screenshot(case.source, remember=False)
    shot.save(os.path.join(out_dir, f"{tag}-{case.name}.png"))
    diff = max(abs(a - b) for a, b in zip(mean_colour(shot), mean_colour(source)))
    return f"mean colour off by {diff:.1f}" + ("" if diff < 8 else " (WRONG PICTURE?)")


# ---------------------------------------------------------------------------------------------
# Driving the programs


def place_client(x, win, case, timeout=20):
    """Sizes and moves a managed window so that its client area is case.client at
    CLIENT_ORIGIN. openbox places its frame where it is asked to put the window, so the move is
    corrected by what the frame adds until the client lands."""
    w, h = case.client
    target = list(CLIENT_ORIGIN)

    def placed():
        g = x.geometry(win)
        if (g.width, g.height) != (w, h):
            x.xdotool("windowsize", win, w, h)
            return False
        if (g.x, g.y) != CLIENT_ORIGIN:
            target[0] += CLIENT_ORIGIN[0] - g.x
            target[1] += CLIENT_ORIGIN[1] - g.y
            x.xdotool("windowmove", win, *target)
            return False
        return True

    vx.wait_until(placed, timeout, 0.3, what=f"client {w}x{h} at {CLIENT_ORIGIN}")


def window_named(x, app, name, timeout=30):
    """The mapped window with exactly that title. By title alone: `xdotool search` joins a
    --pid and a --name condition with "any", so a search by both lists every window of the
    process."""
    found = vx.wait_until(lambda: app.proc.poll() is None and x.search(name=name), timeout,
                          what=f"window {name!r}")
    if len(found) != 1:
        raise RuntimeError(f"{len(found)} windows named {name!r}")
    return found[0]


def select_range(x, app, win, case):
    """Right click -> "範囲指定" -> left drag over the overlay; returns when the overlay is gone."""
    g = x.geometry(win)
    popups_before = {w for w, _ in x.top_level_windows()}
    app.right_click(g.x + g.width // 2, g.y + g.height // 2)
    app.wait_popup(exclude=popups_before)
    x.key("Down", "Return")  # the first item
    overlay = window_named(x, app, "SelectRangeForm")
    try:
        vx.wait_until(lambda: x.geometry(overlay)[2:] == SCREEN, 10, what="overlay")
    except TimeoutError:
        raise RuntimeError(f"the overlay covers {x.geometry(overlay)}, not the screen") from None
    x1, y1, x2, y2 = case.drag
    app.drag(x1, y1, x2, y2, steps=12)
    vx.wait_until(lambda: not x.viewable(overlay), 20, what="overlay closed")


def wait_copies(counter, n=3, timeout=30):
    vx.wait_until(lambda: counter.count() >= n, timeout, 0.1, what=f"{n} copies")


class Row:
    def __init__(self, case, program):
        self.case, self.program = case, program
        self.copies_per_s = self.interval_ms = None
        self.cpu = {}  # column -> % of one core
        self.cpu_ms_per_copy = self.program_ms_per_copy = None
        self.check = ""
        self.memory = None


def measure(case, program, groups, warmup, interval, counter=None):
    """CPU of the groups over `interval` seconds after `warmup`; with a counter, also the
    copies made in that interval (waiting first until copies come at all)."""
    row = Row(case, program)
    if counter:
        wait_copies(counter)
    time.sleep(warmup)
    window = CpuWindow(groups)
    window.start()
    t0 = time.monotonic()
    time.sleep(interval)
    window.stop()
    t1 = time.monotonic()
    row.cpu = {name: window.percent(name) for name in groups}
    if counter:
        copies = counter.count(t0, t1)
        row.copies_per_s = copies / (t1 - t0)
        row.interval_ms = counter.interval_ms(t0, t1)
        if copies:
            total = sum(window.cpu_seconds(name) for name in groups if name != "openbox")
            row.cpu_ms_per_copy = 1000 * total / copies
            row.program_ms_per_copy = 1000 * window.cpu_seconds("program") / copies
    return row


def xvfb_groups(x):
    # The harness offers no accessor for the pids of the processes it started itself.
    server = x._server.pid
    if comm(server) != "Xvfb":
        raise RuntimeError(f"pid {server} is {comm(server)!r}, not the X server")
    return {"Xvfb": [server], "openbox": [x._wm.pid] if x._wm else []}


def run_baseline(x, warmup, interval):
    """The X server with the picture shown and nothing magnifying."""
    return measure(None, "nothing (baseline)", xvfb_groups(x), warmup, interval)


def run_xzoom(x, case, args, out_dir):
    """xzoom on the same source, magnified by 2, one frame every 100 ms (its -delay, in ms,
    is the pause after each frame, like Orvalen's re-armed timer)."""
    s = case.source
    log = open(os.path.join(out_dir, f"xzoom-{case.name}.log"), "wb")
    proc = spawn(["xzoom", "-display", x.display, "-mag", "2", "-delay", "100",
                  "-source", f"{s.width}x{s.height}+{s.x}+{s.y}"],
                 env=x.env(), stdout=log, stderr=log)
    log.close()
    counter = None
    try:
        win = vx.wait_until(lambda: proc.poll() is None and x.search(name="xzoom x2"), 20,
                            what="the xzoom window")[0]
        place_client(x, win, case)
        counter = DamageCounter(x.display, win)
        groups = {"program": process_tree(proc.pid), **xvfb_groups(x)}
        row = measure(case, "xzoom", groups, args.warmup, args.interval, counter)
        row.check = image_check(x, case, out_dir, "xzoom")
        return row
    finally:
        if counter:
            counter.close()
        stop_group(proc)


def start_orvalen(x, prefix, exe, case):
    app = prefix.launch(exe)
    win = window_named(x, app, "Vexelo")
    place_client(x, win, case)
    return app, win


def orvalen_groups(x, prefix, app):
    tree = process_tree(app.proc.pid)
    wine = wine_processes(prefix.path)
    server = [p for p in wine if comm(p).startswith("wineserver")]
    services = [p for p in wine if p not in tree and p not in server]
    return {"program": tree, "wineserver": server, "Wine services": services, **xvfb_groups(x)}


def run_orvalen(x, prefix, exe, case, args, out_dir, memory=None, idle=False):
    """Measures one case. With idle, first measures the program before any range is chosen
    (its timer is off then). With memory=(m1, m2), keeps magnifying and reads VmRSS m1 and m2
    seconds after the range was accepted. Returns the rows measured."""
    app, win = start_orvalen(x, prefix, exe, case)
    counter = DamageCounter(x.display, win)
    rows = []
    try:
        if idle:
            rows.append(measure(None, "Orvalen.exe (Wine), no range chosen yet",
                                orvalen_groups(x, prefix, app), args.warmup, args.interval))
        select_range(x, app, win, case)
        accepted = time.monotonic()
        groups = orvalen_groups(x, prefix, app)
        row = measure(case, "Orvalen.exe (Wine)", groups, args.warmup, args.interval, counter)
        row.check = image_check(x, case, out_dir, "orvalen")
        if memory:
            row.memory = trace_memory(app.proc.pid, counter, accepted, memory, out_dir, groups)
        rows.append(row)
        app.close(win)
        app.wait_exit(10)
        return rows
    finally:
        counter.close()
        app.stop()


def trace_memory(pid, counter, accepted, marks, out_dir, groups, every=10):
    """VmRSS every `every` seconds and at both marks (seconds since the range was accepted),
    written to a CSV as it goes; the trend is a least-squares slope from the first mark on.
    CPU between the marks is measured as well: the same figure over a much longer interval."""
    m1, m2 = marks
    cpu = CpuWindow(groups)
    schedule = sorted(set(range(0, int(m2), every)) | {m1, m2})
    values, late = {}, []
    path = os.path.join(out_dir, "orvalen-rss.csv")
    with open(path, "w") as f:
        f.write("seconds,vmrss_kib,copies\n")
        for mark in schedule:
            time.sleep(max(0.0, accepted + mark - time.monotonic()))
            rss, copies = read_rss_kib(pid), counter.count(since=accepted)
            f.write(f"{mark:g},{rss},{copies}\n")
            f.flush()
            if mark in marks:
                values[mark] = (rss, copies)
                if mark == m1:
                    cpu.start()
                else:
                    cpu.stop()
            if mark >= m1:
                late.append((mark, rss))
    mt = statistics.fmean(t for t, _ in late)
    mr = statistics.fmean(r for _, r in late)
    var = sum((t - mt) ** 2 for t, _ in late)
    slope = 60 * sum((t - mt) * (r - mr) for t, r in late) / var if var else float("nan")
    return {"marks": marks, "values": values, "min": min(r for _, r in late),
            "max": max(r for _, r in late), "slope_kib_per_min": slope, "trace": path,
            "cpu": {name: cpu.percent(name) for name in groups},
            "copies_per_s": (values[m2][1] - values[m1][1]) / cpu.seconds}


# ---------------------------------------------------------------------------------------------
# Report


def command_output(argv):
    with contextlib.suppress(Exception):
        r = subprocess.run(argv, capture_output=True, text=True, timeout=30)
        return (r.stdout + r.stderr).strip().splitlines()[0]
    return "?"


def machine_facts(exe):
    model = "?"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open(exe, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()[:12]
    with open("/proc/loadavg") as f:
        load = " ".join(f.read().split()[:3])
    return {
        "date (UTC)": datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M"),
        "nproc": str(os.cpu_count()),
        "CPU": model,
        "kernel": platform.release(),
        "Wine": command_output([vx.WINE64, "--version"]),
        "X server": "Xvfb " + command_output(["dpkg-query", "-W", "-f", "${Version}", "xvfb"])
        + f", screen {SCREEN[0]}x{SCREEN[1]}x24, openbox",
        "xzoom": command_output(["dpkg-query", "-W", "-f", "${Version}", "xzoom"]),
        "Orvalen.exe": f"x86_64 build, sha256 {digest}…",
        "load average at start": load,
    }


def num(value, digits=1):
    return "—" if value is None else f"{value:.{digits}f}"


CPU_COLUMNS = ["program", "wineserver", "Wine services", "Xvfb"]


def cpu_table(rows):
    lines = ["| case | program | copies/s | median ms between copies | program % | wineserver % "
             "| Wine services % | Xvfb % | sum % | CPU ms per copy (sum) |",
             "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|"]
    for r in rows:
        total = sum(r.cpu.get(c, 0.0) for c in CPU_COLUMNS)
        cells = [r.case.label() if r.case else "—", r.program, num(r.copies_per_s, 2),
                 num(r.interval_ms, 0), *(num(r.cpu.get(c)) for c in CPU_COLUMNS),
                 num(total), num(r.cpu_ms_per_copy)]
        lines.append("| " + " | ".join(cells) + " |")
    return lines


def per_copy_notes(rows):
    """Both programs wait 100 ms after a copy ends, so median gap - 100 ms is one copy's wall
    time; next to the program's own CPU per copy it shows whether the copy waits or computes."""
    notes = []
    for r in rows:
        if r.program_ms_per_copy is not None:
            notes.append(f"- {r.program}, case {r.case.name}: one copy takes about "
                         f"{r.interval_ms - 100:.0f} ms of wall time and "
                         f"{r.program_ms_per_copy:.1f} ms of the program's own CPU")
    return notes


def memory_table(row):
    m = row.memory
    (m1, m2), values = m["marks"], m["values"]
    (r1, c1), (r2, c2) = values[m1], values[m2]
    return [f"Resident memory (VmRSS) of Orvalen.exe while magnifying case {row.case.label()}; "
            "times count from the accepted range selection:", "",
            f"| after {m1:g} s | after {m2:g} s | difference | min–max from {m1:g} s on "
            f"| trend from {m1:g} s on |",
            "|---:|---:|---:|---:|---:|",
            f"| {r1} KiB ({c1} copies) | {r2} KiB ({c2} copies) | {r2 - r1:+d} KiB | "
            f"{m['min']}–{m['max']} KiB | {m['slope_kib_per_min']:+.1f} KiB/min |",
            "", f"Meanwhile, from {m1:g} s to {m2:g} s: {m['copies_per_s']:.2f} copies/s; CPU "
            + ", ".join(f"{name} {m['cpu'][name]:.1f} %" for name in CPU_COLUMNS) + ".",
            "", f"Trace (every 10 s): {os.path.relpath(m['trace'], REPO)}"]


def render(facts, rows, args, memory_row):
    lines = ["# Magnifier CPU and memory under Wine (Xvfb)", ""]
    lines += [f"- {k}: {v}" for k, v in facts.items()]
    lines += [f"- warm-up {args.warmup:g} s, then a CPU interval of {args.interval:g} s per row"
              + (" (--quick)" if args.quick else ""), ""]
    lines += ["CPU in % of one core over the interval (utime + stime from /proc); copies counted "
              "on the magnifying window through X DAMAGE.", ""]
    lines += cpu_table(rows)
    lines += ["", "Per copy:", ""] + per_copy_notes(rows)
    checks = [f"- {r.program}, case {r.case.name}: {r.check}" for r in rows if r.check]
    openbox = max((r.cpu.get("openbox", 0.0) for r in rows), default=0.0)
    checks.append(f"- openbox (in no sum): at most {openbox:.1f} % in any row")
    lines += ["", "Checks (screenshots next to this file):", ""] + checks
    if memory_row is not None and memory_row.memory:
        lines += [""] + memory_table(memory_row)
    with open("/proc/loadavg") as f:
        lines += ["", f"Load average at the end: {' '.join(f.read().split()[:3])}"]
    return "\n".join(lines) + "\n"


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--quick", action="store_true",
                        help="short run: 10 s intervals, memory after 20 s and 60 s")
    parser.add_argument("--exe", default=DEFAULT_EXE, help="the x86_64 Orvalen.exe")
    parser.add_argument("--out", default=os.path.join(REPO, "build", "measure"),
                        help="folder for the report, screenshots and the memory trace")
    parser.add_argument("--interval", type=float, help="CPU interval per row, seconds")
    parser.add_argument("--warmup", type=float, help="seconds of copying before an interval")
    args = parser.parse_args(argv)
    args.interval = args.interval or (10.0 if args.quick else 20.0)
    args.warmup = args.warmup or (3.0 if args.quick else 5.0)
    marks = (20.0, 60.0) if args.quick else (60.0, 600.0)

    if not os.path.exists(args.exe):
        print(f"{args.exe} is missing: cmake --preset x86_64 && cmake --build --preset x86_64",
              file=sys.stderr)
        return 2
    if not shutil.which("xzoom"):
        print("xzoom is missing: bash scripts/install-deps.sh", file=sys.stderr)
        return 2
    os.makedirs(args.out, exist_ok=True)
    # A private copy: a rebuild of the shared tree during the run must not swap the program.
    exe = os.path.join(vx.build_dir(), "bin", "Orvalen.exe")
    os.makedirs(os.path.dirname(exe), exist_ok=True)
    shutil.copy2(args.exe, exe)
    facts = machine_facts(exe)

    baseline, xzoom, orvalen, idle = None, {}, {}, []
    with vx.XServer(*SCREEN, window_manager=True) as x:
        picture = os.path.join(vx.build_dir(), "texture.png")
        vx.make_pattern(picture, *PATTERN_SIZE, texture)
        x.show_pattern(picture, *PATTERN_ORIGIN)
        progress("baseline")
        baseline = run_baseline(x, args.warmup, args.interval)
        for case in CASES:
            progress(f"xzoom {case.label()}")
            xzoom[case.name] = run_xzoom(x, case, args, args.out)
        with vx.WinePrefix() as prefix:
            prefix.start(x)
            for case in reversed(CASES):  # case a last: it goes on for the memory marks
                memory = marks if case is CASES[0] else None
                progress(f"Orvalen {case.label()}"
                         + (f", memory until {marks[1]:g} s" if memory else ""))
                measured = run_orvalen(x, prefix, exe, case, args, args.out, memory,
                                       idle=case is CASES[-1])
                orvalen[case.name] = measured[-1]
                idle.extend(measured[:-1])
    rows = [baseline] + idle + [r for c in CASES for r in (orvalen[c.name], xzoom[c.name])]
    report = render(facts, rows, args, orvalen[CASES[0].name])
    path = os.path.join(args.out, "magnifier-cpu.md")
    with open(path, "w", encoding="utf-8") as f:
        f.write(report)
    print(report)
    print(f"written to {os.path.relpath(path, REPO)}", file=sys.stderr)
    return 0


def progress(text):
    print(f"[{time.strftime('%H:%M:%S')}] {text}", file=sys.stderr, flush=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
