#include "device/win32_system_parameters.h"

#include <gtest/gtest.h>

// The session's values can be read; the apply writes them only after a successful read.
TEST(Win32SystemParameters, PointerSpeedAndWheelLinesAreReadable)
{
    Win32SystemParameters parameters;
    uint32_t speed = 0;
    ASSERT_TRUE(parameters.GetMouseSpeed(speed));
    EXPECT_LE(speed, 20u);
    uint32_t lines = 0;
    ASSERT_TRUE(parameters.GetWheelScrollLines(lines));
}
