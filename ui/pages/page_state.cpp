#include "ui/pages/page_state.h"

std::atomic<uint8_t> g_page{kPageMain};
uint32_t g_buttonDown = 0;
uint32_t g_recording = 0;
int g_hoverMainButton = BUTTON_NONE;
int g_hoverLedButton = BUTTON_NONE;
int g_hoverAdvancedButton = BUTTON_NONE;
int g_hoverMacroButton = BUTTON_NONE;
std::array<int, 4> g_hoverPrevious = {BUTTON_NONE, BUTTON_NONE, BUTTON_NONE, BUTTON_NONE};

void ResetPageState()
{
    g_page = kPageMain;
    g_buttonDown = 0;
    g_recording = 0;
    g_hoverMainButton = BUTTON_NONE;
    g_hoverLedButton = BUTTON_NONE;
    g_hoverAdvancedButton = BUTTON_NONE;
    g_hoverMacroButton = BUTTON_NONE;
    g_hoverPrevious.fill(BUTTON_NONE);
}
