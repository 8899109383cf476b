#include "ui/window/main_window_run.h"

#include "base/clock.h"
#include "base/user_prompts.h"

std::u16string CannotStartText(bool english)
{
    return english
               ? u"The program cannot start: not enough memory or system resources."
               : u"El programa no puede iniciarse: no hay suficiente memoria o recursos del sistema.";
}

int RunMainWindow(const std::function<std::unique_ptr<Dialog>()>& make)
{
    for (int attempt = 1; attempt <= kMainWindowTries; ++attempt) {
        if (attempt > 1) GetClock().SleepMs(kMainWindowRetryMs);
        const std::unique_ptr<Dialog> window = make();
        window->DoModal();
        // A window that was made has run the program's whole life, however it ended.
        if (window->WasMade()) return 0;
    }
    // No window came, so config.ini was never read: English, not the Spanish its absence means.
    GetPrompts().ShowMessage(CannotStartText(true), u"", MessageStyle::Ok);
    return 1;
}
