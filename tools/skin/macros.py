"""Our shipped macros: the groups of both languages (the same macros in the same order, names
translated) and the 13 constant macros, with the record line of the macro files."""

from dataclasses import dataclass, field, replace

# Key codes as the program keeps them (HID keyboard usages) and the virtual keys the files store.
# Only keys that both keyboard layouts store alike are used, so every file reads back the same
# in either language.
CTRL, SHIFT, ALT, WIN = 224, 225, 226, 227
SPACE, TAB, ENTER, LEFT_ARROW = 44, 43, 40, 80
MOUSE_LEFT, MOUSE_MIDDLE, MOUSE_RIGHT = 0xF1, 0xF2, 0xF3
MOVE, CPI, LIGHT = 0xF6, 0xF8, 0xF9

_VK = {CTRL: 0xA2, SHIFT: 0xA0, ALT: 0xA4, WIN: 0x5B, SPACE: 0x20, TAB: 0x09, ENTER: 0x0D, LEFT_ARROW: 0x25,
       MOUSE_LEFT: 0xF0, MOUSE_RIGHT: 0xF1, MOUSE_MIDDLE: 0xF2}


def key(letter):
    """HID usage of a letter, digit or function key ("A", "7", "F5")."""
    if len(letter) == 1 and letter.isalpha():
        return ord(letter.upper()) - ord("A") + 4
    if len(letter) == 1 and letter.isdigit():
        return 39 if letter == "0" else ord(letter) - ord("1") + 30
    if letter.startswith("F"):
        return 58 + int(letter[1:]) - 1
    raise ValueError(letter)


def file_code(code):
    """The code field as a macro file stores it."""
    if code in _VK:
        return _VK[code]
    if 4 <= code <= 29:
        return code + 61            # 'A'..'Z'
    if 30 <= code <= 38:
        return code + 19            # '1'..'9'
    if code == 39:
        return 0x30
    if 58 <= code <= 69:
        return code + 54            # F1..F12
    if code == 0 or 0xF6 <= code <= 0xFB:
        return code
    raise ValueError(code)


@dataclass
class Event:
    action: int
    code: int
    x: int = 0
    y: int = 0
    delay: int = 20


@dataclass
class Macro:
    en: str
    es: str
    events: list
    loop: int = 0
    repeat: int = 1
    light_blocks: list = field(default_factory=list)  # each a list of (mode, colour, tenths) steps
    name: str = ""

    def named(self, name):
        return replace(self, name=name)


def press(code, delay=20):
    return [Event(1, code, delay=delay)]


def release(code, delay=20):
    return [Event(2, code, delay=delay)]


def tap(code, hold=20, after=20):
    return press(code, hold) + release(code, after)


def chord(*codes):
    """Holds the keys in order, then lets them go in reverse order."""
    events = []
    for c in codes:
        events += press(c)
    for c in reversed(codes):
        events += release(c)
    return events


def click(button=MOUSE_LEFT, hold=30, after=60):
    return tap(button, hold, after)


def move(dx, dy, delay=15):
    action = {(False, False): 3, (False, True): 4, (True, False): 5, (True, True): 6}[(dx >= 0, dy >= 0)]
    return [Event(action, MOVE, abs(dx), abs(dy), delay)]


def typed(text):
    events = []
    for ch in text:
        if ch == " ":
            events += tap(SPACE, 15, 15)
        elif ch.isupper():
            events += press(SHIFT, 10) + tap(key(ch), 15, 10) + release(SHIFT, 15)
        else:
            events += tap(key(ch), 15, 15)
    return events


def record_line(macro):
    """The 5445-digit line of a macro file: every byte of the record as three digits."""
    events = macro.events
    assert len(events) <= 180 and len(macro.light_blocks) <= 5
    name = macro.name or macro.en
    assert 0 < len(name) <= 9, name
    fields = []
    units = [ord(c) for c in name] + [0] * (10 - len(name))
    for u in units:
        fields += [u & 0xFF, u >> 8]

    def word(v):
        return [v & 0xFF, v >> 8]

    count = lambda code: sum(1 for e in events if e.code == code)
    assert count(MOVE) <= 50 and count(CPI) <= 5 and count(LIGHT) == len(macro.light_blocks)
    fields.append(macro.loop)
    fields += word(macro.repeat) + word(len(events)) + word(count(MOVE)) + word(count(0xF7)) + word(count(CPI))
    fields += word(count(0xFA)) + [count(LIGHT), count(0xFB)]
    for i in range(180):
        e = events[i] if i < len(events) else Event(0, 0, delay=0)
        fields += [e.action, file_code(e.code)] + word(e.x) + word(e.y) + word(e.delay)
    for b in range(5):
        block = [0] * 68
        if b < len(macro.light_blocks):
            steps = macro.light_blocks[b]
            block[0] = len(steps)
            for k, (mode, colour, tenths) in enumerate(steps):
                block[4 + 4 * k:8 + 4 * k] = [mode, colour, tenths, 0]
        fields += block
    assert len(fields) == 1815
    return "".join("%03d" % v for v in fields)


def _with_last_delay_zero(events):
    if events:
        events[-1] = replace(events[-1], delay=0)
    return events


def _macro(en, es, events, **kw):
    return Macro(en, es, _with_last_delay_zero(events), **kw)


@dataclass
class Group:
    en: str
    es: str
    macros: list


GROUPS = [
    Group("Gaming", "Juegos", [
        _macro("Burst 3", "Ráfaga 3", click() + click() + click()),
        _macro("Jump Shot", "SaltoTiro", tap(SPACE, 30, 40) + click(after=20)),
        # The reset puts this one (group 0, macro 2) on button 9.
        _macro("Recoil", "Retroceso", press(MOUSE_LEFT, 15) + sum((move(0, 4) for _ in range(12)), [])
               + release(MOUSE_LEFT)),
        _macro("Sniper", "Precisión", [Event(9, CPI, 2, 0)]),
        _macro("DPI Reset", "DPI base", [Event(10, CPI)]),
        _macro("Glow", "Brillo", [Event(13, LIGHT, 0, 0)], light_blocks=[[(1, 1, 20)]]),
    ]),
    Group("Office", "Oficina", [
        _macro("Copy", "Copiar", chord(CTRL, key("C"))),
        _macro("Paste", "Pegar", chord(CTRL, key("V"))),
        _macro("Undo", "Deshacer", chord(CTRL, key("Z"))),
        _macro("Save", "Guardar", chord(CTRL, key("S"))),
        _macro("Print", "Imprimir", chord(CTRL, key("P"))),
        _macro("Greeting", "Saludo", typed("Hello")),
    ]),
    Group("Browser", "Navegador", [
        _macro("New Tab", "Pestaña+", chord(CTRL, key("T"))),
        _macro("Close Tab", "Pestaña-", chord(CTRL, key("W"))),
        _macro("Reopen", "Reabrir", chord(CTRL, SHIFT, key("T"))),
        _macro("Back", "Atrás", chord(ALT, LEFT_ARROW)),
        _macro("Reload", "Recargar", tap(key("F5"))),
    ]),
]

# Constant macros: records 0..12 of constMacro.dat; assignment codes 32..39 and 41..44 name them
# (40 is the fire key, so record 8 is offered by no list). Each stays within the 56 events that
# the constant-macro reader keeps, and none uses a light block (the reader drops them).
CONSTANT_MACROS = [_macro(en, en, events).named(en) for en, events in [
    ("Copy", chord(CTRL, key("C"))),
    ("Paste", chord(CTRL, key("V"))),
    ("Cut", chord(CTRL, key("X"))),
    ("Undo", chord(CTRL, key("Z"))),
    ("Redo", chord(CTRL, key("Y"))),
    ("SelectAll", chord(CTRL, key("A"))),
    ("SwitchApp", chord(ALT, TAB)),
    ("Desktop", chord(WIN, key("D"))),
    ("Burst", click() + click()),
    ("Save", chord(CTRL, key("S"))),
    ("Find", chord(CTRL, key("F"))),
    ("Refresh", tap(key("F5"))),
    ("CloseWin", chord(ALT, key("F4"))),
]]
assert len(CONSTANT_MACROS) == 13 and all(len(m.events) <= 55 for m in CONSTANT_MACROS)
