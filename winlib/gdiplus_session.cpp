#include "winlib/gdiplus_session.h"

#include <mutex>

#include "winlib/gdiplus_flat.h"
#include "winlib/win32_failure.h"

namespace {
std::mutex g_sessionMutex;
int g_sessionCount = 0;
ULONG_PTR g_token = 0;
bool g_started = false;
}  // namespace

GdiplusSession::GdiplusSession()
{
    std::lock_guard lock(g_sessionMutex);
    if (g_sessionCount++ == 0) {
        gdiplus_flat::StartupInput input;
        g_started = GdiplusStartup(&g_token, &input, nullptr) == gdiplus_flat::kOk;
        if (!g_started) RecordWin32Failure("GdiplusStartup");
    }
}

GdiplusSession::~GdiplusSession()
{
    std::lock_guard lock(g_sessionMutex);
    if (--g_sessionCount == 0 && g_started) {
        GdiplusShutdown(g_token);
        g_started = false;
    }
}

bool GdiplusSession::Started() const
{
    std::lock_guard lock(g_sessionMutex);
    return g_started;
}
