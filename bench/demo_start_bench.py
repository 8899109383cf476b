#!/usr/bin/python3
"""Start of the demo under Wine: from the process start to the main window mapped and to its
first paint (a pixel of page 0 showing what main_normal.jpg holds there), with the prefix's
server already up; the median of several starts. Each start of the demo follows one of
bench/plain_window.exe, a plain Win32 window of the skin's size and title filled with the probed
colour, measured the same way on the same prefix and display: the platform's floor, and the
demo's ratio to it. The first start of each is left out of the medians (it loads what later starts
find in the system's caches). Then one full repaint of each page (bench/paint_bench.exe). Prints
figures; not a test.

    /usr/bin/python3 bench/demo_start_bench.py [starts]      (after the tree's build)

The tree as the end-to-end tests pick it (KESTRA_BUILD_DIR; unset, build/win64 where 32-bit
Wine runs through qemu-i386, else build/win32). Runs in a copy of their template prefix on a
private Xvfb."""
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from kestra_e2e import MAIN_TITLE, SOURCE, Program, Tree, WinePrefix  # noqa: E402
from PIL import Image  # noqa: E402


def probe_point():
    """A page-0 pixel the mask keeps, inside an even patch (no text, no edge), as far from
    black (what the window shows before it paints) as such pixels go."""
    normal = Image.open(SOURCE / "skins" / "main_normal.jpg").convert("RGB")
    mask = Image.open(SOURCE / "skins" / "main_mask.jpg").convert("L")
    best, point = -1, (0, 0)
    for y in range(8, normal.height - 8, 8):
        for x in range(8, normal.width - 8, 8):
            patch = normal.crop((x - 4, y - 4, x + 5, y + 5)).getextrema()
            even = all(high - low <= 6 for low, high in patch)
            if even and mask.getpixel((x, y)) <= 100 and sum(normal.getpixel((x, y))) > best:
                best, point = sum(normal.getpixel((x, y))), (x, y)
    return point, normal.getpixel(point)


def pixel(display, x, y):
    out = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "rgb:-"],
                         env=display.env, capture_output=True).stdout
    return tuple(out[:3]) if len(out) >= 3 else None


def wait_painted(display, window, point, expected):
    """Polls the pixel at `point` of `window` until it shows `expected` (within JPEG's error)."""
    x, y, _, _ = display.geometry(window)
    deadline = time.monotonic() + 120
    got = None
    while time.monotonic() < deadline:
        got = pixel(display, x + point[0], y + point[1])
        if got and max(abs(a - b) for a, b in zip(got, expected)) <= 12:
            return
    raise SystemExit(f"the window never showed {expected} at {point} (last {got})")


def measure(display, program, point, expected, end):
    """Times from `program`'s start (just before it) to its window mapped and painted; then
    end(program) and waits until the window is gone."""
    start = time.monotonic()
    try:
        while not (windows := display.windows(f"^{MAIN_TITLE}$")):
            if program.process.poll() is not None:
                raise SystemExit(f"{program.exe} ended with status {program.process.returncode} before its window showed")
            time.sleep(0.005)
        mapped = (time.monotonic() - start) * 1000
        wait_painted(display, windows[0], point, expected)
        painted = (time.monotonic() - start) * 1000
        end(program)
    finally:
        program.end()
    while display.windows(f"^{MAIN_TITLE}$"):
        time.sleep(0.01)
    return mapped, painted


def median(values):
    """The median, the first (cold) start left out when there are others."""
    return statistics.median(values[1:] if len(values) > 1 else values)


def main():
    starts = int(sys.argv[1]) if len(sys.argv) > 1 else 7
    tree = Tree()
    if reason := tree.skip_reason():
        raise SystemExit(reason)
    plain_exe = tree.build / "bench" / "plain_window.exe"
    point, expected = probe_point()
    width, height = Image.open(SOURCE / "skins" / "main_mask.jpg").size
    plain_args = (str(width), str(height), "{:02X}{:02X}{:02X}".format(*expected))
    times = {"plain window": [], "demo": []}

    def quit_demo(program):
        program.command("quit")
        program.wait_exit()

    with tempfile.TemporaryDirectory() as temp:
        prefix = WinePrefix(tree, Path(temp) / "wineprefix")
        display = prefix.display
        try:
            for i in range(starts):
                plain = Program(tree, display, plain_exe.parent, plain_exe.name, plain_args,
                                log_path=Path(temp) / f"plain{i}.log")
                times["plain window"].append(measure(display, plain, point, expected, lambda program: None))
                folder = Path(temp) / f"run{i}" / "program_sim"
                shutil.copytree(tree.folder("TEV_Kestra_sim.exe"), folder)
                demo = Program(tree, display, folder, "TEV_Kestra_sim.exe", control=True)
                times["demo"].append(measure(display, demo, point, expected, quit_demo))
                print(f"start {i + 1}: " + ", ".join(
                    f"{name} mapped {runs[-1][0]:.0f} ms, painted {runs[-1][1]:.0f} ms" for name, runs in times.items()),
                    flush=True)
            medians = {name: (median([m for m, _ in runs]), median([p for _, p in runs])) for name, runs in times.items()}
            left_out = " (first left out)" if starts > 1 else ""
            print(f"{tree.build.name}, median of {starts} starts{left_out}:")
            for name, (mapped, painted) in medians.items():
                print(f"  {name}: window mapped {mapped:.0f} ms, first paint {painted:.0f} ms")
            (plain_mapped, plain_painted), (demo_mapped, demo_painted) = medians["plain window"], medians["demo"]
            print(f"  demo / plain window: mapped {demo_mapped / plain_mapped:.2f} x, first paint {demo_painted / plain_painted:.2f} x")
            print("full repaint of each page (bench/paint_bench.exe):", flush=True)
            subprocess.run([str(SOURCE / "cmake" / "wine-run.sh"), "bench/paint_bench.exe",
                            "Z:" + str(tree.build / "program_sim" / "skins").replace("/", "\\"), "20"],
                           cwd=tree.build, env=dict(display.env, KESTRA_WINEPREFIX=str(prefix.path)))
        finally:
            prefix.stop()


if __name__ == "__main__":
    main()
