"""Writes every image of the data folder as JPEG, and the program icon."""

import os

from . import pages, popups

# Quality and no chroma subsampling: the window tests compare chosen pixels with the files.
JPEG = dict(quality=94, subsampling=0, optimize=True)
PAGE_FILES = ["main", "advanced", "mac", "led"]


def save(image, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.save(path, "JPEG", **JPEG)


def write_images(skins, root):
    save(pages.mask_image(), os.path.join(skins, "main_mask.jpg"))
    for page, name in enumerate(PAGE_FILES):
        for state in ("normal", "over", "down"):
            image = pages.render(page, state)
            save(image, os.path.join(skins, "%s_%s.jpg" % (name, state)))
            if page == 3 and state == "normal":
                save(pages.null_image(image), os.path.join(skins, "led_null.jpg"))
    for name, (draw, mask) in popups.POPUP_IMAGES.items():
        save(mask(), os.path.join(skins, name + "_mask.jpg"))
        for state in ("normal", "over", "down"):
            save(draw(state), os.path.join(skins, "%s_%s.jpg" % (name, state)))
    save(popups.warning_mask(), os.path.join(skins, "warning_mask.jpg"))
    for state in ("normal", "over"):
        save(popups.warning(state), os.path.join(skins, "warning_%s.jpg" % state))
    popups.write_icon(os.path.join(root, "ui", "resources", "tev_kestra.ico"))
