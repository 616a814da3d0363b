// What the main window holds while it lives, shared by the units that build,
// paint and route the input of the window: main_window.cpp, window_builder.cpp,
// painting.cpp and label_mouse.cpp. Nothing outside ui/ includes this.
#pragma once

#include <windows.h>

#include <utility>

#include "ui/layout.h"

// Owns one GDI object (font or brush) and deletes it at the end.
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    GdiObject(GdiObject&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    GdiObject& operator=(GdiObject&& other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() {
        if (object_) DeleteObject(object_);
    }
    HGDIOBJ get() const { return object_; }
    HBRUSH brush() const { return static_cast<HBRUSH>(object_); }

private:
    HGDIOBJ object_ = nullptr;
};

constexpr int kSlots = kControlCount + 1; // indexed by ControlId

// The label that took a mouse press, the button held and the container that
// holds the capture until its release.
struct PressedLabel {
    ControlId label = ControlId::None;
    int button = 0;
    HWND container = nullptr;
};

// The one main window of the process and what it holds.
struct WindowState {
    HWND window = nullptr;
    bool created = false; // its WM_CREATE succeeded
    HWND children[kSlots] = {};
    int dpi = 96; // the display's, read once when the window is made
    GdiObject fonts[static_cast<int>(FontId::Count)];
    GdiObject childBrushes[kSlots]; // background of the child windows that colour their own
    int borderStyle[kSlots] = {};
    PressedLabel pressed;
    HWND focus = nullptr; // the control that had the focus when the window was last active
};

extern WindowState g_state;

inline int Slot(ControlId id) { return static_cast<int>(id); }

inline HFONT FontOf(FontId font) { return static_cast<HFONT>(g_state.fonts[static_cast<int>(font)].get()); }

// A stored colour as GDI takes it; system colours follow the desktop's scheme.
inline COLORREF ToColorRef(StoredColour colour) {
    return IsSystemColour(colour) ? GetSysColor(SystemColourIndex(colour)) : static_cast<COLORREF>(colour);
}

inline RECT ToRect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The window a label or shape of this container is drawn on.
inline HWND ContainerWindow(ControlId container) {
    return container == ControlId::Client ? g_state.window : g_state.children[Slot(ControlId::Frame1)];
}
