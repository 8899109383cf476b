#pragma once
// The application object: the entry point makes one and runs it. InitInstance does the program's
// whole work (the program lives in its main dialog's loop) and returns FALSE, so nothing runs
// after it.
#include <windows.h>

class Application {
public:
    Application() = default;
    virtual ~Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    virtual BOOL InitInstance() = 0;
    // The process's exit status: the one InitInstance set (0 unless it set one), 1 when it threw.
    int Run();

protected:
    void SetExitStatus(int status) { exitStatus_ = status; }

private:
    int exitStatus_ = 0;
};
