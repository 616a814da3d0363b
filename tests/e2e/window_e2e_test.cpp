// The real program, started as a user starts it, driven with real input and
// checked on the screen.
#include <gtest/gtest.h>

#include "support/input.h"
#include "support/message_boxes.h"
#include "support/running_program.h"
#include "support/waiting.h"
#include "support/window_test_support.h"

namespace {

// Alpha 225 lets at most 30 of 255 of what lies behind show through, so a
// colour on the screen is within 30 of the painted one with or without a
// compositor.
constexpr int kTranslucencyTolerance = 31;
constexpr COLORREF kLightCyan = RGB(192, 255, 255);
constexpr COLORREF kLightBlue = RGB(192, 192, 255);

TEST(ProgramWindow, StartsCentredTranslucentRoundedAndPaintedAsDesigned) {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const Snapshot before = Snapshot::OfScreen(screen);

    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());
    const HWND window = program.window();

    RECT outer;
    ASSERT_TRUE(GetWindowRect(window, &outer));
    EXPECT_NEAR(outer.left + outer.right, screen.right, 1);
    EXPECT_NEAR(outer.top + outer.bottom, screen.bottom, 1);
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
    EXPECT_EQ(alpha, 225);

    // Cut away by the outline: the end of the title bar and the corners show
    // what was there before, once the region is applied and the desktop has
    // painted what it uncovers, which on a busy machine comes after the
    // window looks settled.
    const POINT cuts[] = {{outer.right - 12, outer.top + 8},
                          {outer.left + 2, outer.top + 2},
                          {outer.left + 2, outer.top + 205},
                          {outer.left + 260, outer.top + 100}};
    Snapshot after;
    WaitUntil([&] { // a wait that runs out leaves the last look to the checks below
        after = Snapshot::OfScreen(screen);
        for (const POINT cut : cuts)
            if (after.At(cut.x, cut.y) != before.At(cut.x, cut.y)) return false;
        return true;
    });
    for (const POINT cut : cuts) {
        EXPECT_EQ(after.At(cut.x, cut.y), before.At(cut.x, cut.y))
            << cut.x - outer.left << "," << cut.y - outer.top;
    }

    const auto client = [&](int x, int y) {
        const POINT p = ClientPointOnScreen(window, x, y);
        return after.At(p.x, p.y);
    };
    EXPECT_PRED3(ColourNear, client(247, 60), kLightCyan, kTranslucencyTolerance) << "bare client area";
    EXPECT_PRED3(ColourNear, client(10, 135), kLightBlue, kTranslucencyTolerance) << "Label1's face";
    EXPECT_PRED3(ColourNear, client(8, 128), GetSysColor(COLOR_WINDOWTEXT), kTranslucencyTolerance)
        << "Shape2's outline";
    EXPECT_PRED3(ColourNear, client(236, 60), kLightBlue, kTranslucencyTolerance) << "inside the frame";
}

TEST(ProgramWindow, TakesRealInputAndClosesWithAltF4) {
    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());
    const HWND window = program.window();
    const HWND frame = GetDlgItem(window, 2);
    const HWND option1 = GetDlgItem(frame, 4), option2 = GetDlgItem(frame, 3);
    const HWND exitButton = GetDlgItem(window, 1);
    ASSERT_TRUE(option1 && option2 && exitButton);

    EXPECT_EQ(FocusOf(window), exitButton);
    EXPECT_EQ(SendMessageA(option1, BM_GETCHECK, 0, 0), BST_CHECKED);

    RECT optionRect;
    GetWindowRect(option2, &optionRect);
    ClickMouse({optionRect.left + 6, (optionRect.top + optionRect.bottom) / 2});
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(option2, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000));
    EXPECT_EQ(SendMessageA(option1, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // Tab goes between EXiT and the option group only.
    TypeKey(VK_TAB);
    EXPECT_EQ(FocusOf(window), exitButton);
    TypeKey(VK_TAB);
    EXPECT_TRUE(FocusOf(window) == option1 || FocusOf(window) == option2);
    TypeKey(VK_UP);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(option1, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000));
    EXPECT_EQ(SendMessageA(option2, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // No default and no cancel button: on the option group Enter and Esc do
    // nothing, and Esc does nothing on EXiT either (only a key that presses
    // the focused button itself, Space or Enter, would).
    ASSERT_EQ(FocusOf(window), option1);
    TypeKey(VK_RETURN);
    TypeKey(VK_ESCAPE);
    TypeKey(VK_TAB);
    ASSERT_EQ(FocusOf(window), exitButton);
    TypeKey(VK_ESCAPE);
    // Keys come in order: once Tab has moved the focus on, Esc was handled.
    TypeKey(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(window) != exitButton; }));
    EXPECT_FALSE(program.WaitForExit(0)) << "Enter or Esc ended the program";
    EXPECT_EQ(FindMessageBox(program.processId()), nullptr);

    TypeKey(VK_F4, VK_MENU);
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(5000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST(ProgramFile, CarriesItsVersionRecordAndIcon) {
    const std::string file = ProgramUnderTest();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(file.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);

    const struct {
        const char* name;
        const char* value;
    } strings[] = {{"FileVersion", "1.00"},
                   {"ProductVersion", "1.00"},
                   {"ProductName", "NUV Veldmark v0.1"},
                   {"InternalName", "NUV Veldmark v0.1"},
                   {"OriginalFilename", "NUV Veldmark v0.1.exe"},
                   {"CompanyName", "Zedrik"}};
    for (const auto& s : strings) {
        char* value = nullptr;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + s.name;
        ASSERT_TRUE(VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
            << s.name;
        EXPECT_STREQ(value, s.value) << s.name;
    }
    char* legal = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904B0\\LegalCopyright",
                               reinterpret_cast<void**>(&legal), &length));
    EXPECT_NE(std::string(legal).find("Zedrik"), std::string::npos);

    // The icon: one group, with a 32 x 32 and a 16 x 16 image.
    const HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module);
    for (int size : {32, 16}) {
        const auto icon =
            static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0));
        ASSERT_TRUE(icon) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    FreeLibrary(module);
}

} // namespace
