"""A person edits macros across two groups, in each language: a macro recorded in the first group,
a switch to the smaller third group, a new macro there, an event of its first macro deleted
through the context menu and that macro renamed, then an apply and a restart. Every group file
holds what was done (the new macro empty, not the first group's leftovers), and the mouse holds
what apply_probe computes for the saved folder. And the program killed after an edit, with a
recording under way and the repeat count's own menu used during it: the edit is on disk, the macro
being recorded as it was stored. Each test ends what it started."""
import subprocess
import time

import pytest

from kestra_e2e import LANGUAGES, set_config_value, wait_for

LAYOUTS = {"english": ("skin_mac_en.ini", "EN"), "spanish": ("skin_mac.ini", "CN")}
GROUPS = {"english": ("Gaming", "Office", "Browser"), "spanish": ("Juegos", "Oficina", "Navegador")}
MAIN_MENU = "^MainMenuDlg$"
MENU_ROW = 26  # menu_mask.jpg's height / 15
LIST_LINE = 8  # the middle of a list's first line, below its top
HEADER_FIELDS = 35
EVENT_FIELDS = 8
WORD = "dog"
# An edit's context menu under Wine, from the click that opens it: its items' middles to the right
# (past the window's edge) and below.
EDIT_MENU_X = 75
EDIT_MENU_DELETE = 88
EDIT_MENU_SELECT_ALL = 113


def macro_lines(path, text=None):
    """macroNum and {index: line} of a group file (or of its text)."""
    count, lines = None, {}
    for line in (path.read_text(encoding="ascii") if text is None else text).splitlines():
        key, _, value = line.partition("=")
        if key == "macroNum":
            count = int(value)
        elif key.isdigit():
            lines[int(key)] = value
    return count, lines


def decode(line):
    """(name, [event fields]) of a macro line: each event its eight fields."""
    fields = [int(line[i:i + 3]) for i in range(0, len(line) - len(line) % 3, 3)]
    units = [fields[2 * i] | fields[2 * i + 1] << 8 for i in range(10)]
    name = "".join(map(chr, units)).split("\0")[0]
    count = fields[23] | fields[24] << 8
    return name, [fields[HEADER_FIELDS + EVENT_FIELDS * i:HEADER_FIELDS + EVENT_FIELDS * (i + 1)] for i in range(count)]


def first_macro(path):
    """(name, events) of a group file's first macro, or None while the program is rewriting the
    file (an INI write rewrites the whole file, so a read can find it cut short)."""
    try:
        return decode(macro_lines(path)[1][0])
    except (KeyError, ValueError, IndexError, UnicodeDecodeError):
        return None


def stored_line(path, index):
    """Line `index` of a group file, or None while the program is rewriting the file."""
    try:
        return macro_lines(path)[1].get(index)
    except (ValueError, UnicodeDecodeError):
        return None


def repeat_count(line):
    return int(line[63:66]) | int(line[66:69]) << 8


def probe_memory(tree, display, folder):
    """The mouse's memory after one apply of the folder as saved, as apply_probe.exe computes it."""
    probe = tree.build / "tests" / "tools" / "apply_probe.exe"
    out = subprocess.run([tree.loader, str(probe), "Z:" + str(folder).replace("/", "\\")], env=display.env,
                         capture_output=True, text=True, timeout=300, check=True).stdout.splitlines()
    rows = {}
    for line in out[out.index("memory") + 1:]:
        address, *values = line.split()
        rows[int(address, 16)] = bytes(int(v, 16) for v in values)
    return rows


def snapshot(folder):
    """{path: bytes} of every macro file and group list of the data folder."""
    return {p.relative_to(folder): p.read_bytes() for p in (folder / "skins").rglob("*.dat")} | {
        p.relative_to(folder): p.read_bytes() for p in (folder / "skins").rglob("macroGrp.ini")}


@pytest.mark.parametrize("language", ["english", "spanish"])
def test_macro_edits_across_groups_reach_files_and_mouse(start, tree, display, language):
    ver_sel, folder_name = LANGUAGES[language]
    layout_file, layout_language = LAYOUTS[language]
    first, _, smaller = GROUPS[language]

    def prepare(folder):
        set_config_value(folder, "VER_SEL", ver_sel)
        # Mouse button 4 plays the macro about to be recorded (the first group's seventh), button
        # 5 the third group's first macro.
        set_config_value(folder, "K3", 1 << 8 | 6, "Config1")
        set_config_value(folder, "K4", 3 << 8 | 0, "Config1")

    demo = start.demo(prepare=prepare)
    folder = demo.folder
    macros = folder / "skins" / folder_name / "macro"
    shipped = snapshot(folder)
    _, shipped_first = macro_lines(macros / f"{first}.dat")
    _, shipped_smaller = macro_lines(macros / f"{smaller}.dat")
    page = demo.layout(layout_file, layout_language)
    demo.click_control("tab2")

    # A macro recorded in the first group.
    demo.click(*page.center("new_macro"))
    demo.click(*page.center("macro_name", "EDIT"))
    demo.click(*page.center("record"))
    time.sleep(1)
    display.run("xdotool", "type", "--delay", "200", WORD)
    time.sleep(1)
    demo.click(*page.center("record"))
    wait_for("the recording saved", lambda: macro_lines(macros / f"{first}.dat")[0] == 7, alive=demo)

    # The third group, smaller, from the group pop-up; a new macro in it.
    demo.click(*page.center("group_menu"))
    box = wait_for("the group pop-up", lambda: display.windows(MAIN_MENU), alive=demo)
    x, y, width, _ = display.geometry(box[-1])
    display.move(x + width // 2, y + 2 * MENU_ROW + MENU_ROW // 2)
    time.sleep(0.4)
    display.click(x + width // 2, y + 2 * MENU_ROW + MENU_ROW // 2)
    wait_for("the pop-up closed", lambda: not display.windows(MAIN_MENU), alive=demo)
    demo.click(*page.center("new_macro"))
    demo.screenshot("new_macro_in_the_smaller_group")

    # Its first macro: the first event deleted through the context menu (its last item), renamed.
    mx, my, _, _ = page.rect("macro_list", "MACRODISPLAY")
    demo.click(mx + 20, my + LIST_LINE)
    ex, ey, _, _ = page.rect("event_list", "MACRODISPLAY")
    demo.click(ex + 20, ey + LIST_LINE)
    demo.click(ex + 20, ey + LIST_LINE, button=3)
    time.sleep(0.5)
    demo.key("Up")
    demo.key("Return")
    wait_for("the event deleted", lambda: (macro := first_macro(macros / f"{smaller}.dat")) is not None and
             len(macro[1]) == len(decode(shipped_smaller[0])[1]) - 1, alive=demo)
    demo.click(*page.center("macro_name", "EDIT"))
    demo.key("End", "shift+Home")
    demo.type("Cut")
    wait_for("the macro renamed", lambda: (macro := first_macro(macros / f"{smaller}.dat")) is not None and
             macro[0] == "Cut", alive=demo)

    # Another page, and the apply.
    demo.click_control("tab0")
    demo.mark()
    demo.click_control("apply")
    wait_for("the apply's reports", lambda: any(line.startswith("07 18 10") for line in demo.log_since()),
             alive=demo)
    time.sleep(2)
    applied = demo.memory()
    assert demo.quit() == 0
    saved = snapshot(folder)

    # The first group: its six macros as shipped, the recording seventh.
    count, lines = macro_lines(macros / f"{first}.dat")
    assert count == 7
    assert [decode(lines[i]) for i in range(6)] == [decode(shipped_first[i]) for i in range(6)]
    name, events = decode(lines[6])
    assert name == "New" and len(events) == 2 * len(WORD)
    # The third group: its first macro renamed without its first event, a new empty macro last.
    count, lines = macro_lines(macros / f"{smaller}.dat")
    assert count == len(shipped_smaller) + 1
    name, events = decode(lines[0])
    assert (name, len(events)) == ("Cut", len(decode(shipped_smaller[0])[1]) - 1)
    assert [decode(lines[i]) for i in range(1, count - 1)] == [decode(shipped_smaller[i]) for i in range(1, count - 1)]
    assert decode(lines[count - 1]) == ("New", [])
    # Nothing else changed: the middle group, the group lists, the other language's files.
    for path, data in saved.items():
        if path.name not in (f"{first}.dat", f"{smaller}.dat") or path.parent.name != "macro" or \
                path.parent.parent.name != folder_name:
            assert data == shipped[path], path

    # The mouse holds what the saved folder gives; a restart changes no file.
    assert applied == probe_memory(tree, display, folder)
    again = start.demo_again(demo)
    again.click_control("tab2")
    again.screenshot("restarted_macro_page")
    assert again.quit() == 0
    assert snapshot(folder) == saved


def test_killed_after_an_edit_during_a_recording_keeps_the_edit_and_the_stored_macro(start, display):
    demo = start.demo(prepare=lambda folder: set_config_value(folder, "K3", 1 << 8 | 0, "Config1"))
    gaming = demo.folder / "skins" / "INI_EN" / "macro" / "Gaming.dat"
    shipped = snapshot(demo.folder)
    page = demo.layout("skin_mac_en.ini")
    demo.click_control("tab2")

    # The open first macro, bound to mouse button 4, set to repeat five times.
    demo.click(*page.center("repeat_count", "EDIT"))
    demo.key("End", "shift+Home")
    demo.type("5")
    edited = wait_for("the count saved", lambda: (line := stored_line(gaming, 0)) and repeat_count(line) == 5 and line,
                      alive=demo)
    demo.apply_by_power()
    applied = demo.memory()

    # A recording into that macro, the repeat count's own menu (Select All, then Delete; the edit
    # takes no click while the recording runs), and an apply (a power broadcast): the mouse gets
    # the macro as stored, and so does its file.
    demo.click(*page.center("macro_name", "EDIT"))
    demo.click(*page.center("record"))
    time.sleep(1)
    display.run("xdotool", "type", "--delay", "200", WORD)
    time.sleep(1)
    count_x, count_y = page.center("repeat_count", "EDIT")
    for item in EDIT_MENU_SELECT_ALL, EDIT_MENU_DELETE:
        demo.click(count_x, count_y, 3)
        time.sleep(1)
        demo.click(count_x + EDIT_MENU_X, count_y + item)
        time.sleep(1)
    demo.screenshot("recording")
    demo.apply_by_power()
    assert demo.memory() == applied
    demo.kill()

    # The edit is on disk; the rest of the macro, of its group and of every other file as shipped.
    group = gaming.relative_to(demo.folder)
    _, shipped_lines = macro_lines(None, shipped[group].decode("ascii"))
    count, lines = macro_lines(gaming)
    assert lines[0] == edited and decode(edited) == decode(shipped_lines[0])
    assert count == len(shipped_lines) and all(lines[i] == shipped_lines[i] for i in range(1, count))
    assert all(data == shipped[path] for path, data in snapshot(demo.folder).items() if path != group)
