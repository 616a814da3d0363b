// The main window as the program builds it, loaded in the test's own process.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "support/window_test_support.h"
#include "ui/startup.h"

namespace {

class MainWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadMainWindow());
        window_ = MainWindowHandle();
        ASSERT_TRUE(window_);
        PumpMessages(100);
    }
    void TearDown() override {
        UnloadMainWindow();
        PumpMessages(50);
    }
    HWND window_ = nullptr;
};

// The tests that run at every display scale (scripts/test runs them at 96,
// 120, 144 and 192 dpi): the window takes its size, fonts and outline from
// the scale, and every control stays inside the outline.
class MainWindowAtAnyScale : public MainWindow {
protected:
    void SetUp() override {
        const int dpi = ScreenDpi();
        if (RequestedDpi()) {
            ASSERT_EQ(dpi, RequestedDpi()) << "the display was not set to the scale asked for";
        }
        scale_ = FindDisplayScale(dpi);
        if (!scale_) GTEST_SKIP() << "no figures for a display at " << dpi << " dpi";
        MainWindow::SetUp();
    }
    // A rectangle of a window's client area in the main window's outer
    // coordinates, which the region is given in.
    RECT InOuterCoordinates(HWND client, RECT rect) const {
        MapWindowPoints(client, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        RECT outer;
        GetWindowRect(window_, &outer);
        OffsetRect(&rect, -outer.left, -outer.top);
        return rect;
    }
    const DisplayScale* scale_ = nullptr;
};

TEST_F(MainWindowAtAnyScale, HasTheDesignedFrameAndClientArea) {
    char text[128];
    GetClassNameA(window_, text, sizeof text);
    EXPECT_STREQ(text, "NUV2");
    GetWindowTextA(window_, text, sizeof text);
    EXPECT_STREQ(text, ".....NUV Veldmark v0.1.....");

    const LONG style = GetWindowLongA(window_, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME) << "resizable";
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(GetWindow(window_, GW_OWNER)) << "a task-bar window has no owner";
    EXPECT_TRUE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    RECT client;
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, scale_->clientWidth);
    EXPECT_EQ(client.bottom, scale_->clientHeight);
}

TEST_F(MainWindow, IsCentredOnTheScreen) {
    RECT outer;
    GetWindowRect(window_, &outer);
    EXPECT_NEAR(outer.left + outer.right, GetSystemMetrics(SM_CXSCREEN), 1);
    EXPECT_NEAR(outer.top + outer.bottom, GetSystemMetrics(SM_CYSCREEN), 1);
}

TEST_F(MainWindowAtAnyScale, IsTranslucentAndClippedToItsRoundedOutline) {
    EXPECT_TRUE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 1;
    ASSERT_TRUE(GetLayeredWindowAttributes(window_, &key, &alpha, &flags));
    EXPECT_EQ(alpha, 225);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));

    const HRGN actual = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(window_, actual), COMPLEXREGION);
    const int* o = scale_->outline;
    const HRGN expected = CreateRoundRectRgn(o[0], o[1], o[2], o[3], o[4], o[5]);
    // Compared as sets of pixels: the two may list their rectangles differently.
    const HRGN difference = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(difference, actual, expected, RGN_XOR), NULLREGION) << DescribeRegion(actual) << "\n"
                                                                             << DescribeRegion(expected);
    DeleteObject(difference);
    // The close button's end of the title bar is cut away.
    RECT outer;
    GetWindowRect(window_, &outer);
    EXPECT_FALSE(PtInRegion(actual, outer.right - outer.left - 10, 10));
    EXPECT_FALSE(PtInRegion(actual, 0, 100));
    DeleteObject(actual);
    DeleteObject(expected);
}

TEST_F(MainWindowAtAnyScale, EveryControlInsideTheOutline) {
    const HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(window_, region), COMPLEXREGION);
    const auto inside = [&](const RECT& r) { // the outline is convex: the corners tell
        return PtInRegion(region, r.left, r.top) && PtInRegion(region, r.right - 1, r.top) &&
               PtInRegion(region, r.left, r.bottom - 1) && PtInRegion(region, r.right - 1, r.bottom - 1);
    };
    for (const ControlRecord& control : kControls) {
        const HWND child = ControlWindow(control.id);
        RECT rect;
        if (child) {
            GetClientRect(child, &rect);
            rect = InOuterCoordinates(child, rect);
        } else {
            const PixelRect r = ControlPixelRect(control.id);
            const bool inFrame = control.container == ControlId::Frame1;
            const HWND container = inFrame ? ControlWindow(ControlId::Frame1) : window_;
            rect = {r.left, r.top, r.right, r.bottom};
            // A transparent label shows only its text, and where the text
            // lies its colour tells: the rounded corner may take the bare
            // corner of Label3's rectangle.
            if (control.kind == ControlKind::Label && !control.opaque) {
                const Snapshot shot = Snapshot::OfClient(container);
                RECT ink{r.right, r.bottom, r.left, r.top};
                for (int y = r.top; y < r.bottom && y < shot.height; ++y)
                    for (int x = r.left; x < r.right && x < shot.width; ++x)
                        if (shot.At(x, y) == control.foreColour)
                            ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                                   std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
                ASSERT_LT(ink.left, ink.right) << control.name << " shows nothing";
                rect = ink;
            }
            rect = InOuterCoordinates(container, rect);
        }
        EXPECT_TRUE(inside(rect)) << control.name << " " << rect.left << "," << rect.top << " - "
                                  << rect.right << "," << rect.bottom << "\n"
                                  << DescribeRegion(region);
    }
    // The bare strip right of and below the controls, as at 96 dpi up to
    // x 251 and y 180 of the client area.
    const auto scaled = [&](int pixels96) { return TwipsToPixels(Pixels96(pixels96), scale_->dpi); };
    for (POINT p : {POINT{scaled(251), scaled(100)}, POINT{scaled(100), scaled(180)}}) {
        const RECT last = InOuterCoordinates(window_, {p.x - 1, p.y - 1, p.x, p.y});
        EXPECT_TRUE(PtInRegion(region, last.left, last.top)) << p.x << "," << p.y;
    }
    DeleteObject(region);
}

struct ChildCase {
    ControlId id;
    const char* className;
    ControlId parent;
    DWORD typeBits; // BS_TYPEMASK of a button
    const char* face;
    int weight;
};

TEST_F(MainWindowAtAnyScale, ChildWindowsHaveTheirRectanglesStylesAndFonts) {
    const ChildCase cases[] = {
        {ControlId::Command1, "Button", ControlId::Client, BS_PUSHBUTTON, "MS Sans Serif", 700},
        {ControlId::Frame1, "NUVFrame", ControlId::Client, 0, "MS Sans Serif", 400},
        {ControlId::Option1, "Button", ControlId::Frame1, BS_AUTORADIOBUTTON, "MS Sans Serif", 700},
        {ControlId::Option2, "Button", ControlId::Frame1, BS_AUTORADIOBUTTON, "MS Sans Serif", 700},
    };
    for (const ChildCase& c : cases) {
        const ControlRecord& record = *FindControl(c.id);
        SCOPED_TRACE(record.name);
        const HWND child = ControlWindow(c.id);
        ASSERT_TRUE(child);
        char className[64];
        GetClassNameA(child, className, sizeof className);
        EXPECT_STREQ(className, c.className);
        EXPECT_EQ(GetDlgCtrlID(child), static_cast<int>(c.id));
        EXPECT_EQ(GetParent(child), c.parent == ControlId::Client ? window_ : ControlWindow(c.parent));

        const PixelRect expected = ToPixels(record.rect, scale_->dpi);
        const RECT actual = ChildRect(child);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right, expected.right);
        EXPECT_EQ(actual.bottom, expected.bottom);

        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (c.typeBits) {
            EXPECT_EQ(static_cast<DWORD>(style & BS_TYPEMASK), c.typeBits);
        }
        EXPECT_NE(static_cast<DWORD>(style & BS_TYPEMASK), static_cast<DWORD>(BS_DEFPUSHBUTTON));

        const auto font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
        if (c.id == ControlId::Frame1) continue; // paints with its own record's font
        ASSERT_TRUE(font);
        LOGFONTA log{};
        ASSERT_TRUE(GetObjectA(font, sizeof log, &log));
        EXPECT_STREQ(log.lfFaceName, c.face);
        EXPECT_EQ(log.lfWeight, c.weight);
        EXPECT_EQ(log.lfHeight, scale_->smallFontHeight);
        EXPECT_EQ(log.lfCharSet, ANSI_CHARSET);
        EXPECT_FALSE(log.lfItalic || log.lfUnderline || log.lfStrikeOut);
    }
}

TEST_F(MainWindow, CaptionsAreAsStored) {
    char text[128];
    GetWindowTextA(ControlWindow(ControlId::Option1), text, sizeof text);
    EXPECT_STREQ(text, "Enable Aero && Flip3D Effect in WindowsVista");
    GetWindowTextA(ControlWindow(ControlId::Command1), text, sizeof text);
    EXPECT_STREQ(text, "EXiT");
}

TEST_F(MainWindow, TheOptionsFormOneGroupWithOption1Selected) {
    EXPECT_TRUE(IsOptionSelected(ControlId::Option1));
    EXPECT_FALSE(IsOptionSelected(ControlId::Option2));

    SendMessageA(ControlWindow(ControlId::Option2), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsOptionSelected(ControlId::Option1));
    EXPECT_TRUE(IsOptionSelected(ControlId::Option2));

    SendMessageA(ControlWindow(ControlId::Option2), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsOptionSelected(ControlId::Option2)) << "a click on the selected one keeps it";
    EXPECT_FALSE(IsOptionSelected(ControlId::Option1));
}

TEST_F(MainWindow, FocusStartsOnExitAndTabSkipsTheLabels) {
    EXPECT_EQ(GetFocus(), ControlWindow(ControlId::Command1));

    PressKeyThroughDialogNavigation(window_, VK_TAB);
    EXPECT_EQ(GetFocus(), ControlWindow(ControlId::Option1));
    PressKeyThroughDialogNavigation(window_, VK_TAB);
    EXPECT_EQ(GetFocus(), ControlWindow(ControlId::Command1));
    PressKeyThroughDialogNavigation(window_, VK_TAB);
    EXPECT_EQ(GetFocus(), ControlWindow(ControlId::Option1));
}

TEST_F(MainWindow, ArrowsMoveTheSelectionWithinTheGroup) {
    SetFocus(ControlWindow(ControlId::Option1));
    PressKeyThroughDialogNavigation(window_, VK_DOWN);
    EXPECT_EQ(GetFocus(), ControlWindow(ControlId::Option2));
    EXPECT_TRUE(IsOptionSelected(ControlId::Option2));
    EXPECT_FALSE(IsOptionSelected(ControlId::Option1));
    PressKeyThroughDialogNavigation(window_, VK_UP);
    EXPECT_EQ(GetFocus(), ControlWindow(ControlId::Option1));
    EXPECT_TRUE(IsOptionSelected(ControlId::Option1));
}

TEST_F(MainWindow, BorderStyleChangesOnlyTheLabelsOwnPixels) {
    const HWND frame = ControlWindow(ControlId::Frame1);
    const PixelRect label = ControlPixelRect(ControlId::Label2);
    const Snapshot flat = Snapshot::OfClient(frame);

    SetLabelBorderStyle(ControlId::Label2, 1);
    PumpMessages(50);
    EXPECT_EQ(LabelBorderStyle(ControlId::Label2), 1);
    const Snapshot bordered = Snapshot::OfClient(frame);
    int changedInside = 0, changedOutside = 0;
    for (int y = 0; y < flat.height; ++y)
        for (int x = 0; x < flat.width; ++x) {
            if (flat.At(x, y) == bordered.At(x, y)) continue;
            (label.Contains(x, y) ? changedInside : changedOutside)++;
        }
    EXPECT_GT(changedInside, 0) << "the sunken edge shows";
    EXPECT_EQ(changedOutside, 0);
    // Shape1's outline stays in front of the border.
    EXPECT_EQ(bordered.At(label.left, label.top + 5), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(bordered.At(label.right - 1, label.top + 5), GetSysColor(COLOR_WINDOWTEXT));

    SetLabelBorderStyle(ControlId::Label2, 0);
    PumpMessages(50);
    EXPECT_TRUE(Snapshot::OfClient(frame) == flat) << "flat again, exactly as before";
}

TEST_F(MainWindow, PaintsTheDesignedColours) {
    const Snapshot client = Snapshot::OfClient(window_);
    const Snapshot frame = Snapshot::OfClient(ControlWindow(ControlId::Frame1));
    const COLORREF lightCyan = RGB(192, 255, 255), lightBlue = RGB(192, 192, 255);
    EXPECT_EQ(client.At(247, 60), lightCyan) << "bare client area";
    EXPECT_EQ(client.At(100, 175), lightCyan) << "bare client area";
    EXPECT_EQ(client.At(10, 135), lightBlue) << "Label1's face";
    EXPECT_EQ(client.At(8, 128), GetSysColor(COLOR_WINDOWTEXT)) << "Shape2's outline";
    EXPECT_EQ(client.At(120, 128), GetSysColor(COLOR_WINDOWTEXT)) << "Shape2's outline";
    EXPECT_EQ(client.At(238, 135), lightBlue) << "Label4's face";
    EXPECT_EQ(frame.At(228, 52), lightBlue) << "inside the frame";
    EXPECT_EQ(frame.At(220, 94), lightCyan) << "Label2's face";
    EXPECT_EQ(frame.At(168, 85), GetSysColor(COLOR_WINDOWTEXT)) << "Shape1's outline";
}

} // namespace
