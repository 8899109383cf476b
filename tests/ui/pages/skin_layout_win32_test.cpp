// The window's layout loaders on disk: the shipped UTF-16 files read whole through the platform's
// profile functions, and a missing file ends the window with one message.
#include <gtest/gtest.h>

#include "settings/settings_state.h"
#include "tests/recording_prompts.h"
#include "tests/temp_folder.h"
#include "ui/pages/skin_layout_win32.h"
#include "ui/window/main_window.h"

namespace {

class SkinLayoutWin32Test : public testing::Test {
protected:
    void SetUp() override { ResetSettingsState(); }
    void TearDown() override { ResetSettingsState(); }
    RecordingPrompts prompts;
};

TEST_F(SkinLayoutWin32Test, ShippedSpanishLayoutsReadWhole)
{
    const std::string skins = std::string(KESTRA_TEST_DATA_DIR) + "/../../skins";
    g_skinFolder = std::u16string(skins.begin(), skins.end());
    g_languageEnglish = 0;
    CTEV_KestraDlg window;
    window.LoadSkinMainLayout();
    window.LoadSkinColorLayout();
    window.LoadSkinAdvanceLayout();
    window.LoadSkinMacroLayout();
    window.LoadWarningLayout();
    EXPECT_FALSE(window.Ending());
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(window.m_mainText[18], u"Pulse un botón para cambiar su función");
    EXPECT_EQ(window.m_mainPos[20], (ButtonPos{252, 150, 190, 34}));
    EXPECT_EQ(g_functionNames[1], u"Clic izquierdo");
    EXPECT_EQ(g_profileNames[3], u"Perfil 4");
    EXPECT_GT(g_warningPos[2].width, 0);
    EXPECT_EQ(g_eventListRect.right - g_eventListRect.left, 280);
}

TEST_F(SkinLayoutWin32Test, MissingLayoutFilesEndTheWindowWithOneMessage)
{
    TempFolder folder;
    g_skinFolder = folder.File("skins");
    g_languageEnglish = 1;
    CTEV_KestraDlg window;
    window.LoadSkinMainLayout();
    window.LoadSkinColorLayout();
    window.LoadSkinAdvanceLayout();
    window.LoadSkinMacroLayout();
    window.LoadWarningLayout();
    EXPECT_TRUE(window.Ending());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, u"找不到配置文件");
    EXPECT_EQ(prompts.shown[0].caption, u"");
    EXPECT_EQ(window.m_mainPos[0], ButtonPos{});
}

}  // namespace
