"""The roads a person takes when starting the program. Each test ends what it started."""
import time

from PIL import Image, ImageChops, ImageStat

from kestra_e2e import MAIN_TITLE, SOURCE, wait_for

CELL = 32


def kept_cells(mask):
    """The CELL x CELL cells of the window that the mask keeps whole (no pixel cut away)."""
    gray = mask.convert("L")
    for y in range(0, gray.height - CELL + 1, CELL):
        for x in range(0, gray.width - CELL + 1, CELL):
            if gray.crop((x, y, x + CELL, y + CELL)).getextrema()[1] <= 100:
                yield x, y


def test_demo_starts_maps_a_shaped_window_and_paints_page_0(start_demo, display):
    demo = start_demo()
    normal = Image.open(SOURCE / "skins" / "main_normal.jpg").convert("RGB")
    mask = Image.open(SOURCE / "skins" / "main_mask.jpg")
    # The window's rectangle comes from dialog units, whose size follows the fonts Wine finds;
    # the shape cuts it to the mask.
    shape = display.run("xwininfo", "-shape", "-id", str(demo.window)).stdout
    assert f"Window shape extents:  {mask.width}x{mask.height}+0+0" in shape

    # Painting may come a little after the window maps; texts drawn over the page (fonts differ
    # between machines) make some cells differ: the skin's own preview of page 0 matches in 89% of
    # the cells, the other pages in at most 50%.
    def painted():
        shot = Image.open(demo.screenshot("page0", settle=0)).convert("RGB")
        cells = list(kept_cells(mask))
        same = 0
        for cx, cy in cells:
            box = (cx, cy, cx + CELL, cy + CELL)
            diff = ImageStat.Stat(ImageChops.difference(shot.crop(box), normal.crop(box))).mean
            same += max(diff) < 12
        return cells and same >= 0.75 * len(cells)

    wait_for("page 0 painted as main_normal.jpg", painted, step=1, alive=demo)
    assert demo.quit() == 0


def test_product_without_mouse_asks_for_it_and_ends(start, display):
    program = start("TEV_Kestra.exe")
    wait_for("the plug-in message", lambda: display.windows("^TEV_Kestra$"))
    assert not display.windows(f"^{MAIN_TITLE}$")
    display.key("Return")
    assert program.wait_exit() == 0


def test_hide_starts_minimised_and_a_second_start_restores_it(start, start_demo, display):
    first = start_demo(args=["-HIDE"], visible=False)
    # With no window manager, Wine shows a minimised window as a small title bar.
    full_width = Image.open(SOURCE / "skins" / "main_mask.jpg").width

    def minimised():
        return display.geometry(first.window)[2] < full_width
    wait_for("the minimised window", minimised, alive=first)
    time.sleep(2)
    assert minimised()
    second = start("TEV_Kestra_sim.exe")
    assert second.wait_exit() == 0
    wait_for("the restored window", lambda: not minimised(), alive=first)
    assert first.quit() == 0


def test_missing_main_layout_gives_one_message_and_ends(start, display):
    program = start("TEV_Kestra_sim.exe",
                    prepare=lambda folder: (folder / "skins" / "INI_EN" / "skin_main_en.ini").unlink())
    wait_for("the message", lambda: display.windows("^TEV_Kestra_sim$"))
    display.key("Return")
    assert program.wait_exit() == 0
    assert not display.windows("^TEV_Kestra_sim$")
def test_harness_drives_the_demo_and_its_mouse(start_demo):
    demo = start_demo()
    # Clicks at layout coordinates and screenshots of the window (what the pages do with clicks
    # is tested where they are built).
    demo.click_control("tab1")
    shot = Image.open(demo.screenshot("after_tab1_click"))
    assert shot.height == Image.open(SOURCE / "skins" / "main_mask.jpg").height
    # A power broadcast applies the settings: they land in the mouse's memory.
    demo.command("power")
    wait_for("the settings in the mouse's memory", demo.memory, alive=demo)
    demo.mark()
    demo.profile(2)
    demo.wait_log("the profile switch reported", lambda lines: any(line.startswith("input") for line in lines))
    assert demo.quit() == 0
