#!/usr/bin/python3
"""Shows what the program paints from the data folder, for looking at a skin without Windows:
the page image with the selected tab, the language, every value-driven look and the layout texts
(in DejaVu Sans, near enough to the program's Arial). One PNG a page:

    /usr/bin/python3 tools/skin_preview.py OUT_FOLDER [HOVER_ID_PAGE0 ...]
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from skin import data_files, layouts  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SKINS = os.path.join(ROOT, "skins")
FONT = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 12)
PAGES = ["main", "advanced", "mac", "led"]
TABLES = [layouts.main_layout, layouts.advanced_layout, layouts.macro_layout, layouts.color_layout]
COVERS = {0: [50, 71, 72, 74, 75], 1: [50, 71, 72, 74], 2: [50, 71, 73, 74, 75], 3: [71], 4: [50, 71],
          5: [50, 71], 6: [71, 72, 74, 75], 7: [49, 50, 71, 72, 75], 8: [50, 72, 73, 74, 75],
          9: [50, 71, 72, 73, 74, 75]}
BLANK = {0: [15, 30, 31, 32, 33, 34, 38], 6: [15, 30, 31, 32, 33, 34, 38], 1: [30, 31, 32, 33, 34, 38],
         2: [15, 30, 31, 32, 33, 34, 39], 3: [], 4: [34], 5: [34], 7: [15, 33, 34, 38],
         8: [15, 30, 31, 32, 33, 34, 38, 39], 9: [15, 30, 31, 32, 33, 34, 38, 39]}


def load(page, state):
    return Image.open(os.path.join(SKINS, "%s_%s.jpg" % (PAGES[page], state))).convert("RGB")


def blit(dst, src, r, width=None):
    w = r.w if width is None else width
    if w > 0 and r.h > 0:
        dst.paste(src.crop((r.x, r.y, r.x + w, r.y + r.h)), (r.x, r.y))


def text(d, r, s, colour=(255, 255, 255), shrink=0):
    if not s or r.w <= 0:
        return
    box = d.textbbox((0, 0), s, font=FONT)
    d.text((r.x + (r.w - shrink - (box[2] - box[0])) // 2, r.y + (r.h - 15) // 2), s, font=FONT, fill=colour)


def paint(page, english=True, hover=None, led_mode=3, recording=False):
    canvas, over, down = load(page, "normal"), load(page, "over"), load(page, "down")
    main = layouts.main_layout()
    table = main if page == 0 else TABLES[page]()
    if hover is not None:
        blit(canvas, over, table[hover])
    if page == 1:
        blit(canvas, down, table[61])
        colours = data_files.DPI_COLOURS
        for level in range(6):
            canvas.paste(colours[level], table[41 + level].box)
            for k in range(66 + 12 * level, 66 + 12 * level + data_files.DPI_STEPS[level] + 1):
                r = table[k]
                canvas.paste(colours[level], (r.x + 1, r.y + 1, r.x + r.w - 1, r.y + r.h))
            if data_files.DPI_ENABLED[level]:
                blit(canvas, down, table[47 + level])
        for key, width in ((1, 5 * table[1].w // 10), (18, 2 * table[18].w // 10), (31, 50 * table[31].w // 300)):
            blit(canvas, down, table[key], width)
    if page == 2:
        if recording:
            blit(canvas, down, table[5])
        blit(canvas, down, table[12])
    if page == 3:
        blit(canvas, down, table[40], 6 * table[40].w // 7)
        blit(canvas, down, table[41], 3 * table[41].w // 6)
        blit(canvas, down, table[48])
        for i in range(7):
            blit(canvas, down, table[7 + i])
            canvas.paste(data_files.USER_COLOURS[i], table[i].box)
        blit(canvas, down, table[14])
        for b in (0, 1):
            blit(canvas, down, table[51 + b])
        null = Image.open(os.path.join(SKINS, "led_null.jpg")).convert("RGB")
        for k in COVERS[led_mode]:
            blit(canvas, null, table[k])
    for i in range(11):
        if i == 6 + page or i == (5 if english else 4):
            blit(canvas, down, main[i])
    d = ImageDraw.Draw(canvas)
    for r in main[:10] + ([main[10]] + main[11:] if page == 0 else table):
        s = r.en if english else r.es
        if page == 0 and r.key == 11 and r in main:
            s = layouts.FUNCTION_NAMES[18][0 if english else 1]
        if page == 0 and 20 <= r.key <= 28 and r in main:
            code = data_files.PROFILE_BUTTONS[1][r.key - 20]
            s = layouts.FUNCTION_NAMES[code][0 if english else 1] if code < 48 else "Recoil"
            text(d, r, s, (255, 0, 0) if r.key == hover else (255, 255, 255))
            continue
        if page == 1 and r.key in (2, 19, 32) and r in table:
            s = {2: "5", 19: "2", 32: "50ms"}[r.key]
        if page == 2 and r.key == 5 and r in table:
            text(d, r, ("Stop" if recording else "Record") if english else ("Parar" if recording else "Grabar"),
                 (1, 255, 246), shrink=6)
            continue
        if page == 3 and r in table:
            if r.key == 35:
                s = "Flow water" if english else "Flujo de agua"
            if r.key in BLANK[led_mode] or (r.key == 98 and led_mode != 3):
                s = ""
        text(d, r, s, shrink=30 if page == 3 and r.key in (40, 41) and r in table else 0)
    return canvas


def popup(name, rows, h, hover, text_x, english=True):
    """A pop-up list as the program draws it: the normal image, the hovered row's strip from the
    over image, the rows' texts (the hovered one red)."""
    normal = Image.open(os.path.join(SKINS, name + "_normal.jpg")).convert("RGB")
    over = Image.open(os.path.join(SKINS, name + "_over.jpg")).convert("RGB")
    w = normal.width
    out = normal.crop((0, 0, w, len(rows) * h))
    out.paste(over.crop((0, (hover - 1) * h, w, hover * h)), (0, (hover - 1) * h))
    d = ImageDraw.Draw(out)
    for r, s in enumerate(rows, 1):
        tw = d.textlength(s, font=FONT)
        x = text_x(w, tw)
        d.text((x, (r - 1) * h + (h - 14) // 2), s, font=FONT, fill=(255, 0, 0) if r == hover else (255, 255, 255))
    return out


def popups(english=True):
    lang = 0 if english else 1
    names = layouts.FUNCTION_NAMES
    sheet = Image.new("RGB", (900, 460), (60, 60, 60))
    sheet.paste(popup("menu1", [names[k][lang] for k in range(1, 11)], layouts.MENU1_H // 15, 8,
                      lambda w, tw: (w - tw) // 2), (10, 10))
    sheet.paste(popup("menu", [names[k][lang] for k in range(18, 22)], layouts.MENU_H // 10, 2,
                      lambda w, tw: (w - tw) // 2 - 8), (210, 10))
    sheet.paste(popup("menu", [names[k][lang] for k in range(22, 32)], layouts.MENU_H // 15, 3,
                      lambda w, tw: (w - tw) // 2), (400, 10))
    sheet.paste(popup("more", ["Import", "Export", "Reset"], layouts.MORE_H // 3, 2, lambda w, tw: 3), (590, 10))
    warn = Image.open(os.path.join(SKINS, "warning_normal.jpg")).convert("RGB")
    over = Image.open(os.path.join(SKINS, "warning_over.jpg")).convert("RGB")
    records = layouts.warning_layout()
    blit(warn, over, records[0])
    d = ImageDraw.Draw(warn)
    for r in records:
        text(d, r, r.en if english else r.es, (255, 0, 0))
    sheet.paste(warn, (400, 280))
    icon = Image.open(os.path.join(ROOT, "ui", "resources", "tev_kestra.ico"))
    x = 590
    for size in (16, 32, 48):
        icon.size = (size, size)
        frame = icon.copy().convert("RGBA")
        sheet.paste(frame, (x, 150), frame)
        x += size + 20
    return sheet


def main(argv):
    out = argv[1] if len(argv) > 1 else "/tmp/skin-preview"
    os.makedirs(out, exist_ok=True)
    for page in range(4):
        for english in (True, False):
            paint(page, english, hover=None).save(os.path.join(out, "%s_%s.png" % (PAGES[page], "en" if english else "es")))
    paint(0, True, hover=22).save(os.path.join(out, "main_hover.png"))
    paint(3, True, led_mode=8).save(os.path.join(out, "led_mode8.png"))
    paint(3, True, led_mode=0).save(os.path.join(out, "led_mode0.png"))
    paint(2, True, recording=True).save(os.path.join(out, "mac_recording.png"))
    popups(True).save(os.path.join(out, "popups_en.png"))
    popups(False).save(os.path.join(out, "popups_es.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
