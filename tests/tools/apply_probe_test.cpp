#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/apply_tables.h"
#include "settings/settings_state.h"
#include "tests/tools/apply_probe_run.h"

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::string kProgram = std::string(KESTRA_TEST_DATA_DIR) + "/device/probe_program";

// The probe of a program folder with two profiles sharing a file macro, constant macros, a light
// block, a media key, a key assignment, a fire key and an assignment to a missing macro.
TEST(ApplyProbe, OneApplyOfAProgramFolder)
{
    const std::string out = RunApplyProbe(std::filesystem::path(kProgram).u16string());
    const std::string expected = ReadText(std::string(KESTRA_TEST_DATA_DIR) + "/device/probe_program.expected");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(out, expected);

    // Profile 2 is current, the marker byte of a fresh mouse is rewritten as 0xEE.
    EXPECT_NE(out.find("\n07 18 03 00 01 00 22 00\n"), std::string::npos);
    EXPECT_NE(out.find("\nread "), std::string::npos);
    EXPECT_NE(out.find("\n0040 00 00 00 EE"), std::string::npos);
    // The probe leaves no program state behind.
    EXPECT_EQ(g_slot0MacroSize, 0u);
    EXPECT_EQ(g_buttonAssignments[0][0], 0u);
}

}  // namespace
