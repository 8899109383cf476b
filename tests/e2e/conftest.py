"""End-to-end tests: the programs of a build tree's program folders under Wine, each test with a
fresh copy of a booted Wine prefix on its own Xvfb and a fresh copy of the program's folder,
driven with xdotool and the demo's control channel (kestra_e2e.py holds the machinery).

Fixtures:
- `tree`: the build tree (KESTRA_BUILD_DIR; unset, build/win64 where 32-bit Wine runs through
  qemu, else build/win32). Tests skip where its programs cannot run.
- `wine`: the test's own prefix (copied from build/<tree>/tests/e2e/wineprefix) with its server
  and Xvfb up; `wine.display` drives the screen. Ended and removed after the test.
- `display`: `wine.display` (windows(), geometry(), click(), key(), type(), screenshot()).
- `output`: the test's output folder, build/<tree>/tests/e2e/output/<test>, emptied at its
  start and kept: screenshots and program logs.
- `start(exe, args=(), control=False, prepare=None)`: copies the program's folder into the
  test's temporary folder, lets prepare(folder) change the copy, starts `exe` there and returns
  a Program (wait_exit(), command(), end()); ended after the test.
- `start_demo(args=(), prepare=None, visible=True)`: the same for TEV_Kestra_sim.exe with its
  control channel; returns a Demo once its main window is there and it has read the mouse
  (start.demo_again(demo) starts it again on the folder an earlier, ended run left):
  click_control("tab1"), click(x, y)/move(x, y) in client coordinates, layout(file),
  wait_active(), type(), key(), screenshot(name), memory(), memory_bytes(), mark(), log_since(),
  wait_log(), press()/release(), profile(), step(), command(line), quit().

CTest passes KESTRA_BUILD_DIR and KESTRA_SOURCE_DIR."""
import re
import shutil

import pytest

from kestra_e2e import Demo, Program, Tree, WinePrefix

TREE = Tree()


def pytest_collection_modifyitems(config, items):
    reason = TREE.skip_reason()
    if reason:
        for item in items:
            item.add_marker(pytest.mark.skip(reason=reason))


@pytest.fixture(scope="session")
def tree():
    """The build tree whose programs the tests run."""
    return TREE


@pytest.fixture
def wine(tree, tmp_path):
    """A fresh Wine prefix with its server and a private Xvfb; ended and removed afterwards."""
    prefix = None
    try:
        prefix = WinePrefix(tree, tmp_path / "wineprefix")
        yield prefix
    finally:
        if prefix:
            prefix.stop()


@pytest.fixture
def display(wine):
    """The test's X display."""
    return wine.display


@pytest.fixture
def output(tree, request):
    """The test's output folder (emptied first, kept afterwards)."""
    folder = tree.build / "tests" / "e2e" / "output" / re.sub(r"[^\w.-]+", "_", request.node.name)
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    return folder


@pytest.fixture
def start(tree, wine, tmp_path, output):
    """start(exe, args=(), control=False, prepare=None) -> Program, from a fresh folder copy."""
    started = []

    def copy(exe, prepare):
        source = tree.folder(exe)
        folder = tmp_path / f"run{len(started)}" / source.name
        shutil.copytree(source, folder, ignore=shutil.ignore_patterns(".data_copied"))
        if prepare:
            prepare(folder)
        return folder

    def run(exe, args=(), control=False, prepare=None):
        folder = copy(exe, prepare)
        program = Program(tree, wine.display, folder, exe, args, control,
                          log_path=output / f"{exe}.{folder.parent.name}.log")
        started.append(program)
        return program

    def run_demo(args=(), prepare=None, visible=True):
        demo = Demo(tree, wine.display, copy("TEV_Kestra_sim.exe", prepare), output, args)
        started.append(demo)
        return demo.wait_ready(visible)

    def run_demo_again(previous, args=(), visible=True):
        demo = Demo(tree, wine.display, previous.folder, output, args, run=f"run{len(started)}")
        started.append(demo)
        return demo.wait_ready(visible)

    run.demo = run_demo
    run.demo_again = run_demo_again
    yield run
    for program in started:
        program.end()


@pytest.fixture
def start_demo(start):
    """start_demo(args=(), prepare=None, visible=True) -> Demo, window found and mouse read."""
    return start.demo
