#include "ui/window_builder.h"

#include <windowsx.h>

#include <algorithm>

#include "app/timing_marks.h"
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

// Child windows in tab order, so that the dialog keyboard navigation, which
// follows the windows' order, follows the tab indexes.
int ChildWindowsInTabOrder(const ControlRecord* ordered[]) {
    int count = 0;
    for (const ControlRecord& control : kControls)
        if (control.kind == ControlKind::PushButton || control.kind == ControlKind::GroupFrame ||
            control.kind == ControlKind::OptionButton)
            ordered[count++] = &control;
    std::stable_sort(ordered, ordered + count, [](const ControlRecord* a, const ControlRecord* b) {
        return a->tabIndex < b->tabIndex;
    });
    return count;
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

bool CreateChildWindows() {
    const ControlRecord* ordered[kControlCount];
    const int count = ChildWindowsInTabOrder(ordered);
    ControlKind previousKind = ControlKind::Label;
    for (int i = 0; i < count; ++i) {
        const ControlRecord& control = *ordered[i];
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
    const ControlRecord* ordered[kControlCount];
    const int count = ChildWindowsInTabOrder(ordered);
    for (int i = 0; i < count; ++i) {
        const HWND child = g_state.children[Slot(ordered[i]->id)];
        if (child && (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(child)) return child;
    }
    return nullptr;
}
