#include "ui/popups/popup_state.h"

int g_menuMode = kMenuProfiles;
int g_menuHoverRow = BUTTON_NONE;
int g_menuHoverPrevious = BUTTON_NONE;
uint8_t g_menuPressed = 0;
uint8_t g_menuPopupOpen = 0;
int g_popupOwnerButton = BUTTON_NONE;
int g_assignButtonId = 0;
SkinRect g_mainWindowRect{};
ScreenPoint g_popupPos{};
uint8_t g_lightBlockIndex = 0;
uint8_t g_chosenMacroGroup = kNoChosenGroup;

uint8_t g_subMenuPopupOpen = 0;
uint8_t g_subMenuMacroMode = 0;
int g_subMenuHoverRow = BUTTON_NONE;
int g_subMenuHoverPrevious = BUTTON_NONE;
int g_subMenuRowCount = 0;
uint8_t g_subMenuChosen = 0;
ButtonAssignmentCode g_subMenuCode = 0;

uint8_t g_macroChoicePopupOpen = 0;

int32_t g_warningWidth = 0;
int32_t g_warningHeight = 0;
int32_t g_warningHover = 0;
int32_t g_warningHoverPrevious = 0;

void ResetPopupState()
{
    g_menuMode = kMenuProfiles;
    g_menuHoverRow = BUTTON_NONE;
    g_menuHoverPrevious = BUTTON_NONE;
    g_menuPressed = 0;
    g_menuPopupOpen = 0;
    g_popupOwnerButton = BUTTON_NONE;
    g_assignButtonId = 0;
    g_mainWindowRect = {};
    g_popupPos = {};
    g_lightBlockIndex = 0;
    g_chosenMacroGroup = kNoChosenGroup;
    g_subMenuPopupOpen = 0;
    g_subMenuMacroMode = 0;
    g_subMenuHoverRow = BUTTON_NONE;
    g_subMenuHoverPrevious = BUTTON_NONE;
    g_subMenuRowCount = 0;
    g_subMenuChosen = 0;
    g_subMenuCode = 0;
    g_macroChoicePopupOpen = 0;
    g_warningWidth = 0;
    g_warningHeight = 0;
    g_warningHover = 0;
    g_warningHoverPrevious = 0;
}
