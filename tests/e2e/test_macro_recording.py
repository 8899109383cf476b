"""A macro recorded from the keyboard, kept in its group file, bound to a mouse button through the
pop-ups and applied: the road of a person making a macro. The test ends what it started."""
import subprocess
import time

from PIL import Image, ImageChops

from kestra_e2e import SOURCE, Demo, wait_for

MAC = "skin_mac_en.ini"
WORD = "dog"
# Fields of a group file's macro line (three digits each): the name, the loop mode, six 16-bit
# counters (the second the event count: fields 23, 24), two 8-bit counters, then 8 fields per event.
HEADER_FIELDS = 35
EVENT_FIELDS = 8
LAST_RECORDED_DELAY = 20
TYPE_DELAY_MS = 200


def group_macros(path):
    """{index: line} of a group file's macro lines, and its macroNum."""
    macros, count = {}, None
    for line in path.read_text(encoding="ascii").splitlines():
        key, _, value = line.partition("=")
        if key == "macroNum":
            count = int(value)
        elif key.isdigit():
            macros[int(key)] = value
    return macros, count


def decode(line):
    """name, [(action, virtual key, delay)] of a macro line."""
    fields = [int(line[i:i + 3]) for i in range(0, len(line) - len(line) % 3, 3)]
    units = [fields[2 * i] | fields[2 * i + 1] << 8 for i in range(10)]
    name = "".join(map(chr, units)).split("\0")[0]
    count = fields[23] | fields[24] << 8
    events = []
    for i in range(count):
        action, vk, _, _, _, _, lo, hi = fields[HEADER_FIELDS + EVENT_FIELDS * i:HEADER_FIELDS + EVENT_FIELDS * (i + 1)]
        events.append((action, vk, lo | hi << 8))
    return name, events


def check_recorded(path, index):
    """The macro at `index` of the group file is WORD typed: a press and a release per letter,
    measured delays between them, the last event's fixed delay."""
    macros, count = group_macros(path)
    assert count == index + 1 and index in macros, (count, sorted(macros))
    name, events = decode(macros[index])
    assert name == "New"
    assert [(a, vk) for a, vk, _ in events] == [(a, ord(c.upper())) for c in WORD for a in (1, 2)]
    assert events[-1][2] == LAST_RECORDED_DELAY
    # The letters were typed TYPE_DELAY_MS apart: the measured gaps add up to about that.
    assert all(d < 5000 for _, _, d in events)
    assert sum(d for _, _, d in events[:-1]) >= TYPE_DELAY_MS * (len(WORD) - 1) // 2


def program_windows(display):
    """The program's visible X windows (Wine names their class after the program)."""
    found = display.run("xdotool", "search", "--onlyvisible", "--class", "TEV_Kestra_sim", check=False).stdout
    return {int(w) for w in found.split()}


def wait_quiet_log(demo):
    """Waits until the report log since the mark has entries and no new one for two seconds."""
    seen = [-1]

    def quiet():
        length = len(demo.log_since())
        settled = length > 0 and length == seen[0]
        seen[0] = length
        return settled
    wait_for("the apply's reports", quiet, step=2, alive=demo)


def row_centre(display, window, row, mask):
    """Screen point in the middle of pop-up row `row`; rows are a fifteenth of the mask's height."""
    x, y, _, _ = display.geometry(window)
    width, height = Image.open(SOURCE / "skins" / mask).size
    step = height // 15
    return x + width // 2, y + (row - 1) * step + step // 2


def test_recorded_macro_is_kept_bound_and_applied(start_demo, display, tree, output):
    demo = start_demo()
    folder = demo.folder
    layout = demo.layout(MAC)
    demo.click_control("tab2")
    demo.click_control("new_macro", MAC)
    # The keys go to the name edit when nothing takes them away.
    demo.click(*layout.center("macro_name", "EDIT"))

    def shot(name, box):
        ox, oy = demo.origin()
        time.sleep(0.5)
        return Image.open(display.screenshot(output / f"{name}.png", (ox + box[0], oy + box[1], *box[2:]))).convert("RGB")

    def edit_shot(name):
        return shot(name, layout.rect("macro_name", "EDIT"))

    def same(a, b):
        """The same pixels but for the focused edit's blinking caret (one column at most two
        pixels wide); a typed character would differ wider, its glyph and the caret's move."""
        box = ImageChops.difference(a, b).getbbox()
        return box is None or box[2] - box[0] <= 2

    before = edit_shot("edit_before")
    empty_list = shot("events_before", layout.rect("event_list", "MACRODISPLAY"))
    demo.click_control("record", MAC)
    time.sleep(1)
    display.run("xdotool", "type", "--delay", str(TYPE_DELAY_MS), WORD)
    time.sleep(1)
    demo.click_control("record", MAC)
    # The typed keys became the macro and never reached the focused edit.
    assert same(before, edit_shot("edit_after"))
    assert not same(empty_list, shot("events_after", layout.rect("event_list", "MACRODISPLAY")))
    group_file = folder / "skins" / "INI_EN" / "macro" / "Gaming.dat"
    wait_for("the recording in the group file", lambda: group_macros(group_file)[1] == 7, alive=demo)
    check_recorded(group_file, 6)
    demo.screenshot("recorded")
    assert demo.quit() == 0
    (output / f"TEV_Kestra_sim.{folder.parent.name}.log").rename(output / "first_run.log")

    # After a restart the group file still holds it; bound to mouse button 4 and applied.
    demo = Demo(tree, display, folder, output)
    try:
        demo.wait_ready()
        check_recorded(group_file, 6)
        shown = program_windows(display)
        demo.click_control("mouse_button4")
        menu = wait_for("the function pop-up", lambda: display.windows("^MainMenuDlg$"), alive=demo)[0]
        display.move(*row_centre(display, menu, 9, "menu1_mask.jpg"))
        groups = wait_for("the group pop-up", lambda: display.windows("^SubMenuDlg$"), alive=demo)[0]
        time.sleep(0.5)
        display.move(*row_centre(display, groups, 1, "menu_mask.jpg"))
        known = shown | {menu, groups}
        choice = wait_for("the macro choice pop-up", lambda: sorted(program_windows(display) - known), alive=demo)[0]
        time.sleep(0.5)
        display.move(*row_centre(display, choice, 7, "menu_mask.jpg"))
        time.sleep(0.5)
        display.click(*row_centre(display, choice, 7, "menu_mask.jpg"))
        wait_for("the pop-ups closed", lambda: not display.windows("^MainMenuDlg$"), alive=demo)
        demo.screenshot("bound")
        demo.mark()
        demo.click_control("apply")
        wait_quiet_log(demo)
        memory = demo.memory()
        # Mouse button 4 holds the group's seventh macro.
        config = (folder / "skins" / "config" / "config.ini").read_text()
        assert "\nK3=262\n" in config.replace("\r", "")
        # Typed into the name edit when no recording runs, the keys show there.
        demo.click_control("tab2")
        demo.click(*layout.center("macro_name", "EDIT"))
        unchanged = edit_shot("edit_idle")
        demo.type("x")
        assert not same(unchanged, edit_shot("edit_typed"))
        assert demo.quit() == 0
    finally:
        demo.end()

    probe = subprocess.run([tree.loader, str(tree.build / "tests" / "tools" / "apply_probe.exe"), "Z:" + str(folder).replace("/", "\\")],
                           env=display.env, capture_output=True, text=True, timeout=300, check=True).stdout
    lines = probe.splitlines()
    expected = {}
    for line in lines[lines.index("memory") + 1:]:
        address, *values = line.split()
        expected[int(address, 16)] = bytes(int(v, 16) for v in values)
    assert memory == expected
