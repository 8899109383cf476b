#include "winlib/win32_failure.h"

#include <windows.h>

#include <mutex>

namespace {
std::mutex g_failureMutex;
Win32Failure g_lastFailure;
}  // namespace

void RecordWin32Failure(const char* call)
{
    const DWORD error = GetLastError();
    std::lock_guard lock(g_failureMutex);
    g_lastFailure = {call, error};
}

Win32Failure LastWin32Failure()
{
    std::lock_guard lock(g_failureMutex);
    return g_lastFailure;
}

void ClearWin32Failure()
{
    std::lock_guard lock(g_failureMutex);
    g_lastFailure = {};
}
