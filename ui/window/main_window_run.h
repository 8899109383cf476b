#pragma once
// The program's life: its main window run modally.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "winlib/dialog.h"

// A window the system cannot make yet (the desktop still coming up, as at logon, where the tray's
// hidden start comes from) is made anew this many times, this far apart.
inline constexpr int kMainWindowTries = 10;
inline constexpr uint32_t kMainWindowRetryMs = 1000;

// What a start that cannot go on says: Spanish only once config.ini has been read and says so.
std::u16string CannotStartText(bool english);

// Runs the window `make` makes modally, anew after a pause while the system cannot make it; when
// it never comes the person is told. Returns the process's exit status: 0, or 1 when no window
// came.
int RunMainWindow(const std::function<std::unique_ptr<Dialog>()>& make);
