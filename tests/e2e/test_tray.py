"""Closing the window from the system menu (Alt+F4) hides it to the tray instead of ending the
program; a second start, or the tray icon's menu, brings it back, and the menu's other item ends
the program. In each of the two languages; each test ends what it started.

The tray (xembed_tray.py) runs before the program starts: the icon the start-up adds then docks
there at once. Without a tray Wine shows the icon in a "Wine System Tray" window of its own at the
screen's top left, over the main window's logo, and the click that gives the main window the
keyboard would land on that window as soon as it is mapped."""
import queue
import subprocess
import threading
import time
from pathlib import Path

import pytest
from PIL import Image

from kestra_e2e import LANGUAGES, SOURCE, set_config_value, wait_for

ICON_CENTRE = 12  # the first icon's middle in xembed_tray.py's window, at the screen's top left


class Tray:
    """xembed_tray.py on the display, once it owns the tray selection; its lines ("ready",
    "docked WINDOW") are read as they come, so none waits behind another in a buffer."""

    def __init__(self, display):
        self.process = subprocess.Popen(["/usr/bin/python3", str(Path(__file__).with_name("xembed_tray.py"))],
                                        env=display.env, stdout=subprocess.PIPE, text=True)
        self.lines = queue.Queue()
        threading.Thread(target=lambda: [self.lines.put(line.split()) for line in self.process.stdout],
                         daemon=True).start()
        assert self.says("start") == "ready"

    def says(self, what, alive=None):
        """The first word of the tray's next line; fails after the usual timeout."""
        return wait_for(f"the tray's {what}", lambda: not self.lines.empty() and self.lines.get(), alive=alive)[0]

    def stop(self):
        self.process.kill()
        self.process.wait()


def give_keys_to(demo, tray):
    """Once the icon start-up added has docked (its window then becomes the active one), a click
    on the logo, read by the program, makes the main window the one keys go to."""
    assert tray.says("docking", alive=demo) == "docked"
    demo.click_control("logo")
    demo.wait_active()


@pytest.mark.parametrize("language", ["english", "spanish"])
def test_system_close_hides_to_the_tray_and_a_second_start_restores(start, start_demo, display, language):
    tray = Tray(display)
    try:
        system_close_and_second_start(start, start_demo, display, language, tray)
    finally:
        tray.stop()


def system_close_and_second_start(start, start_demo, display, language, tray):
    demo = start_demo(prepare=lambda folder: set_config_value(folder, "VER_SEL", LANGUAGES[language][0]))
    full_width = Image.open(SOURCE / "skins" / "main_mask.jpg").width

    def minimised():
        return display.geometry(demo.window)[2] < full_width
    give_keys_to(demo, tray)
    demo.key("alt+F4")
    # With no window manager, Wine shows a minimised window as a small title bar.
    wait_for("the window hidden to the tray", minimised, alive=demo)
    time.sleep(2)
    assert minimised() and demo.process.poll() is None
    second = start("TEV_Kestra_sim.exe")
    assert second.wait_exit() == 0
    wait_for("the restored window", lambda: not minimised(), alive=demo)
    assert demo.quit() == 0


def visible_windows(display):
    found = display.run("xdotool", "search", "--onlyvisible", "--name", ".*", check=False).stdout
    return {int(w) for w in found.split()}


@pytest.mark.parametrize("language", ["english", "spanish"])
@pytest.mark.parametrize("item", ["show", "exit"])
def test_tray_menu_shows_the_window_or_ends_the_program(start_demo, display, output, language, item):
    tray = Tray(display)
    try:
        demo = start_demo(prepare=lambda folder: set_config_value(folder, "VER_SEL", LANGUAGES[language][0]))
        full_width = Image.open(SOURCE / "skins" / "main_mask.jpg").width
        give_keys_to(demo, tray)
        demo.key("alt+F4")
        wait_for("the window hidden to the tray", lambda: display.geometry(demo.window)[2] < full_width, alive=demo)
        before = visible_windows(display)
        display.click(ICON_CENTRE, ICON_CENTRE, button=3)
        menu = wait_for("the tray menu", lambda: sorted(visible_windows(display) - before), alive=demo)[0]
        x, y, width, height = display.geometry(menu)
        display.screenshot(output / "tray_menu.png", (x, y, width, height))
        row = 0 if item == "show" else 1
        display.move(x + width // 2, y + height * (2 * row + 1) // 4)
        time.sleep(0.5)
        display.click(x + width // 2, y + height * (2 * row + 1) // 4)
        if item == "show":
            wait_for("the restored window", lambda: display.geometry(demo.window)[2] >= full_width, alive=demo)
            assert demo.quit() == 0
        else:
            assert demo.wait_exit(timeout=60) == 0
    finally:
        tray.stop()
