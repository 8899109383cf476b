// The warning box over the real main window: asked before the first profile's last left click is
// given away, cut out of its mask, its hover painted, ended by its buttons.
#include "tests/ui/popups/popups_fixture.h"

namespace {

// The fixture of PopupsTest under a suite name of its own: each test file has its own copy
// of the anonymous-namespace fixture, and one suite's tests must share one class.
class WarningBoxTest : public PopupsTest {};

TEST_F(WarningBoxTest, TheFirstProfilesLastLeftClickAsksTheWarningBoxFirst)
{
    ASSERT_EQ(g_buttonAssignments[0][0], 1u);  // the only left click of the shipped profile 1
    prompts_.warningAnswer = WarningAnswer::Cancel;
    OpenFunctionPopup(*window_, 20);
    EXPECT_EQ(prompts_.warningBoxes, 1);
    EXPECT_EQ(g_pMenuPopup, nullptr);
    EXPECT_EQ(g_menuPopupOpen, 0);
    EXPECT_EQ(g_popupOwnerButton, 20);
    const RECT main = ScreenRect(Window());
    EXPECT_EQ(g_popupPos.x, main.left + window_->m_mainPos[20].x);
    EXPECT_EQ(g_popupPos.y, main.top + window_->m_mainPos[20].y + window_->m_mainPos[20].height);

    prompts_.warningAnswer = WarningAnswer::GoOn;
    OpenFunctionPopup(*window_, 20);
    EXPECT_EQ(prompts_.warningBoxes, 2);
    ExpectOpen(kMenuFunctions, 10);
    EXPECT_EQ(ScreenRect(g_pMenuPopup->Handle()).left, g_popupPos.x + 1);
    Choose(*g_pMenuPopup, 2);
    EXPECT_EQ(g_buttonAssignments[0][0], 2u);
    EXPECT_EQ(g_buttonAssignments[0][1], 1u);

    // Another profile is never guarded.
    g_currentProfile = 1;
    g_buttonAssignments[1] = {1, 2, 2, 2, 2, 2, 2, 2, 2};
    OpenFunctionPopup(*window_, 20);
    EXPECT_EQ(prompts_.warningBoxes, 2);
    Choose(*g_pMenuPopup, 3);
    EXPECT_EQ(g_buttonAssignments[1], (std::array<ButtonAssignmentCode, 9>{3, 2, 2, 2, 2, 2, 2, 2, 2}));
}

TEST_F(WarningBoxTest, WarningBoxIsCutFromItsMaskPaintsItsHoverAndEndsWithItsButtons)
{
    g_popupPos = {30, 40};
    const PixelImage mask = SkinPixels(u"\\warning_mask.jpg");
    const PixelImage normal = SkinPixels(u"\\warning_normal.jpg");
    const PixelImage over = SkinPixels(u"\\warning_over.jpg");
    const ButtonPos goOn = g_warningPos[0];
    const ButtonPos cancel = g_warningPos[1];
    const ButtonPos message = g_warningPos[2];
    const POINT goOnCentre{goOn.x + goOn.width / 2, goOn.y + goOn.height / 2};
    const POINT cancelCentre{cancel.x + cancel.width / 2, cancel.y + cancel.height / 2};

    WarningDlg box;
    ASSERT_TRUE(box.Create(Window()));
    const HWND window = box.Handle();
    ShowWindow(window, SW_SHOWNA);
    EXPECT_EQ(GetWindow(window, GW_OWNER), Window());
    EXPECT_EQ(ScreenRect(window).left, 30);
    EXPECT_EQ(ScreenRect(window).top, 40);
    EXPECT_EQ(g_warningWidth, mask.width);
    EXPECT_EQ(g_warningHeight, mask.height);
    RegionOwner shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(window, shape.Get()), ERROR);
    const std::vector<bool> inside = RegionPixels(shape.Get(), mask.width, mask.height);
    int mismatches = 0;
    for (size_t i = 0; i < inside.size(); ++i) mismatches += (inside[i] == IsMaskPixelCut(mask.pixels[i])) ? 1 : 0;
    EXPECT_EQ(mismatches, 0);

    const POINT inCancel = DifferingPoint(normal, over, {cancel.x, cancel.y, cancel.x + cancel.width, cancel.y + cancel.height});
    Send(window, WM_MOUSEMOVE, cancelCentre);
    EXPECT_EQ(g_warningHover, 2);
    EXPECT_TRUE(Invalid(window));
    UpdateWindow(window);
    Send(window, WM_MOUSEMOVE, {cancelCentre.x + 1, cancelCentre.y});
    EXPECT_FALSE(Invalid(window));
    const PixelImage shown = Capture(window, mask.width, mask.height);
    EXPECT_TRUE(Near(PixelAt(shown, inCancel), PixelAt(over, inCancel)));

    // Enter and a release over the message do nothing; the cancel button ends with 2.
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    Send(window, WM_MOUSEMOVE, {message.x + 2, message.y + 2});
    Send(window, WM_LBUTTONUP, {message.x + 2, message.y + 2});
    EXPECT_TRUE(IsWindow(window));
    Send(window, WM_MOUSEMOVE, cancelCentre);
    Send(window, WM_LBUTTONUP, cancelCentre);
    EXPECT_EQ(box.Result(), WarningResult::Cancel);
    EXPECT_FALSE(IsWindow(window));

    // The next box starts with the last hover until the pointer moves; go on ends with 1.
    WarningDlg again;
    ASSERT_TRUE(again.Create(Window()));
    EXPECT_EQ(g_warningHover, 2);
    Send(again.Handle(), WM_MOUSEMOVE, goOnCentre);
    Send(again.Handle(), WM_LBUTTONUP, goOnCentre);
    EXPECT_EQ(again.Result(), WarningResult::GoOn);

    WarningDlg escaped;
    ASSERT_TRUE(escaped.Create(Window()));
    SendMessageW(escaped.Handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(escaped.Result(), WarningResult::Cancel);
}

}  // namespace
