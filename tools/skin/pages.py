"""The four pages: the frame shared by all of them, each page's fixed drawing, and its images in
the three looks (plus the lighting page's covers)."""

from PIL import Image, ImageDraw, ImageEnhance

from . import layouts, looks
from .layouts import WINDOW_H, WINDOW_W
from .paint import (ACCENTS, BASE, BASE_LIGHT, CONTROL_EDGE, INK, INK_DIM, PANEL, PANEL_EDGE, WHITE, Canvas,
                    chamfered_outline, mix, shape_mask)

CHAMFER = 14
CONTENT_TOP, CONTENT_BOTTOM = 116, 578


def window_outline():
    return chamfered_outline(WINDOW_W, WINDOW_H, CHAMFER)


def mask_image():
    return shape_mask(window_outline(), WINDOW_W, WINDOW_H)


def panel(c, x0, y0, x1, y1, accent=None):
    c.rect(x0, y0, x1, y1, fill=PANEL_EDGE, radius=8)
    c.gradient(x0 + 1, y0 + 1, x1 - 1, y1 - 1, mix(PANEL, BASE_LIGHT, 0.5), PANEL, radius=7)
    if accent:
        c.hgradient(x0 + 10, y0, x1 - 10, y0 + 1, mix(accent, PANEL, 0.3), PANEL)


def frame(c, page):
    accent = ACCENTS[page]
    c.gradient(0, 0, WINDOW_W, WINDOW_H, BASE_LIGHT, BASE)
    # title bar
    c.gradient(0, 0, WINDOW_W, 54, (22, 28, 38), (13, 17, 23))
    c.rect(0, 54, WINDOW_W, 55, fill=PANEL_EDGE)
    c.rect(630, 16, 631, 38, fill=PANEL_EDGE)
    c.rect(760, 16, 761, 38, fill=PANEL_EDGE)
    # the page's accent under the tabs, glowing faintly into the content
    c.glow(lambda d, s: d.rectangle((s(24), s(105), s(842) - 1, s(108) - 1), fill=255), accent, 6, 0.55)
    c.hgradient(24, 106, 842, 108, accent, mix(accent, BASE, 0.75))
    # bottom bar
    c.rect(24, 584, 842, 585, fill=PANEL_EDGE)
    # window edge, along the cut of the mask
    pts = window_outline()
    c.line([(x + (0.5 if x == 0 else -0.5 if x == WINDOW_W else 0), y + (0.5 if y == 0 else -0.5 if y == WINDOW_H
                                                                        else 0)) for x, y in pts + [pts[0]]],
           mix(accent, PANEL_EDGE, 0.55), 1)


# ---------------------------------------------------------------- page 0: the mouse

MOUSE_CX = 547
_RIGHT_HALF = [(547, 168), (585, 172), (610, 192), (619, 235), (617, 290), (610, 335), (614, 385), (616, 430),
               (606, 472), (582, 496), (547, 503)]
PART_POINTS = {
    "left": (512, 224), "right": (582, 224), "wheel": (547, 210), "dpi_up": (547, 245), "dpi_down": (547, 263),
    "side_front": (484, 273), "side_back": (484, 315), "side_mid": (610, 315), "top": (547, 432),
}


def _smooth(points, steps=12):
    """A closed Catmull-Rom curve through the points."""
    out = []
    n = len(points)
    for i in range(n):
        p0, p1, p2, p3 = points[i - 1], points[i], points[(i + 1) % n], points[(i + 2) % n]
        for k in range(steps):
            t = k / steps
            out.append(tuple(0.5 * ((2 * p1[j]) + (-p0[j] + p2[j]) * t + (2 * p0[j] - 5 * p1[j] + 4 * p2[j] - p3[j])
                                    * t * t + (-p0[j] + 3 * p1[j] - 3 * p2[j] + p3[j]) * t ** 3) for j in range(2)))
    return out


def mouse_drawing(c, accent):
    left = [(2 * MOUSE_CX - x, y) for x, y in reversed(_RIGHT_HALF[1:-1])]
    body = _smooth(_RIGHT_HALF + left)
    c.glow(lambda d, s: d.polygon([(s(x), s(y)) for x, y in body], fill=255), accent, 14, 0.45)
    c.polygon(body, fill=(21, 27, 36))
    shade = _smooth([(x - 3 if x > MOUSE_CX else x + 3 if x < MOUSE_CX else x, y + (4 if y < 300 else -4))
                     for x, y in _RIGHT_HALF + left])
    c.polygon(shade, fill=(26, 33, 44))
    c.polygon(body, outline=mix(accent, WHITE, 0.1), width=1.6)
    edge = mix(accent, CONTROL_EDGE, 0.4)
    # the two main buttons and their split
    c.line([(481, 296), (515, 303), (547, 305), (579, 303), (613, 296)], edge, 1.3)
    c.line([(547, 170), (547, 186)], edge, 1.3)
    c.line([(547, 274), (547, 305)], edge, 1.3)
    # wheel
    c.rect(539, 188, 555, 232, fill=(12, 15, 20), radius=7)
    c.rect(539, 188, 555, 232, outline=edge, width=1.2, radius=7)
    for y in range(194, 230, 5):
        c.rect(542, y, 552, y + 1.6, fill=mix(accent, (12, 15, 20), 0.55))
    # DPI buttons behind the wheel
    for y0 in (238, 256):
        c.rect(541, y0, 553, y0 + 14, fill=(14, 18, 24), radius=3)
        c.rect(541, y0, 553, y0 + 14, outline=edge, width=1, radius=3)
    c.polygon([(547, 241), (543, 248), (551, 248)], fill=mix(accent, INK, 0.3))
    c.polygon([(547, 267), (543, 260), (551, 260)], fill=mix(accent, INK, 0.3))
    # side buttons
    for y0 in (258, 300):
        c.rect(479, y0, 489, y0 + 30, fill=(14, 18, 24), radius=4)
        c.rect(479, y0, 489, y0 + 30, outline=edge, width=1, radius=4)
    c.rect(605, 300, 615, 330, fill=(14, 18, 24), radius=4)
    c.rect(605, 300, 615, 330, outline=edge, width=1, radius=4)
    # rear button and the light strip
    c.ellipse(539, 424, 555, 440, fill=(14, 18, 24), outline=edge, width=1)
    c.glow(lambda d, s: d.rounded_rectangle((s(522), s(462), s(572), s(467)), radius=s(2), fill=255), accent, 4)
    c.rect(522, 462, 572, 467, fill=mix(accent, WHITE, 0.3), radius=2)
    # the kestrel on the palm
    cx, cy = MOUSE_CX, 366
    wing = mix(accent, (21, 27, 36), 0.55)
    c.polygon([(cx - 26, cy - 12), (cx - 3, cy + 4), (cx, cy + 18), (cx - 8, cy + 4)], fill=wing)
    c.polygon([(cx + 26, cy - 12), (cx + 3, cy + 4), (cx, cy + 18), (cx + 8, cy + 4)], fill=wing)
    c.polygon([(cx - 5, cy - 6), (cx, cy - 17), (cx + 5, cy - 6), (cx, cy - 1)], fill=mix(accent, (21, 27, 36), 0.3))


def callouts(c, accent):
    for key, column, row, part in layouts.MOUSE_BUTTONS:
        y = layouts.BUTTON_ROW_Y[row] + layouts.BUTTON_H / 2
        bx = layouts.LEFT_BUTTON_X + layouts.BUTTON_W + 14 if column == "left" else layouts.RIGHT_BUTTON_X - 14
        px, py = PART_POINTS[part]
        line = mix(accent, PANEL, 0.45)
        c.line([(bx, y), (px, py)], line, 1.1)
        c.ellipse(px - 3, py - 3, px + 3, py + 3, fill=mix(accent, WHITE, 0.3))
        c.ellipse(bx - 10, y - 10, bx + 10, y + 10, fill=mix(accent, PANEL, 0.6), outline=accent, width=1.3)
        c.text(bx, y + 0.5, str(key - 19), 10.5, WHITE, bold=True)


def main_static(c, accent):
    panel(c, 24, CONTENT_TOP, 236, CONTENT_BOTTOM, accent)
    panel(c, 244, CONTENT_TOP, 842, CONTENT_BOTTOM, accent)
    c.rect(40, 206, 220, 207, fill=PANEL_EDGE)
    c.rect(40, 528, 220, 529, fill=PANEL_EDGE)
    mouse_drawing(c, accent)
    callouts(c, accent)
    emblem(c, 130, 446, 2.2, mix(accent, PANEL, 0.86))


def emblem(c, cx, cy, k, colour):
    """The kestrel, k times the size of the logo's."""
    c.polygon([(cx - 16 * k, cy - 8 * k), (cx - 2 * k, cy + 2 * k), (cx, cy + 11 * k), (cx - 5 * k, cy + 2 * k)],
              fill=colour)
    c.polygon([(cx + 16 * k, cy - 8 * k), (cx + 2 * k, cy + 2 * k), (cx, cy + 11 * k), (cx + 5 * k, cy + 2 * k)],
              fill=colour)
    c.polygon([(cx - 3 * k, cy - 4 * k), (cx, cy - 11 * k), (cx + 3 * k, cy - 4 * k), (cx, cy - 1 * k)], fill=colour)


# ---------------------------------------------------------------- page 1: DPI and speeds

def advanced_static(c, accent):
    panel(c, 24, CONTENT_TOP, 842, 392, accent)
    panel(c, 24, 398, 842, CONTENT_BOTTOM, accent)
    for step, cpi in enumerate(layouts.CPI_STEPS):
        x = layouts.SEGMENT_X0 + step * layouts.SEGMENT_STEP + layouts.SEGMENT_W / 2
        c.text(x, 165, str(cpi), 10, INK if cpi in (800, 1600, 3200) else INK_DIM, bold=cpi in (800, 1600, 3200))
    # a faint rail behind each level's cells
    for level in range(6):
        y = layouts.DPI_ROW_Y0 + level * layouts.DPI_ROW_STEP + layouts.DPI_ROW_H / 2
        c.rect(layouts.SEGMENT_X0 - 6, y - 0.5, layouts.SWATCH_X - 8, y + 0.5, fill=PANEL_EDGE)
    # hairlines between the slider rows
    for _, _, _, y in layouts.SLIDER_ROWS[:-1]:
        c.rect(40, y + 32, 826, y + 33, fill=mix(PANEL_EDGE, PANEL, 0.5))


# ---------------------------------------------------------------- page 2: macros

def well(c, x, y, w, h, accent):
    """The sunken frame around a list or edit control of the macro page."""
    c.rect(x - 2, y - 2, x + w + 2, y + h + 2, fill=mix(accent, PANEL_EDGE, 0.6), radius=3)
    c.rect(x - 1, y - 1, x + w + 1, y + h + 1, fill=(8, 10, 14), radius=2)


def macro_static(c, accent):
    panel(c, 24, CONTENT_TOP, 282, CONTENT_BOTTOM, accent)
    panel(c, 290, CONTENT_TOP, 596, CONTENT_BOTTOM, accent)
    panel(c, 604, CONTENT_TOP, 842, CONTENT_BOTTOM, accent)
    c.rect(40, 224, 266, 225, fill=PANEL_EDGE)
    c.rect(612, 264, 830, 265, fill=PANEL_EDGE)
    for _, x, y, w, h in list(layouts.MACRO_EDITS.values()) + list(layouts.MACRO_DISPLAYS.values()):
        well(c, x, y, w, h, accent)


# ---------------------------------------------------------------- page 3: lighting

def led_static(c, accent):
    panel(c, 24, CONTENT_TOP, 420, CONTENT_BOTTOM, accent)
    panel(c, 436, CONTENT_TOP, 842, 258, accent)
    panel(c, 436, 264, 842, CONTENT_BOTTOM, accent)
    # a spectrum under the effect name, the page's signature
    spectrum = [(255, 40, 60), (255, 160, 0), (240, 240, 0), (0, 230, 120), (0, 190, 255), (120, 80, 255),
                (255, 40, 200)]
    x0, x1 = 40, 404
    for i in range(len(spectrum) - 1):
        a = x0 + (x1 - x0) * i / (len(spectrum) - 1)
        b = x0 + (x1 - x0) * (i + 1) / (len(spectrum) - 1)
        c.hgradient(a, 198, b + 1, 200, spectrum[i], spectrum[i + 1])
    c.rect(40, 502, 404, 503, fill=PANEL_EDGE)


STATIC = [main_static, advanced_static, macro_static, led_static]
PAGE_TABLES = [None, layouts.advanced_layout, layouts.macro_layout, layouts.color_layout]


def page_rects(page):
    """The frame's rectangles (main ids 0..10) and the page's own."""
    main = layouts.main_layout()
    return main if page == 0 else main[:11] + PAGE_TABLES[page]()


def render(page, state):
    c = Canvas(WINDOW_W, WINDOW_H)
    accent = ACCENTS[page]
    frame(c, page)
    STATIC[page](c, accent)
    for r in page_rects(page):
        looks.draw(c, r, state, ACCENTS[r.extra] if r.look == "tab" else accent)
    return c.final()


def null_image(normal):
    """The lighting page's covers: the same page dimmed, so what an effect does not use reads as
    switched off."""
    dim = ImageEnhance.Brightness(ImageEnhance.Color(normal).enhance(0.15)).enhance(0.45)
    hatch = dim.copy()
    d = ImageDraw.Draw(hatch)
    for x in range(-WINDOW_H, WINDOW_W, 9):
        d.line([(x, WINDOW_H), (x + WINDOW_H, 0)], fill=(22, 26, 32), width=1)
    return Image.blend(dim, hatch, 0.5)
