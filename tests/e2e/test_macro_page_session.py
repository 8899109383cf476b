"""A person manages macros on the macro page with the pointer and the keyboard: a new group
renamed by typing, two new macros, one renamed with a repeat count, the other deleted; after a
restart the group and the macro are there, on disk and on the page, without a message."""
import subprocess
import time

from kestra_e2e import wait_for

MESSAGE = "^TEV_Kestra_sim$"
MACRO_FOLDER = "skins/INI_EN/macro"


def read_ini(path):
    """{key: value} of every line key=value of an INI file (sections folded)."""
    values = {}
    for line in path.read_text().splitlines():
        key, sep, value = line.strip().partition("=")
        if sep:
            values[key] = value
    return values


def record_fields(line):
    """The three-digit fields of a macro record line."""
    return [int(line[i:i + 3]) for i in range(0, len(line) - 2, 3)]


def record_name(fields):
    """The name a record line holds: UTF-16 little-endian units in its first 20 fields."""
    units = [fields[i] | fields[i + 1] << 8 for i in range(0, 20, 2)]
    return "".join(map(chr, units)).split("\0")[0]


def group_macros(path):
    """[(name, repeat count)] of a group file's records, in order."""
    values = read_ini(path)
    records = [record_fields(values[str(i)]) for i in range(int(values["macroNum"]))]
    return [(record_name(f), f[21] | f[22] << 8) for f in records]


def no_message(demo):
    time.sleep(0.5)
    assert not demo.display.windows(MESSAGE), "a message box showed"


def retype(demo, edit, text):
    """Clicks into an edit of the page, selects what it holds and types `text` over it."""
    demo.click(*demo.layout("skin_mac_en.ini").center(edit, "EDIT"))
    demo.key("End", "shift+Home")
    if text:
        demo.type(text)
        time.sleep(0.5)


def clipboard(display):
    """The X clipboard's text ("" when nobody offers one)."""
    try:
        return subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=display.env, capture_output=True,
                              text=True, timeout=5).stdout
    except subprocess.TimeoutExpired:
        return ""


def edit_text(demo, edit, before=""):
    """What an edit of the page holds, copied with Ctrl+C and read from the X clipboard, once
    the clipboard no longer holds `before`."""
    retype(demo, edit, "")
    demo.key("ctrl+c")
    return wait_for(f"the text of {edit}", lambda: (text := clipboard(demo.display)) != before and text,
                    timeout=20, alive=demo)


def test_macro_group_and_macro_made_by_hand_survive_a_restart(start):
    demo = start.demo()
    page = demo.layout("skin_mac_en.ini")
    folder = demo.folder / MACRO_FOLDER
    demo.click_control("tab2")
    demo.screenshot("macro_page_start")

    demo.click(*page.center("new_group"))
    wait_for("the new group's file", lambda: (folder / "New.dat").exists(), alive=demo)
    retype(demo, "group_name", "Raid")
    wait_for("the group renamed", lambda: (folder / "Raid.dat").exists() and not (folder / "New.dat").exists(),
             alive=demo)
    no_message(demo)

    demo.click(*page.center("new_macro"))
    retype(demo, "macro_name", "Sniper")
    demo.click(*page.center("mode_repeat"))
    retype(demo, "repeat_count", "25")
    wait_for("the macro saved", lambda: group_macros(folder / "Raid.dat") == [("Sniper", 25)], alive=demo)
    demo.click(*page.center("new_macro"))
    demo.screenshot("two_macros")
    demo.click(*page.center("delete_macro"))
    no_message(demo)
    demo.screenshot("one_macro")
    assert demo.quit() == 0

    groups = read_ini(folder / "macroGrp.ini")
    assert groups["macGrpNum"] == "4"
    assert [groups[str(i)] for i in range(4)] == ["Gaming", "Office", "Browser", "Raid"]
    assert group_macros(folder / "Raid.dat") == [("Sniper", 25)]
    assert not (folder / "New.dat").exists()

    stored = {p.name: p.read_bytes() for p in folder.iterdir()}

    # The restarted program opens the page without a message; the group chosen in the group
    # pop-up (its fourth row) shows its macro.
    again = start.demo_again(demo)
    again.click_control("tab2")
    no_message(again)
    again.screenshot("macro_page_restarted")
    again.click(*page.center("group_menu"))
    box = wait_for("the group pop-up", lambda: again.display.windows("^MainMenuDlg$"), alive=again)
    x, y, width, _ = again.display.geometry(box[-1])
    row = 26  # menu_mask.jpg's height / 15
    again.display.move(x + width // 2, y + 3 * row + row // 2)
    time.sleep(0.4)
    again.display.click(x + width // 2, y + 3 * row + row // 2)
    wait_for("the pop-up closed", lambda: not again.display.windows("^MainMenuDlg$"), alive=again)
    no_message(again)
    again.screenshot("macro_page_group_raid")
    group = edit_text(again, "group_name")
    assert (group, edit_text(again, "macro_name", before=group)) == ("Raid", "Sniper")
    assert again.quit() == 0
    assert {p.name: p.read_bytes() for p in folder.iterdir()} == stored
