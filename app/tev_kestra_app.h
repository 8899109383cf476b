#pragma once
// The application: one copy at a time, the main window run modally.
#include "winlib/application.h"

inline constexpr wchar_t kSingleInstanceMutexName[] = L"KestraApp";

class CTEV_KestraApp : public Application {
public:
    // Fills g_programFolder.
    CTEV_KestraApp();
    BOOL InitInstance() override;
};
