// Helpers for tests that look at real windows: message pumping, rectangles,
// key presses through the dialog navigation, and pixel snapshots.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Dispatches the thread's messages for about the given time.
void PumpMessages(DWORD milliseconds);

// A child window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);

// A key press and release on the focused control, handed to the dialog
// navigation of window the way the program's message loop does it.
void PressKeyThroughDialogNavigation(HWND window, UINT key);

// Pixels read back from the screen or from a window.
struct Snapshot {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool operator==(const Snapshot& other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }

    static Snapshot OfClient(HWND window);
    static Snapshot OfScreen(const RECT& area);
};

// Whether two colours differ by at most tolerance in each of red, green, blue.
bool ColourNear(COLORREF actual, COLORREF expected, int tolerance);

// The region's rectangles, for failure messages.
std::string DescribeRegion(HRGN region);
