"""What the mouse reports while the window is open (a DPI step, a macro step, a profile switch)
and a power broadcast, in each of the two languages. Each test ends what it started."""
import pytest
from PIL import Image, ImageChops

from kestra_e2e import LANGUAGES, config_value, first_group_file, set_config_value, wait_for

# Device slot 8 is K7 of a profile, DPI Up in the shipped configuration.
DPI_UP_SLOT = 8
FIRST_FILE_MACRO = 0x100  # group 1, macro 1


def same(a, b):
    return ImageChops.difference(a, b).getbbox() is None


def sent(lines):
    """The reports the program sent, of log lines."""
    return [line for line in lines if not line.startswith(("read", "input"))]


def applied(demo):
    """Posts a power broadcast and waits until the apply it starts has sent its last report."""
    demo.mark()
    demo.command("power")
    seen = [-1]

    def quiet():
        length = len(sent(demo.log_since()))
        settled = length > 0 and length == seen[0]
        seen[0] = length
        return settled
    wait_for("the apply's reports", quiet, step=2, alive=demo)
    return sent(demo.log_since())


@pytest.mark.parametrize("language", ["english", "spanish"])
def test_mouse_reports_show_in_the_window(start_demo, language):
    def prepare(folder):
        set_config_value(folder, "VER_SEL", LANGUAGES[language][0])
        # The macro step plays on the first button's file macro.
        set_config_value(folder, "K0", FIRST_FILE_MACRO, "Config1")

    demo = start_demo(prepare=prepare)
    folder = demo.folder
    group_file = first_group_file(folder, language)
    shipped = group_file.read_bytes()
    # The settings land in the mouse: the step then knows where the first button's macro is.
    assert applied(demo)

    # A DPI step on the mouse: the level is kept and the performance page repaints.
    demo.click_control("tab1")
    performance = Image.open(demo.screenshot("performance_before", settle=1)).convert("RGB")
    level = config_value(folder, "DPI_LEVEL", "Config1")
    demo.press(DPI_UP_SLOT)
    demo.release(DPI_UP_SLOT)
    wait_for("the DPI level kept", lambda: config_value(folder, "DPI_LEVEL", "Config1") != level, alive=demo)
    wait_for("the DPI segment repainted", lambda: not same(performance, Image.open(
        demo.screenshot("performance_after", settle=0.5)).convert("RGB")), alive=demo)

    # A macro step: the first button's macro goes to the mouse again (only its moves change,
    # and the shipped macro has none, so its group file stays as it was).
    demo.mark()
    demo.step("up")
    wait_for("the stepped macro sent", lambda: sent(demo.log_since()), alive=demo)
    assert group_file.read_bytes() == shipped

    # A profile switch: kept as CurConfig and shown on the first page.
    demo.click_control("tab0")
    first_page = Image.open(demo.screenshot("profile_before", settle=1)).convert("RGB")
    demo.profile(2)
    wait_for("CurConfig 2", lambda: config_value(folder, "CurConfig") == 2, alive=demo)
    wait_for("the profile shown", lambda: not same(first_page, Image.open(
        demo.screenshot("profile_after", settle=0.5)).convert("RGB")), alive=demo)
    assert demo.quit() == 0


@pytest.mark.parametrize("language", ["english", "spanish"])
def test_power_broadcast_applies_again(start_demo, language):
    demo = start_demo(prepare=lambda folder: set_config_value(folder, "VER_SEL", LANGUAGES[language][0]))
    first = applied(demo)
    memory = demo.memory()
    # Each broadcast applies the whole configuration again, with the same reports.
    assert applied(demo) == first
    assert demo.memory() == memory
    assert demo.quit() == 0
