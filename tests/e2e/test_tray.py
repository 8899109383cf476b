"""Closing the window from the system menu (Alt+F4) hides it to the tray instead of ending the
program; a second start, or the tray icon's menu, brings it back, and the menu's other item ends
the program. In each of the two languages; each test ends what it started."""
import queue
import subprocess
import threading
import time
from pathlib import Path

import pytest
from PIL import Image

from kestra_e2e import LANGUAGES, SOURCE, set_config_value, wait_for

ICON_CENTRE = 12  # the first icon's middle in xembed_tray.py's window, at the screen's top left


@pytest.mark.parametrize("language", ["english", "spanish"])
def test_system_close_hides_to_the_tray_and_a_second_start_restores(start, start_demo, display, language):
    demo = start_demo(prepare=lambda folder: set_config_value(folder, "VER_SEL", LANGUAGES[language][0]))
    full_width = Image.open(SOURCE / "skins" / "main_mask.jpg").width

    def minimised():
        return display.geometry(demo.window)[2] < full_width
    demo.click_control("logo")
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
    demo = start_demo(prepare=lambda folder: set_config_value(folder, "VER_SEL", LANGUAGES[language][0]))
    tray = subprocess.Popen(["/usr/bin/python3", str(Path(__file__).with_name("xembed_tray.py"))], env=display.env,
                            stdout=subprocess.PIPE, text=True)
    lines = queue.Queue()
    threading.Thread(target=lambda: [lines.put(line.split()) for line in tray.stdout], daemon=True).start()

    def tray_says(what):
        return wait_for(f"the tray's {what}", lambda: not lines.empty() and lines.get(), alive=demo)[0]
    try:
        assert tray_says("start") == "ready"
        full_width = Image.open(SOURCE / "skins" / "main_mask.jpg").width
        # The tray docks the icon start-up added, whenever Wine's explorer gets to it, and the
        # docked icon's window becomes the active one: keys go there until a click on the
        # window has been read.
        assert tray_says("docking") == "docked"
        demo.click_control("logo")
        demo.wait_active()
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
        tray.kill()
        tray.wait()
