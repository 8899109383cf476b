#pragma once
// The few functions of the GDI+ flat interface the program calls, declared here by their
// documented signatures (gdiplus.dll exports them with the stdcall convention).
#include <windows.h>

namespace gdiplus_flat {

using Status = int;
constexpr Status kOk = 0;

struct StartupInput {
    UINT32 version = 1;
    void* debugEventCallback = nullptr;
    BOOL suppressBackgroundThread = FALSE;
    BOOL suppressExternalCodecs = FALSE;
};

struct GpImage;

}  // namespace gdiplus_flat

extern "C" {
gdiplus_flat::Status WINAPI GdiplusStartup(ULONG_PTR* token, const gdiplus_flat::StartupInput* input, void* output);
void WINAPI GdiplusShutdown(ULONG_PTR token);
gdiplus_flat::Status WINAPI GdipCreateBitmapFromFile(const WCHAR* fileName, gdiplus_flat::GpImage** bitmap);
gdiplus_flat::Status WINAPI GdipCreateHBITMAPFromBitmap(gdiplus_flat::GpImage* bitmap, HBITMAP* result, DWORD background);
gdiplus_flat::Status WINAPI GdipGetImageWidth(gdiplus_flat::GpImage* image, UINT* width);
gdiplus_flat::Status WINAPI GdipGetImageHeight(gdiplus_flat::GpImage* image, UINT* height);
gdiplus_flat::Status WINAPI GdipDisposeImage(gdiplus_flat::GpImage* image);
}
