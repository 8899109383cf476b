"""A person's session on the demo with the pointer alone: about twenty real clicks through the
pages and their pop-ups, then an apply. Afterwards config.ini holds what was chosen and the
simulated mouse's memory is what apply_probe computes from the saved data folder.

The pop-ups are found as X windows by their titles; their rows are placed as the program places
them: row heights from the mask images (function pop-up menu1_mask.jpg / 15, profile pop-up
menu_mask.jpg / 10, the others menu_mask.jpg / 15), a second-level pop-up beside its parent row,
the macro choice pop-up beside its group row."""
import subprocess
import time

from PIL import Image

from kestra_e2e import SOURCE, wait_for

CONFIG = "skins/config/config.ini"
MAIN_MENU = "^MainMenuDlg$"
SUB_MENU = "^SubMenuDlg$"
COLOUR_DIALOG = "^Colou?r$"
# The apply's last reports in the mouse's log: apply all, then the end command.
APPLY_ALL, END = "07 18 10 ", "07 18 00 "


def mask_size(name):
    return Image.open(SOURCE / "skins" / name).size


FUNCTION_WIDTH, FUNCTION_ROW = mask_size("menu1_mask.jpg")[0], mask_size("menu1_mask.jpg")[1] // 15
MENU_WIDTH, MENU_ROW = mask_size("menu_mask.jpg")[0], mask_size("menu_mask.jpg")[1] // 15
PROFILE_ROW = mask_size("menu_mask.jpg")[1] // 10


def popup(demo, title):
    """The screen rectangle (x, y, width, height) of the shown pop-up called `title`."""
    windows = wait_for(f"the pop-up {title}", lambda: demo.display.windows(title), alive=demo)
    # A pop-up is shown and then placed beside its control: wait until the place holds.
    last = [None]

    def settled():
        time.sleep(0.3)
        box, last[0] = last[0], demo.display.geometry(windows[-1])
        return box == last[0] and box

    return wait_for(f"the pop-up {title} placed", settled, alive=demo)


def popup_gone(demo, title):
    wait_for(f"{title} closed", lambda: not demo.display.windows(title), alive=demo)


def hover_and_click(demo, x, y, settle=0.4):
    """Moves the pointer to a screen point, lets the hover land, then clicks there."""
    demo.display.move(x, y)
    time.sleep(settle)
    demo.display.click(x, y)


def open_second_level(demo, button, row):
    """Opens the function pop-up of `button` and the second-level pop-up of its row `row` by
    hovering that row; returns both pop-ups' rectangles."""
    demo.click_control(button)
    box = popup(demo, MAIN_MENU)
    demo.display.move(*row_point(box, row, FUNCTION_ROW, FUNCTION_WIDTH))
    return box, popup(demo, SUB_MENU)


def row_point(box, row, row_height, width=None):
    """Screen point in the middle of row `row` (1-based) of a pop-up at box."""
    x, y, w, _ = box
    return x + (width or w) // 2, y + (row - 1) * row_height + row_height // 2


def ini_section(text, name):
    """{key: value} of section [name] of an INI text."""
    values, inside = {}, False
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("["):
            inside = line == f"[{name}]"
        elif inside and "=" in line:
            key, _, value = line.partition("=")
            values[key] = value
    return values


def memory_rows(lines):
    """{address: bytes} of memory dump lines "AAAA b0 .. b7"."""
    rows = {}
    for line in lines:
        address, *values = line.split()
        rows[int(address, 16)] = bytes(int(v, 16) for v in values)
    return rows


def probe_memory(tree, display, folder):
    """The mouse's memory after one apply of the folder's saved data, as apply_probe.exe says."""
    probe = tree.build / "tests" / "tools" / "apply_probe.exe"
    windows_folder = "Z:" + str(folder).replace("/", "\\")
    out = subprocess.run([tree.loader, str(probe), windows_folder], env=display.env, capture_output=True,
                         text=True, timeout=300, check=True).stdout.splitlines()
    assert "memory" in out, out[-20:]
    return memory_rows(out[out.index("memory") + 1:])


def test_person_sets_profile_2_by_pointer_and_applies(start_demo, tree, output):
    demo = start_demo()
    main = demo.layout()
    advanced = demo.layout("skin_advance_en.ini")
    lighting = demo.layout("skin_color_en.ini")
    demo.screenshot("page0_start")

    # 1-2: the profile pop-up, row 2.
    demo.click_control("profile")
    box = popup(demo, MAIN_MENU)
    demo.screenshot("popup_profiles")
    hover_and_click(demo, *row_point(box, 2, PROFILE_ROW))
    popup_gone(demo, MAIN_MENU)
    wait_for("CurConfig=2", lambda: "CurConfig=2" in (demo.folder / CONFIG).read_text(), alive=demo)

    # 3-4: button 8 gets DPI Cycle (function pop-up row 6).
    demo.click_control("mouse_button8")
    box = popup(demo, MAIN_MENU)
    hover_and_click(demo, *row_point(box, 6, FUNCTION_ROW, FUNCTION_WIDTH))
    popup_gone(demo, MAIN_MENU)

    # 5-6: button 5 gets Volume Up (Media Keys, row 8, then its second-level row 4).
    box, sub = open_second_level(demo, "mouse_button5", 8)
    assert sub[0] == box[0] + FUNCTION_WIDTH and sub[1] == box[1] - 2 * FUNCTION_ROW
    demo.display.screenshot(output / "popup_media_keys.png")
    hover_and_click(demo, *row_point(sub, 4, MENU_ROW, MENU_WIDTH))
    popup_gone(demo, MAIN_MENU)

    # 7-8: button 4 gets the second macro of the second group (Macros row 9, group row 2, then
    # the macro choice pop-up's row 2).
    box, sub = open_second_level(demo, "mouse_button4", 9)
    groups = 3
    assert sub[1] == box[1] + (8 - groups // 2) * FUNCTION_ROW
    demo.display.move(*row_point(sub, 2, MENU_ROW, MENU_WIDTH))
    time.sleep(1)
    macros = 6  # Office.dat
    choice_top = sub[1] + (2 - macros // 2 - 1) * MENU_ROW
    demo.display.screenshot(output / "popup_macro_choice.png")
    hover_and_click(demo, *row_point((sub[0] + MENU_WIDTH, choice_top, MENU_WIDTH, 0), 2, MENU_ROW))
    popup_gone(demo, MAIN_MENU)
    demo.move(*main.center("hint"))
    demo.screenshot("page0_profile2")

    # 9-13: the advanced page, two DPI levels, the colour of level 2 through the colour dialog.
    demo.click_control("tab1")
    demo.click(*advanced.center("dpi0_4"))
    demo.click(*advanced.center("dpi2_7"))
    demo.click(*advanced.center("swatch1"))
    dialog = wait_for("the colour dialog", lambda: demo.display.windows(COLOUR_DIALOG), alive=demo)
    demo.display.screenshot(output / "colour_dialog.png")
    demo.display.run("xdotool", "windowfocus", "--sync", str(dialog[0]), check=False)
    demo.key("Return")
    wait_for("the colour dialog closed", lambda: not demo.display.windows(COLOUR_DIALOG), alive=demo)
    demo.screenshot("page1_performance")

    # 14-15: the macro page is looked at.
    demo.click_control("tab2")
    demo.screenshot("page2_macros")

    # 16-18: the lighting page, effect row 6 in the effect pop-up.
    demo.click_control("tab3")
    demo.click(*lighting.center("effect"))
    box = popup(demo, MAIN_MENU)
    demo.display.move(*row_point(box, 6, MENU_ROW, MENU_WIDTH))
    demo.screenshot("popup_effects")
    hover_and_click(demo, *row_point(box, 6, MENU_ROW, MENU_WIDTH))
    popup_gone(demo, MAIN_MENU)
    demo.screenshot("page3_lighting")

    # 19-20: back to the buttons, apply.
    demo.click_control("tab0")
    demo.mark()
    demo.click_control("apply")
    # The apply saves config.ini before and after its reports to the mouse, a key at a time
    # (Wine writes the whole file for each), so the file is read once the program has ended:
    # the window takes the end request only when the apply is over. The mouse's memory is
    # whole once the apply-all command and its end have come.
    def applied(lines):
        sent = [line for line in lines if not line.startswith(("read", "input"))]
        return any(line.startswith(APPLY_ALL) for line in sent) and sent[-1].startswith(END)
    demo.wait_log("the apply-all command", applied)
    memory = demo.memory()
    demo.screenshot("page0_applied")
    assert demo.quit() == 0
    text = (demo.folder / CONFIG).read_text()
    profile = ini_section(text, "Config2")
    assert ini_section(text, "Init")["CurConfig"] == "2"
    assert (profile["K7"], profile["K4"], profile["K3"]) == ("6", "25", str(2 << 8 | 1))
    assert (profile["DPI_SET0"], profile["DPI_SET2"]) == ("4", "7")
    # The dialog opens on black; Return takes it: each channel 15 in the mouse's inverted form.
    assert (profile["DPI1_R"], profile["DPI1_G"], profile["DPI1_B"]) == ("15", "15", "15")
    assert profile["LED_TYPE"] == "5"
    # Profile 2 kept its own button reactions. Profile 1 kept its own assignments and reactions;
    # the DPI and lighting settings are the mouse's, saved into every profile's section.
    assert (profile["LED_REACT_TYPE0"], profile["LED_REACT_EN1"]) == ("2", "0")
    shipped = ini_section((tree.folder("TEV_Kestra_sim.exe") / CONFIG).read_text(), "Config1")
    first = ini_section(text, "Config1")
    assert first.keys() == profile.keys()
    for key, value in first.items():
        own = key[0] == "K" or key.startswith("LED_REACT")
        assert value == (shipped[key] if own else profile[key]), key

    expected = probe_memory(tree, demo.display, demo.folder)
    assert expected
    assert memory == expected
