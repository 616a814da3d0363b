// The baselines of the program benchmarks: the least a Win32 program does to
// show a window of the main window's size. It registers a class, creates one
// window, shows it and runs a message loop until the window is closed. Built
// with DRESSED, it also dresses the window as the program must at start:
// translucent before the show, the rounded region with redraw after it.
// Both are built without stack protection, as the least a program does.
#include <windows.h>

#include "platform/timing_marks.h"

#if defined(DRESSED)
#define BASELINE_CLASS "DressedWindow"
#else
#define BASELINE_CLASS "BareWindow"
#endif

namespace {

LRESULT CALLBACK BareWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        FillRect(paint.hdc, &paint.rcPaint, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        EndPaint(hwnd, &paint);
        TimingMark("painted");
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    TimingMark("entry");
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = BASELINE_CLASS;
    RegisterClassA(&windowClass);
    TimingMark("classes");

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT outer{0, 0, 297, 192};
    AdjustWindowRect(&outer, style, FALSE);
    const HWND window = CreateWindowA(BASELINE_CLASS, "Baseline window", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                      outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                      instance, nullptr);
    TimingMark("created");
#if defined(DRESSED)
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, 225, LWA_ALPHA);
    TimingMark("translucent");
#endif
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    TimingMark("shown");
#if defined(DRESSED)
    SetWindowRgn(window, CreateRoundRectRgn(1, 1, 255, 210, 50, 50), TRUE);
    TimingMark("region");
#endif

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
