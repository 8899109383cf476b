"""The window's life as a person lives it, in each of the two languages: the About box from the
system menu closed with OK, the window hidden to the tray with frame button 0 and brought back
from there, profile 2 chosen, and Exit from the tray. Each test ends what it started."""
import time

import pytest
from PIL import Image, ImageChops

from kestra_e2e import LANGUAGES, SOURCE, config_value, set_config_value, wait_for
from test_mouse_reports import applied
from test_person_session import MAIN_MENU, PROFILE_ROW, hover_and_click, popup, popup_gone, row_point
from test_tray import ICON_CENTRE, Tray, give_keys_to, visible_windows

MAIN_LAYOUTS = {"english": "skin_main_en.ini", "spanish": "skin_main.ini"}
ABOUT = "^About TEV_Kestra$"


@pytest.mark.parametrize("language", ["english", "spanish"])
def test_about_tray_profile_and_exit(start_demo, display, output, language):
    value, folder_name = LANGUAGES[language]
    tray = Tray(display)
    try:
        demo = start_demo(prepare=lambda folder: set_config_value(folder, "VER_SEL", value))
        main = demo.layout(MAIN_LAYOUTS[language], folder_name[4:])
        full_width = Image.open(SOURCE / "skins" / "main_mask.jpg").width

        # About: the system menu's last item; OK (Enter) closes it and gives the window back.
        give_keys_to(demo, tray)
        # (Wine opens the menu, and moves in it, a moment after each key.)
        demo.key("alt+space")
        time.sleep(1)
        demo.key("Up")
        time.sleep(1)
        demo.key("Return")
        wait_for("the About box", lambda: display.windows(ABOUT), alive=demo)
        demo.key("Return")
        wait_for("the About box closed", lambda: not display.windows(ABOUT), alive=demo)

        # Frame button 0 hides the window to the tray; a double click on the icon brings it back,
        # and the next apply leaves the mouse's memory as it was.
        first = applied(demo)
        memory = demo.memory()
        demo.click(*main.center("minimize"))
        wait_for("the window hidden to the tray", lambda: display.geometry(demo.window)[2] < full_width, alive=demo)
        display.move(ICON_CENTRE, ICON_CENTRE)
        display.run("xdotool", "click", "--repeat", "2", "--delay", "80", "1")
        wait_for("the restored window", lambda: display.geometry(demo.window)[2] >= full_width, alive=demo)
        assert applied(demo) == first
        assert demo.memory() == memory

        # Profile 2 from the profile pop-up: kept, and the page shows its names at once.
        before = Image.open(demo.screenshot("profile_1")).convert("RGB")
        demo.click(*main.center("profile"))
        box = popup(demo, MAIN_MENU)
        hover_and_click(demo, *row_point(box, 2, PROFILE_ROW))
        popup_gone(demo, MAIN_MENU)
        wait_for("CurConfig 2", lambda: config_value(demo.folder, "CurConfig") == 2, alive=demo)
        shown = Image.open(demo.screenshot("profile_2")).convert("RGB")
        x, y, width, height = main.rect("mouse_button9")  # Macro in profile 1, DPI Up in profile 2
        assert ImageChops.difference(before, shown).getbbox() is not None
        assert ImageChops.difference(before.crop((x, y, x + width, y + height)),
                                     shown.crop((x, y, x + width, y + height))).getbbox() is not None

        # Exit from the tray's menu ends the program (hidden first: on this display the window's
        # corner covers the icon).
        demo.click(*main.center("minimize"))
        wait_for("the window hidden to the tray", lambda: display.geometry(demo.window)[2] < full_width, alive=demo)
        shown_before = visible_windows(display)
        display.click(ICON_CENTRE, ICON_CENTRE, button=3)
        menu = wait_for("the tray menu", lambda: sorted(visible_windows(display) - shown_before), alive=demo)[0]
        x, y, width, height = display.geometry(menu)
        display.move(x + width // 2, y + height * 3 // 4)
        hover_and_click(demo, x + width // 2, y + height * 3 // 4)
        assert demo.wait_exit(timeout=60) == 0
    finally:
        tray.stop()
