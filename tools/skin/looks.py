"""The look of each kind of rectangle in its three states: normal, over (hovered) and down
(pressed, selected or switched on). Everything a look draws stays inside its rectangle, since the
program copies exactly the rectangle from the over and down images."""

from .paint import (CONTROL, CONTROL_EDGE, CONTROL_TOP, DANGER, INK, INK_DIM, OVER, OVER_TOP, PANEL,
                    WHITE, mix)

NORMAL, OVER_STATE, DOWN = "normal", "over", "down"


def _plate(c, r, state, accent, radius=5, strong=False):
    """The body shared by buttons and fields."""
    x0, y0, x1, y1 = r.box
    if state == NORMAL:
        top, bottom = (mix(accent, CONTROL_TOP, 0.35), mix(accent, CONTROL, 0.55)) if strong else \
            (CONTROL_TOP, CONTROL)
        edge = mix(accent, CONTROL_EDGE, 0.3) if strong else CONTROL_EDGE
    elif state == OVER_STATE:
        top, bottom = (mix(accent, OVER_TOP, 0.15), mix(accent, OVER, 0.4)) if strong else (OVER_TOP, OVER)
        edge = accent
    else:
        top, bottom = mix(accent, BASE_DOWN, 0.62), mix(accent, BASE_DOWN, 0.42)
        edge = mix(accent, WHITE, 0.25)
    c.rect(x0, y0, x1, y1, fill=edge, radius=radius)
    c.gradient(x0 + 1, y0 + 1, x1 - 1, y1 - 1, top, bottom, radius=max(0, radius - 1))
    if state == OVER_STATE:
        c.rect(x0 + 3, y1 - 2.4, x1 - 3, y1 - 1.4, fill=mix(accent, WHITE, 0.3))
    if state == DOWN:
        c.rect(x0 + 2, y0 + 1.3, x1 - 2, y0 + 2.3, fill=mix(accent, (0, 0, 0), 0.5))


BASE_DOWN = (8, 12, 18)


def _chevron(c, cx, cy, size, colour, width=1.6):
    c.line([(cx - size, cy - size / 2), (cx, cy + size / 2), (cx + size, cy - size / 2)], colour, width)


def _check(c, x0, y0, x1, y1, colour, width=2.0):
    w, h = x1 - x0, y1 - y0
    c.line([(x0 + w * 0.24, y0 + h * 0.52), (x0 + w * 0.43, y0 + h * 0.72), (x0 + w * 0.78, y0 + h * 0.3)],
           colour, width)


def glyph(c, name, cx, cy, ink):
    """The small pictures beside button texts and in the file-command list."""
    if name in ("import", "export"):  # a tray with an arrow in or out
        c.line([(cx - 8, cy + 2), (cx - 8, cy + 7), (cx + 8, cy + 7), (cx + 8, cy + 2)], ink, 1.4)
        tip, tail = (cy + 3, cy - 8) if name == "import" else (cy - 8, cy + 3)
        d = 1 if name == "import" else -1
        c.line([(cx, tail), (cx, tip)], ink, 1.4)
        c.line([(cx - 4, tip - 4 * d), (cx, tip), (cx + 4, tip - 4 * d)], ink, 1.4)
    elif name == "reset":  # a circular arrow
        c.draw.arc(c.box(cx - 7, cy - 7, cx + 7, cy + 7), 40, 330, fill=ink, width=c.s(1.4))
        c.polygon([(cx + 7.5, cy - 7), (cx + 7.5, cy - 1), (cx + 2, cy - 3)], fill=ink)
    elif name == "web":  # a globe
        c.ellipse(cx - 7, cy - 7, cx + 7, cy + 7, outline=ink, width=1.3)
        c.ellipse(cx - 3, cy - 7, cx + 3, cy + 7, outline=ink, width=1.1)
        c.line([(cx - 7, cy), (cx + 7, cy)], ink, 1.1)
    elif name == "plus":
        c.line([(cx - 6, cy), (cx + 6, cy)], ink, 1.8)
        c.line([(cx, cy - 6), (cx, cy + 6)], ink, 1.8)
    elif name == "trash":
        c.line([(cx - 7, cy - 5), (cx + 7, cy - 5)], ink, 1.4)
        c.line([(cx - 2, cy - 7), (cx + 2, cy - 7)], ink, 1.4)
        c.polygon([(cx - 5, cy - 3), (cx + 5, cy - 3), (cx + 4, cy + 7), (cx - 4, cy + 7)], outline=ink, width=1.3)
    elif name == "files":  # two arrows, in and out
        c.line([(cx - 4, cy - 7), (cx - 4, cy + 6)], ink, 1.4)
        c.line([(cx - 7, cy + 3), (cx - 4, cy + 7), (cx - 1, cy + 3)], ink, 1.4)
        c.line([(cx + 4, cy + 7), (cx + 4, cy - 6)], ink, 1.4)
        c.line([(cx + 1, cy - 3), (cx + 4, cy - 7), (cx + 7, cy - 3)], ink, 1.4)
    elif name == "check":
        _check(c, cx - 8, cy - 8, cx + 8, cy + 8, ink, 1.9)


def _glyph_of(c, r, state, accent):
    if r.extra:
        x0, y0, x1, y1 = r.box
        glyph(c, r.extra, x0 + 18, (y0 + y1) / 2, WHITE if state != NORMAL else mix(accent, INK, 0.4))


def button(c, r, state, accent):
    _plate(c, r, state, accent)
    _glyph_of(c, r, state, accent)


def dark_button(c, r, state, accent):
    """A button whose text is pure red in every state (the warning box): dark inside, its state
    on the edge."""
    x0, y0, x1, y1 = r.box
    edge = {NORMAL: mix(accent, CONTROL_EDGE, 0.6), OVER_STATE: accent, DOWN: mix(accent, WHITE, 0.35)}[state]
    c.rect(x0, y0, x1, y1, fill=edge, radius=5)
    inset = 1 if state == NORMAL else 2
    c.gradient(x0 + inset, y0 + inset, x1 - inset, y1 - inset, (22, 27, 35), (12, 15, 20), radius=4)


def accent_button(c, r, state, accent):
    _plate(c, r, state, accent, strong=True)
    _glyph_of(c, r, state, mix(accent, WHITE, 0.6))


def icon_button(c, r, state, accent):
    x0, y0, x1, y1 = r.box
    close = r.extra == "close"
    if state != NORMAL:
        fill = (DANGER if close else OVER) if state == OVER_STATE else (mix(DANGER, BASE_DOWN, 0.4) if close
                                                                         else mix(accent, BASE_DOWN, 0.5))
        c.rect(x0, y0, x1, y1, fill=fill, radius=4)
    ink = WHITE if state != NORMAL else INK
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    if close:
        c.line([(cx - 6, cy - 6), (cx + 6, cy + 6)], ink, 1.8)
        c.line([(cx - 6, cy + 6), (cx + 6, cy - 6)], ink, 1.8)
    else:
        c.line([(cx - 7, cy + 4), (cx + 7, cy + 4)], ink, 1.8)


def lang(c, r, state, accent):
    x0, y0, x1, y1 = r.box
    if state == NORMAL:
        c.rect(x0, y0, x1, y1, fill=CONTROL_EDGE, radius=13)
        c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill=CONTROL, radius=12)
    elif state == OVER_STATE:
        c.rect(x0, y0, x1, y1, fill=accent, radius=13)
        c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill=OVER, radius=12)
    else:
        c.rect(x0, y0, x1, y1, fill=mix(accent, WHITE, 0.2), radius=13)
        c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill=mix(accent, BASE_DOWN, 0.45), radius=12)


def tab(c, r, state, accent):
    x0, y0, x1, y1 = r.box
    if state == NORMAL:
        c.gradient(x0, y0, x1, y1, (22, 28, 38), (15, 20, 27), radius=6)
        c.rect(x0 + 10, y1 - 3, x1 - 10, y1 - 2, fill=mix(accent, BASE_DOWN, 0.65))
    elif state == OVER_STATE:
        c.gradient(x0, y0, x1, y1, (34, 44, 60), (22, 29, 40), radius=6)
        c.rect(x0 + 6, y1 - 4, x1 - 6, y1 - 2, fill=accent)
    else:
        c.gradient(x0, y0, x1, y1, mix(accent, BASE_DOWN, 0.55), mix(accent, BASE_DOWN, 0.8), radius=6)
        c.rect(x0, y1 - 4, x1, y1, fill=accent)
    # the page's mark, left of the centred title
    _tab_icon(c, r.extra, x0 + 22, (y0 + y1) / 2 - 1, WHITE if state == DOWN else mix(accent, INK, 0.3))


def _tab_icon(c, page, cx, cy, colour):
    if page == 0:    # a mouse
        c.rect(cx - 6, cy - 9, cx + 6, cy + 9, outline=colour, width=1.5, radius=6)
        c.line([(cx, cy - 9), (cx, cy - 2)], colour, 1.5)
    elif page == 1:  # a gauge
        c.draw.arc(c.box(cx - 9, cy - 8, cx + 9, cy + 10), 180, 360, fill=colour, width=c.s(1.6))
        c.line([(cx, cy + 1), (cx + 5, cy - 5)], colour, 1.8)
    elif page == 2:  # a list of steps
        for i in range(3):
            c.rect(cx - 8, cy - 7 + i * 6, cx - 5, cy - 4 + i * 6, fill=colour)
            c.rect(cx - 2, cy - 6.5 + i * 6, cx + 9, cy - 4.5 + i * 6, fill=colour)
    else:            # a light
        c.ellipse(cx - 5, cy - 5, cx + 5, cy + 5, fill=colour)
        for dx, dy in ((0, -9), (0, 9), (-9, 0), (9, 0), (-6.4, -6.4), (6.4, 6.4), (-6.4, 6.4), (6.4, -6.4)):
            c.line([(cx + dx * 0.75, cy + dy * 0.75), (cx + dx, cy + dy)], colour, 1.4)


def logo(c, r, state, accent):
    x0, y0, x1, y1 = r.box
    if state == OVER_STATE:
        c.gradient(x0, y0, x1, y1, (24, 31, 42), (16, 21, 29), radius=6)
    elif state == DOWN:
        c.gradient(x0, y0, x1, y1, mix(accent, BASE_DOWN, 0.7), mix(accent, BASE_DOWN, 0.85), radius=6)
    wing = WHITE if state != NORMAL else mix(accent, WHITE, 0.15)
    # a kestrel's stoop: two swept wings and a head
    cx, cy = x0 + 26, (y0 + y1) / 2
    c.polygon([(cx - 16, cy - 8), (cx - 2, cy + 2), (cx, cy + 11), (cx - 5, cy + 2)], fill=wing)
    c.polygon([(cx + 16, cy - 8), (cx + 2, cy + 2), (cx, cy + 11), (cx + 5, cy + 2)], fill=wing)
    c.polygon([(cx - 3, cy - 4), (cx, cy - 11), (cx + 3, cy - 4), (cx, cy - 1)], fill=accent)
    c.text(x0 + 52, cy - 6, "TEV KESTRA", 15, WHITE, bold=True, anchor="lm")
    c.text(x0 + 53, cy + 10, "GAMING MOUSE", 7.5, mix(accent, INK, 0.4), anchor="lm", spacing=1.6)


def label(c, r, state, accent):
    pass


def title(c, r, state, accent):
    """A panel's heading: a chip with the text centred and a mark at each end."""
    x0, y0, x1, y1 = r.box
    c.rect(x0, y0, x1, y1, fill=mix(accent, PANEL, 0.7), radius=(y1 - y0) / 2)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill=mix(accent, PANEL, 0.88), radius=(y1 - y0) / 2 - 1)
    cy = (y0 + y1) / 2
    for cx in (x0 + 12, x1 - 12):
        c.ellipse(cx - 2.5, cy - 2.5, cx + 2.5, cy + 2.5, fill=accent)


def dropdown(c, r, state, accent):
    _plate(c, r, state, accent, radius=4)
    x0, y0, x1, y1 = r.box
    cx, cy = x1 - 14, (y0 + y1) / 2
    _chevron(c, cx, cy, 4, WHITE if state != NORMAL else mix(accent, INK, 0.35))


def drop_arrow(c, r, state, accent):
    _plate(c, r, state, accent, radius=4)
    x0, y0, x1, y1 = r.box
    _chevron(c, (x0 + x1) / 2, (y0 + y1) / 2, 4, WHITE if state != NORMAL else mix(accent, INK, 0.35))


def assign(c, r, state, accent):
    """A mouse button's function. Its text turns pure red while hovered, so every look stays
    dark inside and shows its state on the edge."""
    x0, y0, x1, y1 = r.box
    edge = {NORMAL: CONTROL_EDGE, OVER_STATE: accent, DOWN: mix(accent, WHITE, 0.35)}[state]
    c.rect(x0, y0, x1, y1, fill=edge, radius=4)
    inset = 2 if state == DOWN else 1
    top, bottom = {NORMAL: (CONTROL_TOP, CONTROL), OVER_STATE: ((24, 31, 42), (16, 21, 29)),
                   DOWN: ((10, 14, 20), mix(accent, (10, 14, 20), 0.8))}[state]
    c.gradient(x0 + inset, y0 + inset, x1 - inset, y1 - inset, top, bottom, radius=3)
    # a slim accent edge on the side that faces the mouse
    left = r.extra[0] == "left"
    ex = x1 - 5 if left else x0 + 2
    c.rect(ex, y0 + 6, ex + 3, y1 - 6, fill=accent if state != NORMAL else mix(accent, CONTROL, 0.45))


def marker(c, r, state, accent):
    """A DPI level's number; the current level is drawn from the down image. Its text may turn
    red under the pointer, so the inside stays dark."""
    x0, y0, x1, y1 = r.box
    if state == DOWN:
        c.rect(x0, y0, x1, y1, fill=mix(accent, WHITE, 0.2), radius=13)
        c.rect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, fill=mix(accent, (10, 14, 20), 0.78), radius=11)
        c.ellipse(x0 + 7, (y0 + y1) / 2 - 3, x0 + 13, (y0 + y1) / 2 + 3, fill=accent)
    else:
        c.rect(x0, y0, x1, y1, fill=accent if state == OVER_STATE else CONTROL_EDGE, radius=13)
        c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill=(20, 26, 35) if state == OVER_STATE else CONTROL, radius=12)


def check(c, r, state, accent):
    x0, y0, x1, y1 = r.box
    s = min(x1 - x0, y1 - y0) - 6
    bx0, by0 = (x0 + x1 - s) / 2, (y0 + y1 - s) / 2
    bx1, by1 = bx0 + s, by0 + s
    edge = accent if state != NORMAL else CONTROL_EDGE
    c.rect(bx0, by0, bx1, by1, fill=edge, radius=4)
    if state == DOWN:
        c.rect(bx0 + 1.5, by0 + 1.5, bx1 - 1.5, by1 - 1.5, fill=mix(accent, BASE_DOWN, 0.2), radius=3)
        _check(c, bx0, by0, bx1, by1, WHITE, 2.2)
    else:
        c.rect(bx0 + 1.5, by0 + 1.5, bx1 - 1.5, by1 - 1.5, fill=OVER if state == OVER_STATE else BASE_DOWN, radius=3)


def swatch(c, r, state, accent):
    x0, y0, x1, y1 = r.box
    edge = accent if state == OVER_STATE else (mix(accent, WHITE, 0.3) if state == DOWN else CONTROL_EDGE)
    c.rect(x0, y0, x1, y1, fill=edge, radius=3)
    fill = mix(accent, BASE_DOWN, 0.5) if state == DOWN else BASE_DOWN
    c.rect(x0 + 1.5, y0 + 1.5, x1 - 1.5, y1 - 1.5, fill=fill, radius=2)
    if state == NORMAL:
        # an empty slot: a thin diagonal
        c.line([(x0 + 5, y1 - 5), (x1 - 5, y0 + 5)], CONTROL_EDGE, 1.2)


def segment(c, r, state, accent):
    """A DPI cell. The program fills it inset by one pixel on the left, top and right, so its
    frame shows there."""
    x0, y0, x1, y1 = r.box
    edge = accent if state != NORMAL else (44, 54, 70)
    c.rect(x0, y0, x1, y1, fill=edge)
    inner = mix(accent, BASE_DOWN, 0.45) if state == DOWN else (OVER if state == OVER_STATE else (20, 26, 35))
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill=inner)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y0 + 2, fill=mix(inner, WHITE, 0.06))


def bar(c, r, state, accent):
    """A slider: the down image holds the full fill, which the program cuts to the value."""
    x0, y0, x1, y1 = r.box
    steps = r.extra
    if state == DOWN:
        c.rect(x0, y0, x1, y1, fill=mix(accent, WHITE, 0.25), radius=4)
        c.hgradient(x0 + 1, y0 + 1, x1 - 1, y1 - 1, mix(accent, BASE_DOWN, 0.55), accent, radius=3)
        c.rect(x0 + 2, y0 + 2, x1 - 2, y0 + 4, fill=mix(accent, WHITE, 0.35))
    else:
        c.rect(x0, y0, x1, y1, fill=accent if state == OVER_STATE else CONTROL_EDGE, radius=4)
        c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill=(14, 18, 25), radius=3)
    # step ticks, so each step's place can be seen and hit
    count = steps if steps <= 12 else 10
    tick = WHITE if state == DOWN else INK_DIM
    for i in range(1, count):
        x = x0 + (x1 - x0) * i / count
        c.rect(x - 0.5, y1 - 6, x + 0.5, y1 - 2, fill=mix(tick, BASE_DOWN, 0.35 if state == DOWN else 0.2))


def value(c, r, state, accent):
    x0, y0, x1, y1 = r.box
    c.rect(x0, y0, x1, y1, fill=accent if state != NORMAL else CONTROL_EDGE, radius=4)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill=(12, 16, 22), radius=3)


def record(c, r, state, accent):
    x0, y0, x1, y1 = r.box
    if state == DOWN:  # recording
        c.rect(x0, y0, x1, y1, fill=DANGER, radius=5)
        c.gradient(x0 + 1, y0 + 1, x1 - 1, y1 - 1, (92, 18, 30), (58, 10, 18), radius=4)
    else:
        _plate(c, r, state, accent)
    cy = (y0 + y1) / 2
    dot = (255, 60, 70) if state == DOWN else ((230, 60, 70) if state == OVER_STATE else (170, 44, 52))
    c.ellipse(x0 + 12, cy - 6, x0 + 24, cy + 6, fill=dot)
    if state == DOWN:
        c.ellipse(x0 + 9, cy - 9, x0 + 27, cy + 9, outline=(255, 120, 128), width=1.2)


def radio(c, r, state, accent):
    _plate(c, r, state, accent, radius=4)
    x0, y0, x1, y1 = r.box
    cx, cy = x0 + 16, (y0 + y1) / 2
    c.ellipse(cx - 7, cy - 7, cx + 7, cy + 7, fill=WHITE if state == DOWN else CONTROL_EDGE)
    c.ellipse(cx - 5.5, cy - 5.5, cx + 5.5, cy + 5.5, fill=BASE_DOWN)
    if state == DOWN:
        c.ellipse(cx - 3.5, cy - 3.5, cx + 3.5, cy + 3.5, fill=accent)


def toggle(c, r, state, accent):
    _plate(c, r, state, accent, radius=4)
    x0, y0, x1, y1 = r.box
    cx, cy = x0 + 14, (y0 + y1) / 2
    lit = state == DOWN
    c.ellipse(cx - 5, cy - 5, cx + 5, cy + 5, fill=mix(accent, WHITE, 0.35) if lit else (12, 16, 22))
    c.ellipse(cx - 5, cy - 5, cx + 5, cy + 5, outline=accent if state != NORMAL else CONTROL_EDGE, width=1.2)


def check_bar(c, r, state, accent):
    x0, y0, x1, y1 = r.box
    if state == DOWN:
        c.rect(x0, y0, x1, y1, fill=mix(accent, WHITE, 0.2), radius=4)
        c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill=mix(accent, BASE_DOWN, 0.5), radius=3)
        _check(c, (x0 + x1) / 2 - 8, y0 + 3, (x0 + x1) / 2 + 8, y1 - 3, WHITE, 2.0)
    else:
        c.rect(x0, y0, x1, y1, fill=accent if state == OVER_STATE else CONTROL_EDGE, radius=4)
        c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill=OVER if state == OVER_STATE else (14, 18, 25), radius=3)
        c.rect((x0 + x1) / 2 - 6, (y0 + y1) / 2 - 1, (x0 + x1) / 2 + 6, (y0 + y1) / 2 + 1, fill=CONTROL_EDGE)


def direction(c, r, state, accent):
    _plate(c, r, state, accent, radius=5)
    x0, y0, x1, y1 = r.box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    ink = WHITE if state != NORMAL else mix(accent, INK, 0.4)

    def arrow(xa, xb):  # a shaft from xa to xb with its head at xb
        d = 1 if xb > xa else -1
        c.line([(xa, cy), (xb, cy)], ink, 2)
        c.polygon([(xb + d * 2, cy), (xb - d * 5, cy - 5), (xb - d * 5, cy + 5)], fill=ink)

    kind = r.extra
    if kind == 0:
        arrow(cx - 16, cx + 12)
    elif kind == 1:
        arrow(cx + 16, cx - 12)
    elif kind == 2:
        arrow(cx - 3, cx - 18)
        arrow(cx + 3, cx + 18)
        c.rect(cx - 1, cy - 8, cx + 1, cy + 8, fill=ink)
    else:
        arrow(cx - 20, cx - 5)
        arrow(cx + 20, cx + 5)
        c.rect(cx - 1, cy - 8, cx + 1, cy + 8, fill=ink)


def message(c, r, state, accent):
    pass


def cover(c, r, state, accent):
    pass


def none(c, r, state, accent):
    pass


label_left = label

LOOKS = {
    "button": button, "dark_button": dark_button, "accent_button": accent_button, "icon_button": icon_button, "lang": lang, "tab": tab,
    "logo": logo, "label": label, "label_left": label_left, "title": title, "dropdown": dropdown,
    "drop_arrow": drop_arrow, "assign": assign, "marker": marker, "check": check, "swatch": swatch,
    "segment": segment, "bar": bar, "value": value, "record": record, "radio": radio, "toggle": toggle,
    "check_bar": check_bar, "direction": direction, "message": message, "cover": cover, "none": none,
}


def draw(c, r, state, accent):
    if r.w <= 0 or r.h <= 0:
        return
    LOOKS[r.look](c, r, state, accent)
