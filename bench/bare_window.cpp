// The baseline of the program benchmarks: the least a Win32 program does to
// show a window of the main window's size. It registers a class, creates one
// window, shows it and runs a message loop until the window is closed.
#include <windows.h>

namespace {

LRESULT CALLBACK BareWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "BareWindow";
    RegisterClassA(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT outer{0, 0, 297, 192};
    AdjustWindowRect(&outer, style, FALSE);
    const HWND window = CreateWindowA("BareWindow", "Bare window", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                      outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                      instance, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
