"""What the end-to-end tests and the start benchmark drive the programs with: the build tree, a
fresh Wine prefix on a private Xvfb, a program started from a fresh copy of its folder, the
demo's window (clicks at layout coordinates, screenshots) and its control channel.

The tree: KESTRA_BUILD_DIR (CTest passes the tree the test belongs to); unset, build/win64 where
32-bit Wine runs through qemu-i386 (its programs die there once two threads run) and build/win32
elsewhere. Its programs' header says which Wine runs them (wine64 for the 64-bit tree)."""
import fcntl
import os
import re
import shutil
import socket
import subprocess
import time
from pathlib import Path

SOURCE = Path(os.environ.get("KESTRA_SOURCE_DIR", Path(__file__).resolve().parents[2]))
MAIN_TITLE = "AMorvek Quorvel Gaming Mouse"
# Generous: the first start in a prefix, on a busy machine, is slow.
TIMEOUT = float(os.environ.get("KESTRA_E2E_TIMEOUT", "300"))
# KESTRA_E2E_WINEDEBUG (for example "err+all") lets Wine tell in the programs' logs why one failed.
WINE_ENV = {"WINEDEBUG": os.environ.get("KESTRA_E2E_WINEDEBUG", "-all"), "WINEDLLOVERRIDES": "mscoree,mshtml="}


def wine_runs_through_qemu():
    """True where the kernel runs no 32-bit code and Wine's 32-bit loader runs in qemu-i386
    (scripts/enable-i386.sh registers it only then)."""
    try:
        return Path("/proc/sys/fs/binfmt_misc/qemu-i386").read_text().startswith("enabled")
    except OSError:
        return False


def exe_arch(path):
    """'win64' for an x86_64 program, 'win32' for an i386 one (the PE header's machine)."""
    data = Path(path).read_bytes()[:4096]
    pe = int.from_bytes(data[60:64], "little")
    return "win64" if data[pe + 4:pe + 6] == b"\x64\x86" else "win32"


def wait_for(what, check, timeout=TIMEOUT, step=0.2, alive=None):
    """Calls check() until it gives a true value and returns that; fails after `timeout`
    seconds, or as soon as the Program `alive` has ended."""
    end = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if alive is not None and alive.process.poll() is not None:
            raise AssertionError(f"the program ended (status {alive.process.returncode}) while waiting for {what}")
        if time.monotonic() > end:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(step)


class Tree:
    """A Windows build tree: its program folders (program/, program_sim/) and the Wine that
    runs them."""

    def __init__(self, build=None):
        default = SOURCE / "build" / ("win64" if wine_runs_through_qemu() else "win32")
        self.build = Path(build or os.environ.get("KESTRA_BUILD_DIR") or default)
        sim = self.build / "program_sim" / "TEV_Kestra_sim.exe"
        self.arch = exe_arch(sim) if sim.exists() else "win32"
        self.loader = "/usr/lib/wine/wine64" if self.arch == "win64" else "wine"
        # Booted once, copied for each test (build/<tree>/tests/e2e/wineprefix).
        self.template = self.build / "tests" / "e2e" / "wineprefix"

    def skip_reason(self):
        """Why the tree's programs cannot run here, or None."""
        if not (self.build / "program_sim" / "TEV_Kestra_sim.exe").exists():
            return f"{self.build} has no program folders; build it first"
        if self.arch == "win32" and wine_runs_through_qemu() and os.environ.get("KESTRA_E2E_UNDER_QEMU") != "1":
            return "32-bit Wine runs through qemu-i386 here (use the win64 tree; KESTRA_E2E_UNDER_QEMU=1 runs anyway)"
        return None

    def folder(self, exe):
        """The program folder that holds `exe`, as the build lays it out."""
        return self.build / ("program_sim" if exe == "TEV_Kestra_sim.exe" else "program")

    def prefix_script(self, *args, display=None):
        env = dict(os.environ, WINEARCH=self.arch, **WINE_ENV)
        env.pop("DISPLAY", None)
        if display:
            env["DISPLAY"] = display
        return subprocess.run([str(SOURCE / "cmake" / "wine-prefix.sh"), *map(str, args)], env=env,
                              capture_output=True, text=True, check=True).stdout.strip()

    def ensure_template(self):
        """Makes the template prefix if it is not there yet and ends its server, so its registry
        is on disk when it is copied. Booting a prefix takes minutes, so a copy of the test
        program's prefix (build/<tree>/wineprefix), when there is one, is taken instead; the
        unmanaged-window setting is then written again, as its server may not have saved it.
        Parallel workers wait on one lock: the first makes it, the others find it made."""
        self.template.parent.mkdir(parents=True, exist_ok=True)
        with open(f"{self.template}.template.lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if (self.template / ".kestra-unmanaged").exists():
                return
            booted = self.build / "wineprefix"
            if not self.template.exists() and (booted / ".kestra-unmanaged").exists():
                subprocess.run(["cp", "-a", str(booted), str(self.template)], check=True)
                (self.template / ".kestra-unmanaged").unlink()
            self.prefix_script(self.template)
            self.prefix_script("--stop", self.template)


class Display:
    """An X display (xdotool and ImageMagick run on it) and the environment Wine programs get."""

    def __init__(self, name, env=None):
        self.name = name
        self.env = dict(env or os.environ, DISPLAY=name)

    def run(self, *args, check=True):
        return subprocess.run(args, env=self.env, capture_output=True, text=True, check=check)

    def windows(self, name, visible=True):
        """X windows whose title matches the regular expression `name`."""
        args = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", name]
        return [int(w) for w in self.run(*args, check=False).stdout.split()]

    def geometry(self, window):
        """x, y, width, height of a window on the root."""
        values = {}
        for line in self.run("xdotool", "getwindowgeometry", "--shell", str(window)).stdout.splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value)
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def shape_size(self, window):
        """width, height of the window's shape (what shows of a shaped window), or None."""
        found = re.search(r"Window shape extents:\s+(\d+)x(\d+)", self.run("xwininfo", "-shape", "-id", str(window)).stdout)
        return (int(found[1]), int(found[2])) if found else None

    def screenshot(self, path, box=None):
        """The root window (or its part box=(x, y, width, height)) into the PNG file `path`."""
        crop = ["-crop", "{2}x{3}+{0}+{1}".format(*box), "+repage"] if box else []
        self.run("import", "-window", "root", *crop, str(path))
        return Path(path)

    def move(self, x, y):
        self.run("xdotool", "mousemove", str(x), str(y))

    def click(self, x, y, button=1):
        self.run("xdotool", "mousemove", str(x), str(y), "click", str(button))

    def key(self, *names):
        """Key presses as xdotool names them: "Return", "ctrl+a", "Tab"."""
        self.run("xdotool", "key", *names)

    def type(self, text):
        self.run("xdotool", "type", "--delay", "30", text)


class WinePrefix:
    """A fresh copy of the tree's template prefix with its own server and private Xvfb (or the
    display named by KESTRA_E2E_DISPLAY, to watch). stop() ends both and removes the copy."""

    def __init__(self, tree, path):
        self.tree = tree
        self.path = Path(path)
        tree.ensure_template()
        subprocess.run(["cp", "-a", str(tree.template), str(self.path)], check=True)
        name = tree.prefix_script(self.path, display=os.environ.get("KESTRA_E2E_DISPLAY"))
        env = dict(os.environ, WINEPREFIX=str(self.path), WINEARCH=tree.arch, **WINE_ENV)
        env.pop("KESTRA_CONTROL_PORT", None)
        self.display = Display(name, env)

    def stop(self):
        self.tree.prefix_script("--stop", self.path)
        shutil.rmtree(self.path, ignore_errors=True)


_ports_taken = 0
# Every test process on the machine, of any tree, session or clone, takes its ports through a lock
# file here and holds it while its program runs.
PORT_LOCKS = Path(os.environ.get("TMPDIR", "/tmp")) / "kestra-e2e-ports"


def take_port(tree):
    """A port for one program's control channel and the open lock file that holds it for this
    process until closed. The port is free (it binds) and no other test process holds its lock:
    a port only checked free may be taken by a test of another session before this program binds
    it, and that test's commands, its "quit" among them, would then reach this program (which
    ended with status 0 before its window). The ranges below the system's ephemeral ports, one per
    tree kind and worker, keep the search short."""
    global _ports_taken
    worker = int(re.sub(r"\D", "", os.environ.get("PYTEST_XDIST_WORKER", "")) or 0) % 10
    base = 20000 + (5000 if tree.arch == "win64" else 0) + 500 * worker
    PORT_LOCKS.mkdir(exist_ok=True)
    for _ in range(500):
        port = base + _ports_taken % 500
        _ports_taken += 1
        lock = open(PORT_LOCKS / str(port), "w")
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            with socket.socket() as s:
                s.bind(("127.0.0.1", port))
        except OSError:
            lock.close()
            continue
        return port, lock
    raise AssertionError(f"no free port in {base}..{base + 499}")


class Program:
    """One start of a program from `folder` in the prefix's display; its output goes to
    `log_path`. With control=True the demo's control channel listens on a free port."""

    def __init__(self, tree, display, folder, exe, args=(), control=False, log_path=None):
        self.display = display
        self.folder = Path(folder)
        self.exe = exe
        self.port, self.port_lock = take_port(tree) if control else (None, None)
        env = dict(display.env)
        if self.port:
            env["KESTRA_CONTROL_PORT"] = str(self.port)
        self.log = open(log_path or self.folder.parent / f"{exe}.log", "wb")
        self.process = subprocess.Popen([tree.loader, str(self.folder / exe), *args], cwd=self.folder, env=env,
                                        stdin=subprocess.DEVNULL, stdout=self.log, stderr=subprocess.STDOUT)

    def wait_exit(self, timeout=TIMEOUT):
        """The program's exit status, once it has ended."""
        return self.process.wait(timeout=timeout)

    def command(self, line, timeout=TIMEOUT):
        """One control-channel command (see the README's table); its answer lines without the
        final "ok". An "error ..." answer fails the test."""
        def connect():
            try:
                return socket.create_connection(("127.0.0.1", self.port), timeout=5)
            except OSError:
                return None
        with wait_for("the control channel", connect, timeout, alive=self) as conn:
            conn.settimeout(timeout)
            conn.sendall(line.encode() + b"\n")
            data = b""
            while True:
                chunk = conn.recv(65536)
                assert chunk, f"{line}: connection closed after {data!r}"
                data += chunk
                lines = data.decode().splitlines()
                if data.endswith(b"\n") and lines and (lines[-1] == "ok" or lines[-1].startswith("error")):
                    break
        assert lines[-1] == "ok", f"{line}: {lines[-1]}"
        return lines[:-1]

    def kill(self):
        """Ends the program at once, as TerminateProcess or a power cut does: nothing of its own
        end runs. Returns its exit status."""
        self.process.kill()
        return self.process.wait()

    def end(self):
        """Kills the program if it still runs; its port goes back."""
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()
        if self.port_lock:
            self.port_lock.close()


class Layout:
    """A layout file of the data folder (UTF-16 ini): per section, records
    `index=name,x,y,width,height,text,...` in client coordinates of the main window."""

    def __init__(self, path):
        self.sections = {}
        section = None
        for line in Path(path).read_bytes().decode("utf-16").splitlines():
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                section = self.sections.setdefault(line[1:-1], {})
            elif "=" in line and section is not None:
                key, _, value = line.partition("=")
                section[key] = value.split(",")

    def record(self, name, section="BUTTONPOS"):
        """The fields of the record called `name` (first field), or of index `name` (an int)."""
        records = self.sections[section]
        if isinstance(name, int):
            return records[str(name)]
        for fields in records.values():
            if fields[0] == name:
                return fields
        raise KeyError(f"{name} in [{section}]")

    def rect(self, name, section="BUTTONPOS"):
        """x, y, width, height of a record."""
        return tuple(int(v) for v in self.record(name, section)[1:5])

    def center(self, name, section="BUTTONPOS"):
        x, y, w, h = self.rect(name, section)
        return x + w // 2, y + h // 2


class Demo(Program):
    """TEV_Kestra_sim.exe with its control channel, its main window found. Client coordinates
    are the layout files' (the window has no frame). Screenshots go to `output`."""

    def __init__(self, tree, display, folder, output, args=(), run=None):
        self.output = Path(output)
        super().__init__(tree, display, folder, "TEV_Kestra_sim.exe", args, control=True,
                         log_path=self.output / f"TEV_Kestra_sim.{run or folder.parent.name}.log")
        self.window = None

    def wait_ready(self, visible=True):
        """Waits for the main window (shown, or only created with visible=False) and for
        start-up's read of the mouse's status."""
        self.window = wait_for("the main window", lambda: self.display.windows(f"^{MAIN_TITLE}$", visible),
                               alive=self)[0]
        wait_for("the status read", lambda: any(line.startswith("read 07") for line in self.log_since(0)), alive=self)
        return self

    # The window.
    def origin(self):
        """Where the client area's (0, 0) is on the screen."""
        x, y, _, _ = self.display.geometry(self.window)
        return x, y

    def layout(self, file="skin_main_en.ini", language="EN"):
        """A layout file of this run's data folder, e.g. layout("skin_mac_en.ini")."""
        return Layout(self.folder / "skins" / f"INI_{language}" / file)

    def click(self, x, y, button=1):
        """A click at client coordinates."""
        ox, oy = self.origin()
        self.display.click(ox + x, oy + y, button)

    def move(self, x, y):
        ox, oy = self.origin()
        self.display.move(ox + x, oy + y)

    def click_control(self, name, file="skin_main_en.ini", section="BUTTONPOS"):
        """A click in the middle of a layout record, e.g. click_control("tab2")."""
        self.click(*self.layout(file).center(name, section))

    def wait_active(self):
        """Waits until a click has made the window the one keys go to, where another window held
        the X input focus (a docked tray icon's): Wine gives an unmanaged window the focus only
        once the program has read the click, and keys sent before go to the window that had it.
        With no focus window (PointerRoot) keys go to the window under the pointer."""
        def active():
            focus = self.display.run("xdotool", "getwindowfocus", check=False).stdout.strip()
            return focus in ("", str(self.window))
        wait_for("the main window active", active, alive=self)

    def type(self, text):
        """Types text into the focused control."""
        self.display.type(text)

    def key(self, *names):
        self.display.key(*names)

    def screenshot(self, name, settle=0.5):
        """What shows of the window (after `settle` seconds) into output/<name>.png; returns the
        path. Its rectangle follows the dialog font Wine finds (wider than the skin here); the
        shot is cut to the shape, the skin's size."""
        time.sleep(settle)
        x, y, width, height = self.display.geometry(self.window)
        width, height = self.display.shape_size(self.window) or (width, height)
        return self.display.screenshot(self.output / f"{name}.png", (x, y, width, height))

    # The simulated mouse, through the control channel.
    def memory(self):
        """The mouse's memory: {address: 8 bytes} for each non-zero row."""
        rows = {}
        for line in self.command("memory"):
            address, *values = line.split()
            rows[int(address, 16)] = bytes(int(v, 16) for v in values)
        return rows

    def memory_bytes(self, address, length):
        """`length` bytes of the mouse's memory from `address` (zero rows included)."""
        rows = self.memory()
        out = bytearray()
        for a in range(address, address + length):
            out.append(rows.get(a - a % 8, bytes(8))[a % 8])
        return bytes(out)

    def mark(self):
        """Marks the report log; log() then starts here. Returns the log's length."""
        return int(self.command("mark")[0].split()[1])

    def log_since(self, entry=None):
        """The report log from `entry` (default: the last mark): sent reports in hex,
        "read .." status reads, "input .." input reports."""
        return self.command("log" if entry is None else f"log {entry}")

    def wait_log(self, what, check, timeout=TIMEOUT):
        """Waits until check(lines of the log since the mark) is true; returns the lines."""
        return wait_for(what, lambda: (lines := self.log_since()) and check(lines) and lines, timeout, alive=self)

    def press(self, slot):
        """The mouse's button in device slot 1..9 pressed (release() lets it go)."""
        self.command(f"press {slot}")

    def release(self, slot):
        self.command(f"release {slot}")

    def profile(self, number):
        """The profile switched on the mouse to 1..4."""
        self.command(f"profile {number}")

    def step(self, direction):
        """The mouse's macro step "up" or "down"."""
        self.command(f"step {direction}")

    def apply_by_power(self):
        """A power broadcast's apply, waited for until its last report (18 10) is sent."""
        self.mark()
        self.command("power")
        self.wait_log("the apply's reports", lambda lines: any(line.startswith("07 18 10") for line in lines))

    def quit(self):
        """Closes the main window as WM_CLOSE does and returns the exit status."""
        self.command("quit")
        return self.wait_exit()


# The interface's languages: config.ini's [Init] VER_SEL and the language's folder of skins\.
LANGUAGES = {"english": (1, "INI_EN"), "spanish": (0, "INI_CN")}


def config_value(folder, key, section="Init"):
    """An integer of the data folder's config.ini, or None."""
    text = (Path(folder) / "skins" / "config" / "config.ini").read_text()
    found = re.search(rf"^\[{section}\][^\[]*?^{key}=(-?\d+)", text, re.M | re.S)
    return int(found[1]) if found else None


def set_config_value(folder, key, value, section="Init"):
    """Changes an existing value of the data folder's config.ini."""
    config = Path(folder) / "skins" / "config" / "config.ini"
    text, count = re.subn(rf"(^\[{section}\][^\[]*?^{key}=)-?\d+", rf"\g<1>{value}", config.read_text(), flags=re.M | re.S)
    assert count == 1, f"{key} in [{section}]"
    config.write_text(text)


def first_group_file(folder, language):
    """The file of the first macro group of a language ("english", "spanish")."""
    macro = Path(folder) / "skins" / LANGUAGES[language][1] / "macro"
    names = (macro / "macroGrp.ini").read_text(encoding="latin-1")
    return macro / (re.search(r"^0=(.+?)\s*$", names, re.M)[1] + ".dat")
