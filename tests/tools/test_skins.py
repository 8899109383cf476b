"""The shipped data folder against its layouts and its generator: every rectangle inside its
images, one size for a page's images and its mask, masks of pure black and white, and every
file as tools/make_skins.py writes it. Run with Debian's /usr/bin/python3 -m pytest."""

import os
import subprocess
import sys

import pytest
from PIL import Image, ImageChops, ImageStat

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SKINS = os.path.join(ROOT, "skins")

# layout file (English, Spanish): BUTTONPOS count and the images whose rectangles it gives
LAYOUTS = {
    ("skin_main_en.ini", "skin_main.ini"): (29, ["main"]),
    ("skin_advance_en.ini", "skin_advance.ini"): (138, ["advanced"]),
    ("skin_color_en.ini", "skin_color.ini"): (103, ["led"]),
    ("skin_mac_en.ini", "skin_mac.ini"): (20, ["mac"]),
    ("LBWarning_en.ini", "LBWarning.ini"): (3, ["warning"]),
}
PAGES = ["main", "advanced", "mac", "led"]
POPUPS = ["menu", "menu1", "more"]


def read_ini(path):
    with open(path, "rb") as f:
        data = f.read()
    assert data[:2] == b"\xff\xfe", "%s: UTF-16 with a byte-order mark" % path
    sections, current = {}, None
    for line in data[2:].decode("utf-16-le").splitlines():
        line = line.strip()
        if line.startswith("["):
            current = sections.setdefault(line[1:-1], {})
        elif "=" in line:
            key, value = line.split("=", 1)
            current[key] = value
    return sections


def rects(section, count, keys=None):
    out = {}
    for key in keys or range(count):
        value = section[str(key)]
        fields = value.split(",")
        assert len(fields) == 7, "%s=%s: six commas" % (key, value)
        out[key] = tuple(int(v) for v in fields[1:5]) + (fields[5],)
    return out


def images(prefix):
    names = {"warning": ["normal", "over", "mask"]}.get(prefix, ["normal", "over", "down"])
    if prefix in PAGES:
        names.append("mask")
    paths = [os.path.join(SKINS, "%s_%s.jpg" % (prefix, n)) for n in names]
    if prefix in PAGES:
        paths[-1] = os.path.join(SKINS, "main_mask.jpg")
    if prefix == "led":
        paths.append(os.path.join(SKINS, "led_null.jpg"))
    return paths


def size(path):
    with Image.open(path) as im:
        return im.size


@pytest.mark.parametrize("files", list(LAYOUTS))
def test_every_rectangle_lies_inside_its_images(files):
    count, prefixes = LAYOUTS[files]
    layouts = [read_ini(os.path.join(SKINS, folder, name)) for folder, name in zip(("INI_EN", "INI_CN"), files)]
    en, es = (rects(ini["BUTTONPOS"], count) for ini in layouts)
    assert {k: v[:4] for k, v in en.items()} == {k: v[:4] for k, v in es.items()}, "one geometry in both languages"
    # the frame of the main layout is drawn on every page
    for prefix in PAGES if files[0] == "skin_main_en.ini" else prefixes:
        for path in images(prefix):
            w, h = size(path)
            for key, (x, y, rw, rh, _) in en.items():
                if files[0] == "skin_main_en.ini" and prefix != "main" and key > 10:
                    continue
                assert rw >= 0 and rh >= 0
                assert 0 <= x and 0 <= y and x + rw <= w and y + rh <= h, "%s id %d outside %s" % (files[0], key, path)
    if files[0] == "skin_main_en.ini":
        for ini in layouts:
            names = ini["FUN_STRING"]
            assert all(names.get(str(code), "") for code in range(1, 48))
            assert "," not in "".join(names.values())
    if files[0] == "skin_mac_en.ini":
        w, h = size(os.path.join(SKINS, "mac_normal.jpg"))
        for ini in layouts:
            for section, keys in (("EDIT", [0, 1, 2]), ("MACRODISPLAY", [1, 2, 3])):
                for x, y, rw, rh, _ in rects(ini[section], 0, keys).values():
                    assert rw > 0 and rh > 0 and x + rw <= w and y + rh <= h


def test_rectangles_sit_inside_the_window_shape():
    with Image.open(os.path.join(SKINS, "main_mask.jpg")) as mask:
        mask = mask.convert("RGB")
        for name, page_count in (("skin_main_en.ini", 29), ("skin_advance_en.ini", 138), ("skin_color_en.ini", 103),
                                 ("skin_mac_en.ini", 20)):
            for key, (x, y, w, h, _) in rects(read_ini(os.path.join(SKINS, "INI_EN", name))["BUTTONPOS"],
                                              page_count).items():
                if w and h:
                    for px, py in ((x, y), (x + w - 1, y), (x, y + h - 1), (x + w - 1, y + h - 1)):
                        assert min(mask.getpixel((px, py))) <= 100, "%s id %d cut away" % (name, key)


@pytest.mark.parametrize("prefix", PAGES + POPUPS + ["warning"])
def test_images_of_a_page_and_its_mask_have_one_size(prefix):
    paths = images(prefix) if prefix not in POPUPS else [os.path.join(SKINS, "%s_%s.jpg" % (prefix, n))
                                                           for n in ("normal", "over", "down", "mask")]
    sizes = {size(p) for p in paths}
    assert len(sizes) == 1, sizes


@pytest.mark.parametrize("mask", ["main_mask.jpg", "warning_mask.jpg", "menu_mask.jpg", "menu1_mask.jpg",
                                  "more_mask.jpg"])
def test_masks_are_pure_black_and_white(mask):
    """No pixel near the threshold (all channels above 100 cut it away), so the shape does not
    depend on the JPEG decoder."""
    with Image.open(os.path.join(SKINS, mask)) as im:
        for r, g, b in im.convert("RGB").getdata():
            assert max(r, g, b) <= 40 or min(r, g, b) >= 215


def test_window_is_the_dialog_template_at_96_dpi():
    # 577 x 395 dialog units with base units of 6 x 13 pixels
    assert size(os.path.join(SKINS, "main_mask.jpg")) == (866, 642)


def test_hover_and_pressed_looks_differ_from_normal():
    section = read_ini(os.path.join(SKINS, "INI_EN", "skin_main_en.ini"))["BUTTONPOS"]
    with Image.open(os.path.join(SKINS, "main_normal.jpg")) as normal:
        for state in ("over", "down"):
            with Image.open(os.path.join(SKINS, "main_%s.jpg" % state)) as other:
                for key, (x, y, w, h, _) in rects(section, 29).items():
                    if key in (15, 16, 17, 18):  # labels
                        continue
                    box = (x, y, x + w, y + h)
                    diff = ImageStat.Stat(ImageChops.difference(normal.crop(box), other.crop(box))).mean
                    assert max(diff) > 4, "id %d looks the same %s" % (key, state)


def _same_image(a, b):
    with Image.open(a) as x, Image.open(b) as y:
        if x.size != y.size:
            return False
        diff = ImageChops.difference(x.convert("RGBA"), y.convert("RGBA"))
        return max(hi for _, hi in diff.getextrema()) <= 12 and max(ImageStat.Stat(diff).mean) < 0.5


def test_files_are_what_the_generator_writes(tmp_path):
    subprocess.run([sys.executable, os.path.join(ROOT, "tools", "make_skins.py"), str(tmp_path)], check=True)
    made = []
    for folder, _, files in os.walk(tmp_path):
        made += [os.path.relpath(os.path.join(folder, f), tmp_path) for f in files]
    shipped = [os.path.relpath(os.path.join(folder, f), ROOT) for folder, _, files in os.walk(SKINS) for f in files]
    assert sorted(set(shipped)) == sorted(m for m in made if m.startswith("skins" + os.sep))
    for rel in made:
        new, old = os.path.join(tmp_path, rel), os.path.join(ROOT, rel)
        if rel.endswith((".jpg", ".ico")):
            assert _same_image(new, old), rel + " differs from the generator's"
        else:
            with open(new, "rb") as f, open(old, "rb") as g:
                assert f.read() == g.read(), rel + " differs from the generator's"


def test_clickable_rectangles_do_not_overlap():
    """Hit-testing takes the lowest id under the pointer, and the frame's ids are tested beside
    every page's: an overlap would hide a button."""
    def table(name, count, tested):
        section = read_ini(os.path.join(SKINS, "INI_EN", name))["BUTTONPOS"]
        return [(name, k, r) for k, r in rects(section, count).items() if k < tested and r[2] and r[3]]

    frame = table("skin_main_en.ini", 29, 11)
    pages = [table("skin_main_en.ini", 29, 29), frame + table("skin_advance_en.ini", 138, 138),
             frame + table("skin_color_en.ini", 103, 71), frame + table("skin_mac_en.ini", 20, 20)]
    for entries in pages:
        for i, (n1, k1, (x1, y1, w1, h1, _)) in enumerate(entries):
            for n2, k2, (x2, y2, w2, h2, _) in entries[i + 1:]:
                apart = x1 + w1 <= x2 or x2 + w2 <= x1 or y1 + h1 <= y2 or y2 + h2 <= y1
                assert apart, "%s id %d overlaps %s id %d" % (n1, k1, n2, k2)
