// Handlers of the message table whose behaviour comes with the pages' clicks, the macro page and
// its editor. Until then they do nothing.
#include "ui/main_window.h"

void CTEV_KestraDlg::OnMacroPagePress(POINT) {}
void CTEV_KestraDlg::ImportMacroFile() {}
void CTEV_KestraDlg::ExportMacroFile() {}
void CTEV_KestraDlg::RestoreDefaultMacros() {}
void CTEV_KestraDlg::CreateNewMacroFile() {}
LRESULT CTEV_KestraDlg::OnMacroGroupChosen(WPARAM, LPARAM) { return 0; }
LRESULT CTEV_KestraDlg::OnMacroFileCommand(WPARAM, LPARAM) { return 0; }
void CTEV_KestraDlg::OnGroupNameChange() {}
void CTEV_KestraDlg::OnMacroListSelChange() {}
void CTEV_KestraDlg::OnMacroNameChange() {}
void CTEV_KestraDlg::OnRepeatCountChange() {}
