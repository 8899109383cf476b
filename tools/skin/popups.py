"""The pop-up lists, the warning box and the program icon."""

import os

from PIL import Image, ImageDraw

from . import layouts, looks
from .layouts import MENU1_H, MENU1_W, MENU_H, MENU_W, MORE_H, MORE_W, WARNING_H, WARNING_W
from .paint import ACCENTS, INK, WHITE, Canvas, chamfered_outline, mix, shape_mask

POPUP = (19, 25, 34)
POPUP_OVER = (30, 41, 58)
POPUP_EDGE = (52, 66, 86)
BRAND = ACCENTS[0]
WARN = (255, 176, 32)


def black(w, h):
    """A mask that keeps every pixel: the pop-ups cut their own rectangle of rows."""
    return Image.new("RGB", (w, h), (0, 0, 0))


def _sides(c, w, h, accent_bar):
    c.rect(0, 0, 1, h, fill=POPUP_EDGE)
    c.rect(w - 1, 0, w, h, fill=POPUP_EDGE)
    c.rect(1, 0, 4, h, fill=accent_bar)


def menu(state):
    """The shared list: its rows are cut at a tenth or a fifteenth of its height by mode, so it
    has no row marks of its own, only sides and a fill."""
    c = Canvas(MENU_W, MENU_H, POPUP)
    if state == "over":
        c.rect(0, 0, MENU_W, MENU_H, fill=POPUP_OVER)
        _sides(c, MENU_W, MENU_H, BRAND)
    elif state == "down":
        c.rect(0, 0, MENU_W, MENU_H, fill=mix(BRAND, POPUP, 0.72))
        _sides(c, MENU_W, MENU_H, mix(BRAND, WHITE, 0.4))
    else:
        _sides(c, MENU_W, MENU_H, mix(BRAND, POPUP, 0.6))
    return c.final()


def menu1(state):
    """The button functions: ten rows of a fifteenth of the height; rows 7 to 10 open lists of
    their own and carry an arrow."""
    h = MENU1_H // 15
    c = Canvas(MENU1_W, MENU1_H, POPUP)
    fill = {"normal": POPUP, "over": POPUP_OVER, "down": mix(BRAND, POPUP, 0.72)}[state]
    bar = {"normal": mix(BRAND, POPUP, 0.6), "over": BRAND, "down": mix(BRAND, WHITE, 0.4)}[state]
    c.rect(0, 0, MENU1_W, MENU1_H, fill=fill)
    _sides(c, MENU1_W, MENU1_H, bar)
    for row in range(1, 11):
        y0 = (row - 1) * h
        if row > 1:
            c.rect(8, y0, MENU1_W - 8, y0 + 1, fill=mix(POPUP_EDGE, fill, 0.45 if row != 7 else 0.0))
        if row >= 7:
            cx, cy = MENU1_W - 14, y0 + h / 2
            ink = WHITE if state != "normal" else mix(BRAND, INK, 0.4)
            c.line([(cx - 3, cy - 5), (cx + 2, cy), (cx - 3, cy + 5)], ink, 1.6)
    return c.final()


def more(state):
    """Import, export, restore: three rows, their text at the left, an icon at the right."""
    h = MORE_H // 3
    c = Canvas(MORE_W, MORE_H, POPUP)
    fill = {"normal": POPUP, "over": POPUP_OVER, "down": mix(ACCENTS[2], POPUP, 0.72)}[state]
    c.rect(0, 0, MORE_W, MORE_H, fill=fill)
    c.rect(0, 0, 1, MORE_H, fill=POPUP_EDGE)
    c.rect(MORE_W - 1, 0, MORE_W, MORE_H, fill=POPUP_EDGE)
    ink = WHITE if state != "normal" else mix(ACCENTS[2], INK, 0.35)
    for row in range(3):
        y0 = row * h
        if row:
            c.rect(6, y0, MORE_W - 6, y0 + 1, fill=mix(POPUP_EDGE, fill, 0.4))
        looks.glyph(c, ("import", "export", "reset")[row], MORE_W - 20, y0 + h / 2, ink)
    c.rect(0, MORE_H - 1, MORE_W, MORE_H, fill=POPUP_EDGE)
    return c.final()


# ---------------------------------------------------------------- warning box

WARNING_CHAMFER = 10


def warning_outline():
    return chamfered_outline(WARNING_W, WARNING_H, WARNING_CHAMFER)


def warning_mask():
    return shape_mask(warning_outline(), WARNING_W, WARNING_H)


def warning(state):
    c = Canvas(WARNING_W, WARNING_H, POPUP)
    c.gradient(0, 0, WARNING_W, WARNING_H, (24, 30, 40), (12, 16, 22))
    c.hgradient(0, 0, WARNING_W, 3, WARN, mix(WARN, POPUP, 0.8))
    pts = warning_outline()
    c.line([(min(max(x, 0.5), WARNING_W - 0.5), min(max(y, 0.5), WARNING_H - 0.5)) for x, y in pts + [pts[0]]],
           mix(WARN, POPUP_EDGE, 0.5), 1)
    # a warning sign above the message
    cx, cy = WARNING_W / 2, 20
    c.polygon([(cx, cy - 11), (cx + 12, cy + 10), (cx - 12, cy + 10)], fill=WARN)
    c.rect(cx - 1.2, cy - 4, cx + 1.2, cy + 3, fill=(20, 20, 20))
    c.rect(cx - 1.2, cy + 5, cx + 1.2, cy + 7.4, fill=(20, 20, 20))
    for r in layouts.warning_layout():
        looks.draw(c, r, state, WARN)
    return c.final()


# ---------------------------------------------------------------- icon

def icon(size):
    """The kestrel on a dark rounded square, drawn for each size so the small ones stay sharp."""
    k = 8
    big = Image.new("RGBA", (size * k, size * k), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    s = size * k
    # one outline pixel at every size; the bird fills more of the small ones
    d.rounded_rectangle((0, 0, s - 1, s - 1), radius=s * 0.2, fill=(14, 19, 27, 255), outline=BRAND + (255,),
                        width=k if size < 32 else int(k * 1.5))
    cx, cy, u = s / 2, s * 0.54, s / (34 if size < 32 else 40)

    def poly(points, colour):
        d.polygon([(cx + x * u, cy + y * u) for x, y in points], fill=colour)

    wing = mix(BRAND, WHITE, 0.25) + (255,)
    poly([(-16, -8), (-2, 2), (0, 12), (-5, 2)], wing)
    poly([(16, -8), (2, 2), (0, 12), (5, 2)], wing)
    poly([(-3.5, -4), (0, -13), (3.5, -4), (0, -1)], BRAND + (255,))
    return big.resize((size, size), Image.LANCZOS)


def write_icon(path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    frames = [icon(s) for s in (48, 32, 16)]
    frames[0].save(path, format="ICO", bitmap_format="bmp", sizes=[(16, 16), (32, 32), (48, 48)],
                   append_images=frames[1:])


POPUP_IMAGES = {
    "menu": (menu, lambda: black(MENU_W, MENU_H)),
    "menu1": (menu1, lambda: black(MENU1_W, MENU1_H)),
    "more": (more, lambda: black(MORE_W, MORE_H)),
}


