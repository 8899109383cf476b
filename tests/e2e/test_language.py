"""The interface's language switched at run time and back, in each of the two languages: what a
restart comes up in, and where a macro edited before a switch is kept. Each test ends what it
started."""
import re
import time

import pytest
from PIL import Image, ImageChops

from kestra_e2e import LANGUAGES, Demo, config_value, first_group_file, set_config_value, wait_for

MACRO_LAYOUTS = {"english": "skin_mac_en.ini", "spanish": "skin_mac.ini"}
TABS = (24, 62, 818, 42)
MACRO_LOOP_FIELD = 20  # three digits each


def ver_sel(folder):
    return config_value(folder, "VER_SEL")


def first_macro_loop_mode(path):
    line = re.search(r"^0=(\d+)", path.read_text(), re.M)[1]
    return int(line[3 * MACRO_LOOP_FIELD:3 * MACRO_LOOP_FIELD + 3])


@pytest.mark.parametrize("start_language", ["english", "spanish"])
def test_switch_and_back_keeps_the_language_and_the_edited_macro(start_demo, display, tree, output, start_language):
    other = "spanish" if start_language == "english" else "english"
    value, folder_name = LANGUAGES[start_language]
    other_value = LANGUAGES[other][0]
    demo = start_demo(prepare=lambda folder: set_config_value(folder, "VER_SEL", value))
    folder = demo.folder
    left_file = first_group_file(folder, start_language)
    other_file = first_group_file(folder, other)
    other_shipped = other_file.read_bytes()
    assert first_macro_loop_mode(left_file) == 0

    def tabs(name):
        ox, oy = demo.origin()
        time.sleep(1)
        return Image.open(display.screenshot(output / f"{name}.png", (ox + TABS[0], oy + TABS[1], *TABS[2:]))).convert("RGB")

    def same(a, b):
        return ImageChops.difference(a, b).getbbox() is None

    started = tabs("tabs_start")
    # The first macro's play mode changed, then the other language chosen: the macro is kept in
    # the group file of the language left.
    demo.click_control("tab2")
    demo.click(*demo.layout(MACRO_LAYOUTS[start_language], folder_name[4:]).center("mode_toggle"))
    demo.click_control(other)
    wait_for("VER_SEL of the other language", lambda: ver_sel(folder) == other_value, alive=demo)
    demo.click_control("tab0")
    switched = tabs("tabs_switched")
    assert not same(started, switched)
    assert first_macro_loop_mode(left_file) != 0
    assert other_file.read_bytes() == other_shipped
    # And back.
    demo.click_control(start_language)
    wait_for("VER_SEL back", lambda: ver_sel(folder) == value, alive=demo)
    assert same(started, tabs("tabs_back"))
    assert demo.quit() == 0
    (output / f"TEV_Kestra_sim.{folder.parent.name}.log").rename(output / "first_run.log")

    demo = Demo(tree, display, folder, output)
    try:
        demo.wait_ready()
        assert same(started, tabs("tabs_restarted"))
        assert demo.quit() == 0
    finally:
        demo.end()
    assert ver_sel(folder) == value
    assert first_macro_loop_mode(left_file) != 0
