// Handlers of the message table whose behaviour comes with the pages' clicks, the macro page and
// its editor. Until then they do nothing.
#include "ui/main_window.h"

void CTEV_KestraDlg::OnLButtonDown(UINT, POINT) {}
void CTEV_KestraDlg::OnLButtonUp(UINT, POINT) {}
void CTEV_KestraDlg::OnMouseMove(UINT, POINT) {}
void CTEV_KestraDlg::OnMainPagePress(POINT) {}
void CTEV_KestraDlg::OnAdvancedPagePress(POINT) {}
void CTEV_KestraDlg::StartOrStopRecording() {}
void CTEV_KestraDlg::OnLedPagePress(POINT) {}
void CTEV_KestraDlg::OnTabPress(int) {}
void CTEV_KestraDlg::StartBlinkThread() {}
void CTEV_KestraDlg::StartLedPreviewThread() {}
LRESULT CTEV_KestraDlg::OnProfileSelected(WPARAM, LPARAM) { return 0; }
void CTEV_KestraDlg::OnEventListSelChange() {}
void CTEV_KestraDlg::OnLightListSelChange() {}
void CTEV_KestraDlg::OnLightListDblClk() {}
LRESULT CTEV_KestraDlg::OnLightParamChosen(WPARAM, LPARAM) { return 0; }
LRESULT CTEV_KestraDlg::OnMacroListEditEnd(WPARAM, LPARAM) { return 0; }
void CTEV_KestraDlg::OnInsertBeforeLeftDown() {}
void CTEV_KestraDlg::OnInsertBeforeLeftUp() {}
void CTEV_KestraDlg::OnInsertBeforeRightDown() {}
void CTEV_KestraDlg::OnInsertBeforeRightUp() {}
void CTEV_KestraDlg::OnInsertBeforeMiddleDown() {}
void CTEV_KestraDlg::OnInsertBeforeMiddleUp() {}
void CTEV_KestraDlg::OnInsertAfterLeftDown() {}
void CTEV_KestraDlg::OnInsertAfterLeftUp() {}
void CTEV_KestraDlg::OnInsertAfterRightDown() {}
void CTEV_KestraDlg::OnInsertAfterRightUp() {}
void CTEV_KestraDlg::OnInsertAfterMiddleDown() {}
void CTEV_KestraDlg::OnInsertAfterMiddleUp() {}
void CTEV_KestraDlg::OnInsertXYNegNeg() {}
void CTEV_KestraDlg::OnInsertXYNegPos() {}
void CTEV_KestraDlg::OnInsertXYPosNeg() {}
void CTEV_KestraDlg::OnInsertXYPosPos() {}
void CTEV_KestraDlg::OnInsertSetCpi() {}
void CTEV_KestraDlg::OnInsertResetCpi() {}
void CTEV_KestraDlg::OnInsertLight() {}
void CTEV_KestraDlg::OnInsertDelay() {}
void CTEV_KestraDlg::OnChangeParameters() {}
void CTEV_KestraDlg::OnModifyDelay() {}
void CTEV_KestraDlg::OnMacroDeleteEvent() {}
