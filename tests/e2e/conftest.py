"""End-to-end tests: the programs of the win32 tree's program folders, started under Wine in a
prefix of their own (build/win32/tests/e2e/wineprefix, windows unmanaged, its server kept up
across starts) on the caller's display or a private Xvfb, each on a fresh copy of its folder.

CTest passes KESTRA_BUILD_DIR (the win32 tree) and KESTRA_SOURCE_DIR."""
import os
import shutil
import socket
import subprocess
import time
from pathlib import Path

import pytest

SOURCE = Path(os.environ.get("KESTRA_SOURCE_DIR", Path(__file__).resolve().parents[2]))
BUILD = Path(os.environ.get("KESTRA_BUILD_DIR", SOURCE / "build" / "win32"))
PREFIX = BUILD / "tests" / "e2e" / "wineprefix"
MAIN_TITLE = "AMorvek Quorvel Gaming Mouse"
# Wine on an emulated i386 CPU, on a busy machine, starts programs slowly.
TIMEOUT = float(os.environ.get("KESTRA_E2E_TIMEOUT", "600"))


def wine_runs_through_qemu():
    """True where the kernel runs no 32-bit code and Wine's loader runs in qemu-i386
    (scripts/enable-i386.sh registers it only then)."""
    try:
        return Path("/proc/sys/fs/binfmt_misc/qemu-i386").read_text().startswith("enabled")
    except OSError:
        return False


def pytest_collection_modifyitems(config, items):
    # Under qemu-user, Wine's multi-threaded programs die of illegal instructions and broken
    # server writes (c000001d, "wine client error ... Bad file descriptor") once their threads
    # run: the window's device threads start before anything else, so no start gets through.
    if wine_runs_through_qemu() and os.environ.get("KESTRA_E2E_UNDER_QEMU") != "1":
        skip = pytest.mark.skip(reason="Wine runs through qemu-i386 here; set KESTRA_E2E_UNDER_QEMU=1 to run anyway")
        for item in items:
            item.add_marker(skip)


def wait_for(what, check, timeout=TIMEOUT, step=0.2):
    end = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(step)


class Display:
    def __init__(self, name):
        self.env = dict(os.environ, DISPLAY=name)

    def run(self, *args, check=True):
        return subprocess.run(args, env=self.env, capture_output=True, text=True, check=check)

    def windows(self, name, visible=True):
        """X windows whose title matches the regular expression `name`."""
        args = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", name]
        out = self.run(*args, check=False).stdout.split()
        return [int(w) for w in out]

    def geometry(self, window):
        """x, y, width, height of a window on the root."""
        values = {}
        for line in self.run("xdotool", "getwindowgeometry", "--shell", str(window)).stdout.splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value)
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def screenshot(self, path):
        self.run("import", "-window", "root", str(path))
        return path

    def click(self, x, y):
        self.run("xdotool", "mousemove", str(x), str(y), "click", "1")

    def key(self, name):
        self.run("xdotool", "key", name)


@pytest.fixture(scope="session")
def display():
    env = dict(os.environ, WINEDEBUG="-all")
    name = subprocess.run([str(SOURCE / "cmake" / "wine-prefix.sh"), str(PREFIX)], env=env,
                          capture_output=True, text=True, check=True).stdout.strip()
    yield Display(name)
    subprocess.run([str(SOURCE / "cmake" / "wine-prefix.sh"), "--stop", str(PREFIX)], env=env)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Program:
    """One start of a program from a fresh copy of its folder; ended at the test's end."""

    def __init__(self, display, folder, exe, args=(), control=False):
        self.display = display
        self.folder = folder
        self.port = free_port() if control else None
        env = dict(display.env, WINEPREFIX=str(PREFIX), WINEARCH="win32", WINEDEBUG="-all",
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        env.pop("KESTRA_CONTROL_PORT", None)
        if self.port:
            env["KESTRA_CONTROL_PORT"] = str(self.port)
        self.log = open(folder.parent / f"{exe}.log", "wb")
        self.process = subprocess.Popen(["wine", str(folder / exe), *args], cwd=folder, env=env,
                                        stdin=subprocess.DEVNULL, stdout=self.log, stderr=subprocess.STDOUT)

    def wait_exit(self, timeout=TIMEOUT):
        return self.process.wait(timeout=timeout)

    def command(self, line, timeout=TIMEOUT):
        """One control-channel command; its answer lines, without the final "ok"."""
        def connect():
            try:
                return socket.create_connection(("127.0.0.1", self.port), timeout=5)
            except OSError:
                assert self.process.poll() is None, "the program ended"
                return None
        with wait_for("the control channel", connect, timeout) as conn:
            conn.settimeout(timeout)
            conn.sendall(line.encode() + b"\n")
            data = b""
            while True:
                chunk = conn.recv(65536)
                assert chunk, f"connection closed after {data!r}"
                data += chunk
                lines = data.decode().splitlines()
                if data.endswith(b"\n") and lines and (lines[-1] == "ok" or lines[-1].startswith("error")):
                    break
        assert lines[-1] == "ok", f"{line}: {lines[-1]}"
        return lines[:-1]

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()


@pytest.fixture
def start(display, tmp_path):
    """start(exe, args=(), control=False, prepare=None): copies the program's folder, lets
    `prepare` change the copy, starts the program."""
    started = []

    def run(exe, args=(), control=False, prepare=None):
        source = BUILD / ("program_sim" if exe == "TEV_Kestra_sim.exe" else "program")
        folder = tmp_path / f"run{len(started)}" / source.name
        shutil.copytree(source, folder, ignore=shutil.ignore_patterns(".data_copied"))
        if prepare:
            prepare(folder)
        program = Program(display, folder, exe, args, control)
        started.append(program)
        return program

    yield run
    for program in started:
        program.end()
