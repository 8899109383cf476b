#include "device/win32_system_parameters.h"

#include <gtest/gtest.h>

// The session's own values are read, written back unchanged and read again.
TEST(Win32SystemParameters, PointerSpeedAndWheelLinesRoundTrip)
{
    Win32SystemParameters parameters;
    uint32_t speed = 0;
    ASSERT_TRUE(parameters.GetMouseSpeed(speed));
    EXPECT_GE(speed, 1u);
    EXPECT_LE(speed, 20u);
    const uint32_t changed = speed == 18 ? 16 : 18;
    EXPECT_TRUE(parameters.SetMouseSpeed(changed, 0));
    uint32_t read = 0;
    ASSERT_TRUE(parameters.GetMouseSpeed(read));
    EXPECT_EQ(read, changed);
    EXPECT_TRUE(parameters.SetMouseSpeed(speed, 0));

    uint32_t lines = 0;
    ASSERT_TRUE(parameters.GetWheelScrollLines(lines));
    EXPECT_TRUE(parameters.SetWheelScrollLines(lines + 1, 0));
    ASSERT_TRUE(parameters.GetWheelScrollLines(read));
    EXPECT_EQ(read, lines + 1);
    EXPECT_TRUE(parameters.SetWheelScrollLines(lines, 0));
}
