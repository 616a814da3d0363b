#include "support/message_boxes.h"

#include <vector>

#include "support/input.h"
#include "support/running_program.h"
#include "support/waiting.h"
#include "support/window_test_support.h"

namespace {

// An icon drawn on a background of one colour, as pixels.
std::vector<COLORREF> IconPixels(HICON icon, int size, COLORREF background) {
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, size, size};
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) pixels.push_back(GetPixel(memory, x, y));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Compared on the screen: the icon's opaque pixels (the same on black and on
// white) must show at the top left of the box's icon control.
bool IconShownNow(HWND box, const char* systemIcon) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(child)) continue;
        const int size = GetSystemMetrics(SM_CXICON);
        const HICON icon = LoadIconA(nullptr, systemIcon);
        const std::vector<COLORREF> onBlack = IconPixels(icon, size, RGB(0, 0, 0));
        const std::vector<COLORREF> onWhite = IconPixels(icon, size, RGB(255, 255, 255));
        RECT place;
        GetWindowRect(child, &place);
        const Snapshot shown =
            Snapshot::OfScreen({place.left, place.top, place.left + size, place.top + size});
        int opaque = 0;
        for (int i = 0; i < size * size; ++i) {
            if (onBlack[i] != onWhite[i]) continue;
            ++opaque;
            if (shown.pixels[i] != onBlack[i]) return false;
        }
        return opaque > 0;
    }
    return false;
}

} // namespace

// A box may show its icon a moment after the box itself.
bool MessageBoxShowsIcon(HWND box, const char* systemIcon) {
    return WaitUntil([&] { return IconShownNow(box, systemIcon); });
}

HWND WaitForMessageBox(DWORD processId, const std::string& title, DWORD milliseconds, bool painted) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindProcessWindow(processId, "#32770", title.c_str())) != nullptr; },
              milliseconds);
    RECT shown;
    if (box && painted && GetWindowRect(box, &shown) && !WaitForScreenToSettle(shown)) return nullptr;
    return box;
}

HWND FindMessageBox(DWORD processId) { return FindProcessWindow(processId, "#32770", nullptr); }

std::string MessageBoxText(HWND box) {
    // The text is the one static control that is neither the icon nor empty.
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32];
        GetClassNameA(child, name, sizeof name);
        if (std::string(name) != "Static") continue;
        char buffer[2048] = "";
        GetWindowTextA(child, buffer, sizeof buffer);
        if (std::string(buffer).size() > text.size()) text = buffer;
    }
    return text;
}

bool CloseMessageBox(HWND box, bool withEnterKey) {
    const HWND owner = GetWindow(box, GW_OWNER);
    if (withEnterKey)
        TypeKey(VK_RETURN);
    else
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    return WaitUntil(
        [&] {
            return !IsWindow(box) && (!owner || (IsWindowEnabled(owner) && GetForegroundWindow() == owner));
        },
        5000);
}
