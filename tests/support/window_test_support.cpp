#include "support/window_test_support.h"

#include <cstdlib>
#include <utility>

#include "support/waiting.h"

void PumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

RECT ChildRect(HWND child) {
    RECT rect;
    if (!GetWindowRect(child, &rect)) return RECT{};
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void PressKeyThroughDialogNavigation(HWND window, UINT key) {
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        MSG msg{};
        msg.hwnd = GetFocus();
        msg.message = message;
        msg.wParam = key;
        msg.lParam = message == WM_KEYUP ? static_cast<LPARAM>(0xC0000001) : 1;
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    PumpMessages(30);
}

namespace {

// The tests see the display as the program does, which declares itself
// dpi-aware in its manifest: a system that scales the windows of programs
// that are not would tell them 96 dpi whatever the display's scale.
const BOOL kDpiAware = SetProcessDPIAware();

} // namespace

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int RequestedDpi() {
    const char* requested = std::getenv("NUV_DPI");
    return requested ? static_cast<int>(std::strtol(requested, nullptr, 10)) : 0;
}

const DisplayScale* FindDisplayScale(int dpi) {
    static const DisplayScale scales[] = {
        {96, 297, 192, {1, 1, 255, 210, 50, 50}, -11},
        {120, 371, 240, {1, 1, 319, 263, 63, 63}, -14},
        {144, 446, 288, {2, 2, 383, 315, 75, 75}, -17},
        {192, 594, 384, {2, 2, 510, 420, 100, 100}, -22},
    };
    for (const DisplayScale& scale : scales)
        if (scale.dpi == dpi) return &scale;
    return nullptr;
}

namespace {

Snapshot Capture(HDC source, int left, int top, int width, int height) {
    Snapshot shot;
    shot.width = width;
    shot.height = height;
    shot.pixels.resize(static_cast<size_t>(width) * height);
    const HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
    GdiFlush();
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    for (size_t i = 0; i < shot.pixels.size(); ++i)
        shot.pixels[i] = RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return shot;
}

} // namespace

Snapshot Snapshot::OfClient(HWND window) {
    RECT client;
    if (!GetClientRect(window, &client)) return {};
    const HDC dc = GetDC(window);
    Snapshot shot = Capture(dc, 0, 0, client.right, client.bottom);
    ReleaseDC(window, dc);
    return shot;
}

Snapshot Snapshot::OfScreen(const RECT& area) {
    const HDC screen = GetDC(nullptr);
    Snapshot shot = Capture(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
    ReleaseDC(nullptr, screen);
    return shot;
}

bool WaitForScreenToSettle(const RECT& area, DWORD milliseconds) {
    Snapshot last = Snapshot::OfScreen(area);
    return WaitUntil(
        [&] {
            Snapshot now = Snapshot::OfScreen(area);
            const bool same = now == last;
            last = std::move(now);
            return same;
        },
        milliseconds);
}

bool ColourNear(COLORREF actual, COLORREF expected, int tolerance) {
    return std::abs(GetRValue(actual) - GetRValue(expected)) <= tolerance &&
           std::abs(GetGValue(actual) - GetGValue(expected)) <= tolerance &&
           std::abs(GetBValue(actual) - GetBValue(expected)) <= tolerance;
}

std::string DescribeRegion(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (!size || !GetRegionData(region, size, data)) return "(unreadable region)";
    std::string text = std::to_string(data->rdh.nCount) + " rectangles:";
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        text += " (" + std::to_string(rects[i].left) + "," + std::to_string(rects[i].top) + ")-(" +
                std::to_string(rects[i].right) + "," + std::to_string(rects[i].bottom) + ")";
    return text;
}
