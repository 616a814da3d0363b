#include "ui/label_mouse.h"

#include <windowsx.h>

#include "ui/handlers.h"
#include "ui/main_window.h"
#include "ui/window_state.h"

namespace {

int ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

MouseEventArgs LabelMouseArgs(ControlId label, int button, int x, int y) {
    const PixelRect rect = ControlPixelRect(label);
    return {button, ShiftState(), x - rect.left, y - rect.top};
}

// A press goes to the label under the pointer, which then keeps the mouse
// until that button is released.
void Container_OnMouseDown(HWND hwnd, ControlId container, int x, int y, int button) {
    if (g_state.pressed.label != ControlId::None) return;
    const ControlId label = LabelAt(container, x, y, g_state.dpi);
    if (label == ControlId::None) return;
    g_state.pressed = {label, button, hwnd};
    SetCapture(hwnd);
    RaiseMouseDown(label, LabelMouseArgs(label, button, x, y));
}

void Container_OnMouseUp(int x, int y, int button) {
    const PressedLabel pressed = g_state.pressed;
    if (pressed.label == ControlId::None || pressed.button != button) return;
    g_state.pressed = {};
    ReleaseCapture();
    RaiseMouseUp(pressed.label, LabelMouseArgs(pressed.label, button, x, y));
    if (button == kLeftButton && ControlPixelRect(pressed.label).Contains(x, y)) RaiseClick(pressed.label);
}

// The mouse was taken away (by another window or a box) before the release:
// the label still gets its mouse-up, but no click.
void Container_OnCaptureChanged(HWND hwnd) {
    const PressedLabel pressed = g_state.pressed;
    if (pressed.label == ControlId::None || pressed.container != hwnd) return;
    g_state.pressed = {};
    RaiseMouseUp(pressed.label, {pressed.button, ShiftState(), 0, 0});
}

} // namespace

bool HandleLabelMouseMessage(HWND hwnd, ControlId container, UINT message, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_LBUTTONDOWN: Container_OnMouseDown(hwnd, container, x, y, kLeftButton); return true;
    case WM_RBUTTONDOWN: Container_OnMouseDown(hwnd, container, x, y, kRightButton); return true;
    case WM_MBUTTONDOWN: Container_OnMouseDown(hwnd, container, x, y, kMiddleButton); return true;
    case WM_LBUTTONUP: Container_OnMouseUp(x, y, kLeftButton); return true;
    case WM_RBUTTONUP: Container_OnMouseUp(x, y, kRightButton); return true;
    case WM_MBUTTONUP: Container_OnMouseUp(x, y, kMiddleButton); return true;
    case WM_CAPTURECHANGED: Container_OnCaptureChanged(hwnd); return true;
    default: return false;
    }
}
