"""Closing the window from the system menu (Alt+F4) hides it to the tray instead of ending the
program; a second start brings it back. In each of the two languages; each test ends what it
started."""
import time

import pytest
from PIL import Image

from kestra_e2e import LANGUAGES, SOURCE, set_config_value, wait_for


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
