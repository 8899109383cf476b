/* The floor the start benchmark measures the demo against: a plain Win32 program that registers a
   class, creates a popup window of the skin's size with the main window's title and fills it with
   one colour. Ends when its window is closed.

       plain_window.exe WIDTH HEIGHT RRGGBB */
#include <stdio.h>
#include <windows.h>

static COLORREF g_colour;

static LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(g_colour);
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    int width = 866, height = 642;
    unsigned rgb = 0;
    WNDCLASSW windowClass = {0};
    MSG message;
    (void)previous;
    sscanf(commandLine, "%d %d %x", &width, &height, &rgb);
    g_colour = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    windowClass.lpszClassName = L"PlainWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"PlainWindow", L"AMorvek Quorvel Gaming Mouse", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
                                  0, 0, width, height, NULL, NULL, instance, NULL);
    ShowWindow(window, show);
    UpdateWindow(window);
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
