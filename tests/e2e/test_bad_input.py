"""The demo started on a damaged data folder: each case shows a clear message (and ends) or starts
with sound values, never crashes, and leaves every stored file it had no reason to write as it
was. The README's "What bad input gets" lists the cases and what each gets."""
import hashlib
import shutil

import pytest

from kestra_e2e import MAIN_TITLE, TIMEOUT, wait_for

MESSAGE = "^TEV_Kestra_sim$"
CONFIG = "skins/config/config.ini"
EN = "skins/INI_EN/"
GROUPS = EN + "macro/macroGrp.ini"
GAMING = EN + "macro/Gaming.dat"


def stored(folder):
    """Every data file of a program folder with its digest."""
    return {str(p.relative_to(folder)): hashlib.sha1(p.read_bytes()).hexdigest()
            for p in sorted(folder.rglob("*")) if p.is_file() and p.suffix in (".ini", ".dat", ".jpg")}


def edit_text(path, change, encoding="utf-8"):
    text = path.read_bytes().decode(encoding)
    path.write_bytes(change(text).encode(encoding))


def set_key(text, key, value):
    """The first line `key=...` of an INI text set to `key=value`."""
    lines = text.split("\r\n") if "\r\n" in text else text.split("\n")
    for i, line in enumerate(lines):
        if line.startswith(key + "="):
            lines[i] = f"{key}={value}"
            break
    return ("\r\n" if "\r\n" in text else "\n").join(lines)


def run(start, display, prepare):
    """Starts the demo on a folder `prepare` damaged; answers each message box with Return until
    the main window shows or the program ends. Returns (program, folder, messages, files before)."""
    before = {}

    def damage(folder):
        prepare(folder)
        before.update(stored(folder))

    program = start("TEV_Kestra_sim.exe", control=True, prepare=damage)
    messages = 0

    def settled():
        nonlocal messages
        if program.process.poll() is not None or display.windows(f"^{MAIN_TITLE}$"):
            return True
        if display.windows(MESSAGE):
            messages += 1
            display.key("Return")
            wait_for("the message closed", lambda: not display.windows(MESSAGE) or program.process.poll() is not None)
        return False

    wait_for("the main window or the end", settled, timeout=TIMEOUT)
    return program, program.folder, messages, before


def assert_ends_with_message(start, display, prepare):
    program, folder, messages, before = run(start, display, prepare)
    assert program.wait_exit() == 0
    assert messages == 1
    assert stored(folder) == before


def assert_runs(start, display, prepare, messages=0, written=()):
    """The program runs: it applies (a power broadcast) and quits cleanly; only `written` files
    (and config.ini, which every apply saves) may differ."""
    program, folder, shown, before = run(start, display, prepare)
    # The messages answered tell an end the program chose (after its message) from a silent one.
    assert program.process.poll() is None, f"the program ended (status {program.process.returncode}) after {shown} messages"
    assert shown == messages
    program.command("power")
    wait_for("the apply", lambda: any(line.startswith("0") for line in program.command("memory")), alive=program)
    program.command("quit")
    assert program.wait_exit() == 0
    after = stored(folder)
    for name in set(before) | set(after):
        if name != CONFIG and name not in written:
            assert before.get(name) == after.get(name), name
    return folder


# config.ini
def test_config_missing(start, display):
    assert_ends_with_message(start, display, lambda f: (f / CONFIG).unlink())


def test_config_empty(start, display):
    assert_ends_with_message(start, display, lambda f: (f / CONFIG).write_bytes(b""))


def test_config_values_out_of_range(start, display):
    def damage(folder):
        edit_text(folder / CONFIG, lambda t: t.replace("CurConfig=1", "CurConfig=9").replace("VER_SEL=1", "VER_SEL=7"))
        for key, value in [("K0", "4294967295"), ("DPI_LEVEL", "99"), ("DPI_SET0", "250"), ("LED_TYPE", "200"),
                           ("DPI_SPEED", "300"), ("WHEEL_SPEED", "-5"), ("LED_CYCTIME", "-1"),
                           ("FIRE_TIME", "99999999999"), ("DPI0_R", "-300")]:
            edit_text(folder / CONFIG, lambda t: set_key(t, key, value))
    folder = assert_runs(start, display, damage)
    # Profile 1 (CurConfig out of range) was applied and saved; the factory sections are kept.
    text = (folder / CONFIG).read_text()
    assert "[CfgReset1]" in text and "[CfgReset4]" in text


def test_config_garbage(start, display):
    def damage(folder):
        for key, value in [("K0", "abc"), ("DPI_LEVEL", "%%%"), ("DPI_SET1", "0x20"), ("LED_BRIGHT", "\u00e9\u00e9")]:
            edit_text(folder / CONFIG, lambda t: set_key(t, key, value))
        with open(folder / CONFIG, "ab") as f:
            f.write(b"\r\n\x00\xff\xfe garbage [[[ ===\r\n")
    assert_runs(start, display, damage)


# Layout files
def test_layout_missing(start, display):
    assert_ends_with_message(start, display, lambda f: (f / EN / "skin_mac_en.ini").unlink())


def test_layout_short_records(start, display):
    def damage(folder):
        edit_text(folder / EN / "skin_main_en.ini",
                  lambda t: set_key(set_key(t, "3", "apply,702"), "7", ""), "utf-16")
    assert_runs(start, display, damage)


def test_layout_overlong_records(start, display):
    # One message a record with too many commas; the program then runs on what it read.
    def damage(folder):
        edit_text(folder / EN / "skin_main_en.ini", lambda t: set_key(t, "3", "apply" + ",9" * 40), "utf-16")
    assert_runs(start, display, damage, messages=1)


# Images
def cut_in_half(path):
    path.write_bytes(path.read_bytes()[: path.stat().st_size // 2])


@pytest.mark.parametrize("damage", [
    lambda path: path.unlink(),
    lambda path: path.write_bytes(b"GIF89a junk"),
    cut_in_half,
], ids=["missing", "not_a_jpeg", "cut_short"])
def test_page_image_damaged(start, display, damage):
    # The page is painted without it (or with what the decoder makes of a cut file).
    assert_runs(start, display, lambda f: damage(f / "skins" / "main_normal.jpg"))


def test_mask_not_a_jpeg(start, display):
    assert_ends_with_message(start, display, lambda f: (f / "skins" / "main_mask.jpg").write_bytes(b"GIF89a junk"))


# Macro groups and group files
def test_groups_too_many(start, display):
    # More than the ten groups the program keeps: the first ten are used, the file is kept.
    def damage(folder):
        names = ["Gaming", "Office", "Browser"] + [f"Group{i}" for i in range(3, 15)]
        for name in names[3:]:
            shutil.copyfile(folder / GAMING, (folder / GAMING).with_name(f"{name}.dat"))
        (folder / GROUPS).write_text("[MACRO_GROUP_NUM]\r\nmacGrpNum=15\r\n[MACRO_GROUP_NAME]\r\n" +
                                     "".join(f"{i}={n}\r\n" for i, n in enumerate(names)))
    assert_runs(start, display, damage)


def test_group_names_equal_but_for_case(start, display):
    # Windows finds one file for both names: the later is no group of its own and is dropped,
    # macroGrp.ini written without it.
    def damage(folder):
        (folder / GROUPS).write_text("[MACRO_GROUP_NUM]\r\nmacGrpNum=3\r\n[MACRO_GROUP_NAME]\r\n"
                                     "0=Gaming\r\n1=GAMING\r\n2=Office\r\n")
    folder = assert_runs(start, display, damage, written=(GROUPS,))
    text = (folder / GROUPS).read_text()
    assert "macGrpNum=2" in text and "0=Gaming" in text and "1=Office" in text and "GAMING" not in text


def test_group_names_with_path_separators(start, display):
    # Such a group has no file inside the macro folder: it is dropped like a group whose file is
    # missing (macroGrp.ini is written without it), and nothing outside the folder is read or
    # written.
    def damage(folder):
        (folder / GROUPS).write_text("[MACRO_GROUP_NUM]\r\nmacGrpNum=3\r\n[MACRO_GROUP_NAME]\r\n"
                                     "0=..\\..\\config\\config\r\n1=Gaming\r\n2=C:\\Windows\\win\r\n")
    folder = assert_runs(start, display, damage, written=(GROUPS,))
    text = (folder / GROUPS).read_text()
    assert "macGrpNum=1" in text and "0=Gaming" in text


def test_group_file_overlong_lines_too_many_macros(start, display):
    # The group's first twelve macros are used; showing and applying them writes nothing, so the
    # file stays as it was, every line kept.
    def damage(folder):
        edit_text(folder / GAMING, lambda t: set_key(set_key(t, "0", "0" * 40000), "macroNum", "40")
                  + "".join(f"{k}=1\n" for k in range(13, 40)))
    assert_runs(start, display, damage)


def test_group_file_negative_count(start, display):
    assert_runs(start, display, lambda f: edit_text(f / GAMING, lambda t: set_key(t, "macroNum", "-7")))


# constMacro.dat
def test_const_macros_missing(start, display):
    # The missing-file message, then the program runs without constant macros.
    assert_runs(start, display, lambda f: (f / "constMacro.dat").unlink(), messages=1)


def test_const_macros_truncated(start, display):
    def damage(folder):
        data = (folder / "constMacro.dat").read_bytes()
        (folder / "constMacro.dat").write_bytes(data[:len(data) // 2 + 7])
    assert_runs(start, display, damage)


# The mouse
def test_mouse_answering_nothing(start, display):
    program, folder, messages, before = run(start, display, lambda f: None)
    assert messages == 0
    program.command("silent on")
    program.command("power")
    program.command("input 06 f3 80")
    program.command("profile 2")
    # The program keeps running on a mouse that answers nothing, and ends as asked.
    wait_for("the apply to pass", lambda: program.command("log 0") is not None, alive=program)
    assert program.process.poll() is None
    program.command("quit")
    assert program.wait_exit() == 0
    after = stored(folder)
    assert {k: v for k, v in after.items() if k != CONFIG} == {k: v for k, v in before.items() if k != CONFIG}
