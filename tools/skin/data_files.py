"""The text files of the data folder: the five layouts in both languages, config.ini, the macro
groups with their macro files (and the macroReset copies) and constMacro.dat."""

import os

from . import layouts
from .macros import CONSTANT_MACROS, GROUPS, record_line

EN, ES = "INI_EN", "INI_CN"


def _write(path, text, utf16=False):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    text = text.replace("\n", "\r\n")
    data = b"\xff\xfe" + text.encode("utf-16-le") if utf16 else text.encode("ascii")
    with open(path, "wb") as f:
        f.write(data)


def _record(rect, text):
    assert "," not in text, text
    return "%s,%d,%d,%d,%d,%s," % (rect.name, rect.x, rect.y, rect.w, rect.h, text)


def layout_text(name, english):
    _, _, build, _ = layouts.LAYOUTS[name]
    lines = ["[BUTTONPOS]"]
    for rect in build():
        lines.append("%d=%s" % (rect.key, _record(rect, rect.en if english else rect.es)))
    if name == "main":
        lines.append("")
        lines.append("[FUN_STRING]")
        for code in range(1, 48):
            en, es = layouts.FUNCTION_NAMES[code]
            text = en if english else es
            assert "," not in text
            lines.append("%d=%s" % (code, text))
    if name == "mac":
        for section, table in (("EDIT", layouts.MACRO_EDITS), ("MACRODISPLAY", layouts.MACRO_DISPLAYS)):
            lines.append("")
            lines.append("[%s]" % section)
            for key, (label, x, y, w, h) in sorted(table.items()):
                lines.append("%d=%s,%d,%d,%d,%d,," % (key, label, x, y, w, h))
    return "\n".join(lines) + "\n"


def write_layouts(skins):
    for name, (en_file, es_file, _, _) in layouts.LAYOUTS.items():
        _write(os.path.join(skins, EN, en_file), layout_text(name, True), utf16=True)
        _write(os.path.join(skins, ES, es_file), layout_text(name, False), utf16=True)


# ---------------------------------------------------------------- config.ini

def _channels(rgb):
    """A colour as the stored channels: 0 full intensity .. 15 the lowest."""
    return [(255 - c) >> 4 for c in rgb]


DPI_STEPS = [1, 3, 5, 6, 8, 11]            # 400, 800, 1200, 1600, 2400, 4800 CPI
DPI_ENABLED = [1, 1, 1, 1, 1, 0]
DPI_COLOURS = [(255, 40, 40), (255, 160, 0), (255, 255, 0), (0, 255, 64), (0, 160, 255), (200, 0, 255)]
USER_COLOURS = [(255, 0, 0), (255, 128, 0), (255, 255, 0), (0, 255, 0), (0, 255, 255), (0, 0, 255),
                (255, 0, 255)]

PROFILE_BUTTONS = {
    1: [1, 2, 3, 4, 5, 16, 13, 15, 258],       # as a reset leaves profile 1
    2: [1, 2, 3, 4, 5, 6, 256, 257, 40],       # shooter: burst and jump shot on the side, fire key on top
    3: [1, 2, 3, 32, 33, 6, 35, 36, 41],       # office: copy, paste, undo, redo, save
    4: [1, 2, 3, 27, 28, 25, 26, 29, 30],      # media: tracks, volume, mute, play
}
REACT_ENABLED = {1: [1, 1, 0, 0, 0, 0, 0, 0, 0], 2: [1, 0, 0, 0, 0, 0, 0, 0, 0], 3: [0] * 9, 4: [0] * 9}
REACT_TYPE = {1: [0, 1, 0, 0, 0, 0, 0, 0, 0], 2: [2, 0, 0, 0, 0, 0, 0, 0, 0], 3: [0] * 9, 4: [0] * 9}


def profile_section(buttons, react_enabled, react_type, led_type, dpi_level=1):
    """Every key of a profile section in the order the program saves them."""
    keys = [("K%d" % i, v) for i, v in enumerate(buttons)]
    keys += [("DPI_LEVEL", dpi_level), ("WHEEL_STATUS", 0), ("LED_USER_COLER_EN", 1), ("CYC_7COL_EN", 127)]
    for i in range(6):
        r, g, b = _channels(DPI_COLOURS[i])
        keys += [("DPI_SET%d" % i, DPI_STEPS[i]), ("DPI_SET_EN%d" % i, DPI_ENABLED[i]),
                 ("DPI%d_R" % i, r), ("DPI%d_G" % i, g), ("DPI%d_B" % i, b)]
    for i in range(7):
        r, g, b = _channels(USER_COLOURS[i])
        keys += [("LED_USER%d_R" % i, r), ("LED_USER%d_G" % i, g), ("LED_USER%d_B" % i, b)]
    keys.append(("LED_TYPE", led_type))
    keys += [("LED_TYPE_SW_EN%d" % i, 1) for i in range(10)]
    keys += [("LED_CYC_TIME", 2), ("LED_FEATURE_SCOLOR", 0), ("LED_FEATURE_SYMMETRY", 0), ("LED_FEATURE_DIREC", 1),
             ("LED_BRIGHT", 1), ("LED_CYCTIME", 2)]
    for i in range(9):
        keys += [("LED_REACT_EN%d" % i, react_enabled[i]), ("LED_REACT_TYPE%d" % i, react_type[i])]
    keys += [("DPI_SPEED", 5), ("WHEEL_SPEED", 2), ("USB_SPEED", 2), ("FIRE_TIME", 50)]
    return keys


def config_text():
    out = ["[Init]", "CurConfig=1", "VER_SEL=1", ""]
    # The profiles show the flowing effect (3), which uses every lighting control; the factory
    # sections hold what a reset ends with (effect 7).
    for n in range(1, 5):
        out.append("[Config%d]" % n)
        out += ["%s=%d" % kv for kv in profile_section(PROFILE_BUTTONS[n], REACT_ENABLED[n], REACT_TYPE[n], 3)]
        out.append("")
    for n in range(1, 5):
        out.append("[CfgReset%d]" % n)
        out += ["%s=%d" % kv for kv in profile_section(PROFILE_BUTTONS[n], [0] * 9, [0] * 9, 7)]
        out.append("")
    # Frame button 2 takes every setting but the buttons from here.
    out.append("[Config6]")
    out += ["%s=%d" % kv for kv in profile_section(PROFILE_BUTTONS[1], REACT_ENABLED[1], REACT_TYPE[1], 3)]
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------- macros

def macro_file_text(macros):
    lines = ["[Macros]", "macroNum=%d" % len(macros)]
    lines += ["%d=%s" % (i, record_line(m)) for i, m in enumerate(macros)]
    return "\n".join(lines) + "\n"


def group_file_text(names):
    lines = ["[MACRO_GROUP_NUM]", "macGrpNum=%d" % len(names), "", "[MACRO_GROUP_NAME]"]
    lines += ["%d=%s" % (i, names[i] if i < len(names) else "") for i in range(12)]
    return "\n".join(lines) + "\n"


def write_macros(skins, program):
    for folder, english in ((EN, True), (ES, False)):
        names = [g.en if english else g.es for g in GROUPS]
        for sub in ("macro", "macroReset"):
            base = os.path.join(skins, folder, sub)
            _write(os.path.join(base, "macroGrp.ini"), group_file_text(names))
            for group, name in zip(GROUPS, names):
                macros = [m.named(m.en if english else m.es) for m in group.macros]
                _write(os.path.join(base, name + ".dat"), macro_file_text(macros))
    _write(os.path.join(program, "constMacro.dat"), macro_file_text(CONSTANT_MACROS))


def write_config(skins):
    _write(os.path.join(skins, "config", "config.ini"), config_text())
