// The window's platform-free rules: font sizes by display scale, the "HIDE" switch, the apply
// that never nests, the owner-drawn menu's arithmetic, the program folder.
#include <gtest/gtest.h>

#include "base/program_folder.h"
#include "ui/popups/menu_item_look.h"
#include "ui/window/command_line.h"
#include "ui/window/font_scale.h"
#include "ui/window/serial_apply.h"

TEST(WindowRules, FontSizeByPixelsPerInch)
{
    struct Row {
        int32_t dpi;
        int32_t tenths;
    };
    // Listed scales keep their sizes; others keep the 96-DPI pixel height of 8.5 points.
    const Row rows[] = {{96, 85}, {120, 63}, {144, 53}, {168, 43}, {192, 43}, {200, 30}, {240, 30},
                        {287, 30}, {288, 20}, {108, 76}, {72, 113}, {384, 21}, {0, 85}};
    for (const Row& row : rows) {
        EXPECT_EQ(FontPointTenths(DisplayScale(row.dpi)), row.tenths) << row.dpi;
    }
    for (int32_t dpi : {72, 108, 110, 130, 384, 480}) {
        EXPECT_NEAR(PointFontPixelHeight(FontPointTenths(DisplayScale(dpi)), dpi), PointFontPixelHeight(85, 96), 1)
            << dpi;
    }
}

TEST(WindowRules, HideSwitchOfTheCommandLine)
{
    struct Row {
        const char16_t* line;
        bool hidden;
    };
    const Row rows[] = {
        {u"\"C:\\TEV\\TEV_Kestra.exe\" -HIDE", true},
        {u"\"C:\\TEV\\TEV_Kestra.exe\" -HIDEAWAY", true},
        {u"\"C:\\TEV\\TEV_Kestra.exe\" -hide", false},
        {u"\"C:\\TEV\\TEV_Kestra.exe\" -HIDE -x", false},
        {u"\"C:\\TEV\\TEV_Kestra.exe\" /HIDE", false},
        {u"HIDE", true},
        {u"HIDEME.exe", true},
        {u"\"C:\\TEV\\TEV_Kestra.exe\"", false},
        {u"a -HID", false},
        {u"", false},
        {u"-", false},
    };
    for (const Row& row : rows) EXPECT_EQ(CommandLineAsksHidden(row.line), row.hidden);
}

TEST(WindowRules, AnApplyAskedForDuringAnApplyRunsOnceAfterIt)
{
    int runs = 0;
    SerialApply* self = nullptr;
    SerialApply apply([&] {
        ++runs;
        // The first run is interrupted by two broadcasts (a message box's loop delivers them).
        if (runs == 1) {
            self->Request();
            self->Request();
            EXPECT_EQ(runs, 1);
        }
    });
    self = &apply;
    apply.Request();
    EXPECT_EQ(runs, 2);
    EXPECT_FALSE(apply.Running());
    apply.Request();
    EXPECT_EQ(runs, 3);

    // A broadcast, then the program's end, while the apply runs: it does not run again, nor later.
    SerialApply ending([&] {
        ++runs;
        self->Request();
        self->Stop();
    });
    self = &ending;
    ending.Request();
    EXPECT_EQ(runs, 4);
    ending.Request();
    EXPECT_EQ(runs, 4);
}

TEST(WindowRules, OwnerDrawnMenuSizesAndGradient)
{
    EXPECT_EQ(MeasureMenuItem(u"Insert before    ", 32807).width, 136);
    EXPECT_EQ(MeasureMenuItem(u"Insert after", -1).width, 96);
    EXPECT_EQ(MeasureMenuItem(u"Insert after", -1).height, 20);
    EXPECT_EQ(MeasureMenuItem(u"", 0).height, 1);
    for (int32_t row = 0; row < 18; ++row) {
        EXPECT_EQ(MenuGradientColour(row, 18), 0xFF0000u | static_cast<uint32_t>(14 * row) << 8) << row;
    }
    EXPECT_EQ(MenuGradientColour(200, 300), 0xFF0000u);  // step 0: plain blue
    EXPECT_EQ(MenuGradientColour(0, 0), 0xFF0000u);      // no rows: nothing divides by zero
}

TEST(WindowRules, ProgramFolderAndName)
{
    EXPECT_EQ(FolderOfModulePath(u"C:\\Games\\TEV\\TEV_Kestra.exe"), u"C:\\Games\\TEV");
    EXPECT_EQ(FolderOfModulePath(u"TEV_Kestra.exe"), u"");
    EXPECT_EQ(ApplicationNameOfModulePath(u"C:\\Games\\TEV\\TEV_Kestra.exe"), u"TEV_Kestra");
    EXPECT_EQ(ApplicationNameOfModulePath(u"Z:\\b\\TEV_Kestra_sim.exe"), u"TEV_Kestra_sim");
}
