#include "ui/window_builder.h"

#include <windowsx.h>

#include "platform/timing_marks.h"
#include "ui/main_window.h"
#include "ui/window_state.h"

namespace {

bool CreateFonts() {
    for (int i = 0; i < static_cast<int>(FontId::Count); ++i) {
        const FontRecord& font = kFonts[i];
        g_state.fonts[i] = GdiObject(CreateFontA(
            FontHeight(font, g_state.dpi), 0, 0, 0, font.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, font.face));
        if (!g_state.fonts[i].get()) return false;
    }
    return true;
}

DWORD ChildStyle(const ControlRecord& control, bool startsGroup) {
    DWORD style = WS_CHILD | WS_VISIBLE;
    switch (control.kind) {
    case ControlKind::PushButton: style |= BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP; break;
    case ControlKind::OptionButton:
        style |= BS_AUTORADIOBUTTON | BS_MULTILINE;
        if (startsGroup) style |= WS_GROUP | WS_TABSTOP;
        break;
    case ControlKind::GroupFrame: style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS; break;
    default: break;
    }
    return style;
}

// In tab order, so that the dialog keyboard navigation, which follows the
// windows' order, follows the tab indexes.
bool CreateChildWindows() {
    ControlKind previousKind = ControlKind::Label;
    for (const ControlRecord* record : ControlsInTabOrder()) {
        const ControlRecord& control = *record;
        if (!IsChildWindow(control.kind)) continue;
        const bool startsGroup = control.kind != previousKind;
        previousKind = control.kind;
        const bool isFrame = control.kind == ControlKind::GroupFrame;
        const PixelRect r = ControlPixelRect(control.id);
        const HWND child = CreateWindowExA(
            isFrame ? WS_EX_CONTROLPARENT : 0, isFrame ? kFrameClassName : "BUTTON", control.caption,
            ChildStyle(control, startsGroup), r.left, r.top, r.right - r.left, r.bottom - r.top,
            ContainerWindow(control.container), reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
            GetModuleHandleA(nullptr), nullptr);
        if (!child) return false;
        g_state.children[Slot(control.id)] = child;
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(control.font)), FALSE);
        if (control.kind == ControlKind::OptionButton)
            g_state.childBrushes[Slot(control.id)] =
                GdiObject(CreateSolidBrush(ToColorRef(control.backColour)));
    }
    Button_SetCheck(g_state.children[Slot(kInitiallySelectedOption)], BST_CHECKED);
    return true;
}

} // namespace

bool BuildMainWindowContents() {
    if (!CreateFonts()) return false;
    TimingMark("fonts");
    if (!CreateChildWindows()) return false;
    TimingMark("children");
    return true;
}

HWND FirstFocusableControl() {
    for (const ControlRecord* control : ControlsInTabOrder()) {
        if (!IsChildWindow(control->kind)) continue;
        const HWND child = g_state.children[Slot(control->id)];
        if (child && (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(child)) return child;
    }
    return nullptr;
}
