// Handlers of the message table whose behaviour comes with the pages' clicks, the macro page and
// its editor. Until then they do nothing.
#include "ui/main_window.h"

void CTEV_KestraDlg::OnLButtonDown(UINT, POINT) {}
void CTEV_KestraDlg::OnLButtonUp(UINT, POINT) {}
void CTEV_KestraDlg::OnMouseMove(UINT, POINT) {}
void CTEV_KestraDlg::OnMainPagePress(POINT) {}
void CTEV_KestraDlg::OnAdvancedPagePress(POINT) {}
void CTEV_KestraDlg::OnMacroPagePress(POINT) {}
void CTEV_KestraDlg::ImportMacroFile() {}
void CTEV_KestraDlg::ExportMacroFile() {}
void CTEV_KestraDlg::RestoreDefaultMacros() {}
void CTEV_KestraDlg::CreateNewMacroFile() {}
void CTEV_KestraDlg::OnLedPagePress(POINT) {}
void CTEV_KestraDlg::OnTabPress(int) {}
void CTEV_KestraDlg::StartBlinkThread() {}
void CTEV_KestraDlg::StartLedPreviewThread() {}
void CTEV_KestraDlg::SwitchToSpanish() {}
void CTEV_KestraDlg::SwitchToEnglish() {}
LRESULT CTEV_KestraDlg::OnProfileSelected(WPARAM, LPARAM) { return 0; }
LRESULT CTEV_KestraDlg::OnMacroGroupChosen(WPARAM, LPARAM) { return 0; }
LRESULT CTEV_KestraDlg::OnMacroFileCommand(WPARAM, LPARAM) { return 0; }
void CTEV_KestraDlg::OnGroupNameChange() {}
void CTEV_KestraDlg::OnMacroListSelChange() {}
void CTEV_KestraDlg::OnMacroNameChange() {}
void CTEV_KestraDlg::OnRepeatCountChange() {}
