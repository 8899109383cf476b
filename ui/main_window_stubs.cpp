// Handlers of the message table whose behaviour comes with the pages' clicks, the macro page and
// its editor. Until then they do nothing.
#include "ui/main_window.h"

void CTEV_KestraDlg::OnLButtonDown(UINT, POINT) {}
void CTEV_KestraDlg::OnLButtonUp(UINT, POINT) {}
void CTEV_KestraDlg::OnMouseMove(UINT, POINT) {}
void CTEV_KestraDlg::OnMainPagePress(POINT) {}
void CTEV_KestraDlg::OnAdvancedPagePress(POINT) {}
void CTEV_KestraDlg::OnMacroPagePress(POINT) {}
void CTEV_KestraDlg::OnLedPagePress(POINT) {}
void CTEV_KestraDlg::OnTabPress(int) {}
void CTEV_KestraDlg::StartBlinkThread() {}
void CTEV_KestraDlg::StartLedPreviewThread() {}
void CTEV_KestraDlg::CreateMacroPageControls() {}
void CTEV_KestraDlg::RefreshMacroLists() {}
void CTEV_KestraDlg::DestroyMacroPageControls() {}
void CTEV_KestraDlg::SwitchToSpanish() {}
void CTEV_KestraDlg::SwitchToEnglish() {}
LRESULT CTEV_KestraDlg::OnProfileSelected(WPARAM, LPARAM) { return 0; }
LRESULT CTEV_KestraDlg::OnMacroGroupChosen(WPARAM, LPARAM) { return 0; }
LRESULT CTEV_KestraDlg::OnMacroFileCommand(WPARAM, LPARAM) { return 0; }
void CTEV_KestraDlg::OnGroupNameChange() {}
void CTEV_KestraDlg::OnMacroListSelChange() {}
void CTEV_KestraDlg::OnMacroNameChange() {}
void CTEV_KestraDlg::OnRepeatCountChange() {}
void CTEV_KestraDlg::RefreshMacroEventList(uint32_t) {}
void CTEV_KestraDlg::ShowLightBlockDetails(uint8_t) {}
void CTEV_KestraDlg::AddMacroEventLines(std::span<const MacroRecord>, uint32_t, uint32_t) {}
