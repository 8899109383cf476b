#!/usr/bin/python3
"""Draws the program's data folder: skins/ (layouts, images, config.ini, macro groups),
constMacro.dat and the program icon. Run with Debian's /usr/bin/python3 (python3-pil and
fonts-dejavu-core):

    /usr/bin/python3 tools/make_skins.py [OUTPUT_ROOT]

OUTPUT_ROOT defaults to the source tree: OUTPUT_ROOT/skins, OUTPUT_ROOT/constMacro.dat and
OUTPUT_ROOT/ui/resources/tev_kestra.ico. The outputs are committed; the build does not run this."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from skin import data_files, images  # noqa: E402


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    skins = os.path.join(root, "skins")
    data_files.write_layouts(skins)
    data_files.write_config(skins)
    data_files.write_macros(skins, root)
    images.write_images(skins, root)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
