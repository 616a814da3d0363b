// Helpers for tests that look at real windows: message pumping, rectangles,
// key presses through the dialog navigation, and pixel snapshots.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Dispatches the thread's messages for about the given time.
void PumpMessages(DWORD milliseconds);

// A child window's rectangle in its parent's client coordinates; empty when
// the window is gone.
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

    static Snapshot OfClient(HWND window); // empty when the window is gone
    static Snapshot OfScreen(const RECT& area);
};

// Waits until what shows in the area of the screen has stopped changing:
// two looks in a row alike. False when it went on changing for the time.
bool WaitForScreenToSettle(const RECT& area, DWORD milliseconds = 5000);

// What the main window measures at each display scale the tests run at,
// worked out by hand from the design's twips and its outline of 96-dpi
// pixels, each rounded to the nearest pixel.
struct DisplayScale {
    int dpi;
    int clientWidth, clientHeight;
    int outline[6];      // left, top, right, bottom, corner width and height
    int smallFontHeight; // of an 8.25-pt font, as CreateFont takes it
};

// The screen's dots per inch, and the scale the test run asked for (the
// NUV_DPI variable; 0 when it asked for none).
int ScreenDpi();
int RequestedDpi();

// The figures for a scale; null for one the tests have none for.
const DisplayScale* FindDisplayScale(int dpi);

// Whether two colours differ by at most tolerance in each of red, green, blue.
bool ColourNear(COLORREF actual, COLORREF expected, int tolerance);

// The region's rectangles, for failure messages.
std::string DescribeRegion(HRGN region);
