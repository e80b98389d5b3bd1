# SPDX-License-Identifier: MIT
"""Processes, waiting and output folders for the end-to-end harness.

Everything started here runs in a process group of its own and is stopped through it; objects
with a stop() register themselves so that an interrupted run still stops them at exit.
"""

import atexit
import contextlib
import ctypes
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_TIMEOUT = float(os.environ.get("VX_E2E_TIMEOUT", "30"))


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


def keep_output(folder):
    """Keeps the temp output folder at exit when folder (diagnostics of a failure) lies in it."""
    global _keep_out
    if _out_root and os.path.abspath(folder).startswith(_out_root + os.sep):
        _keep_out = True


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


_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_parent():
    # Runs in the child between fork and exec: if the test runner is killed outright, the kernel
    # still takes the X server and its helpers down with it.
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM, 0, 0, 0)


def spawn(argv, env=None, stdout=None, stderr=None, pass_fds=(), die_with_parent=True, cwd=None):
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


def stop_group(proc, grace=3.0):
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


def register(obj):
    _live.append(obj)


def unregister(obj):
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


def run(argv, env=None, timeout=30, check=True, input=None, capture=True):
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
