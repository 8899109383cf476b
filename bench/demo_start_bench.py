#!/usr/bin/python3
"""Start of the demo under Wine: from the process start to the main window mapped and to its
first paint (a pixel of page 0 showing what main_normal.jpg holds there), with the prefix's
server already up; the median of several starts. Then one full repaint of each page
(bench/paint_bench.exe). Prints figures; not a test.

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


def main():
    starts = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    tree = Tree()
    if reason := tree.skip_reason():
        raise SystemExit(reason)
    (px, py), expected = probe_point()
    mapped, painted = [], []
    with tempfile.TemporaryDirectory() as temp:
        prefix = WinePrefix(tree, Path(temp) / "wineprefix")
        display = prefix.display
        try:
            for i in range(starts):
                folder = Path(temp) / f"run{i}" / "program_sim"
                shutil.copytree(tree.folder("TEV_Kestra_sim.exe"), folder)
                start = time.monotonic()
                program = Program(tree, display, folder, "TEV_Kestra_sim.exe", control=True)
                try:
                    while not (windows := display.windows(f"^{MAIN_TITLE}$")):
                        time.sleep(0.005)
                    mapped.append((time.monotonic() - start) * 1000)
                    x, y, _, _ = display.geometry(windows[0])
                    deadline = time.monotonic() + 120
                    while time.monotonic() < deadline:
                        got = pixel(display, x + px, y + py)
                        if got and max(abs(a - b) for a, b in zip(got, expected)) <= 12:
                            break
                    else:
                        raise SystemExit(f"page 0 never showed {expected} at {px},{py} (last {got})")
                    painted.append((time.monotonic() - start) * 1000)
                    program.command("quit")
                    program.wait_exit()
                finally:
                    program.end()
                print(f"start {i + 1}: window mapped {mapped[-1]:.0f} ms, first paint {painted[-1]:.0f} ms", flush=True)
            print(f"{tree.build.name}, median of {starts}: window mapped {statistics.median(mapped):.0f} ms, "
                  f"first paint {statistics.median(painted):.0f} ms")
            print("full repaint of each page (bench/paint_bench.exe):", flush=True)
            subprocess.run([str(SOURCE / "cmake" / "wine-run.sh"), "bench/paint_bench.exe",
                            "Z:" + str(tree.build / "program_sim" / "skins").replace("/", "\\"), "20"],
                           cwd=tree.build, env=dict(display.env, KESTRA_WINEPREFIX=str(prefix.path)))
        finally:
            prefix.stop()


if __name__ == "__main__":
    main()
