// The label buttons inside the program's own process: the order of press,
// release and click, and APPLY with no option selected.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "support/program_driver.h"
#include "support/window_test_support.h"
#include "ui/handlers.h"
#include "ui/main_window.h"

namespace {

// Watches for the next box of this process from a thread of its own, notes
// its title and Label2's border style at that moment, and closes it.
struct BoxWatch {
    std::atomic<bool> seen{false};
    std::string title;
    int label2BorderWhenShown = -1;

    static DWORD WINAPI Run(void* parameter) {
        auto* watch = static_cast<BoxWatch*>(parameter);
        HWND box = nullptr;
        WaitUntil([&] { return (box = FindMessageBox(GetCurrentProcessId())) != nullptr; }, 5000);
        if (!box) return 0;
        watch->label2BorderWhenShown = LabelBorderStyle(ControlId::Label2);
        char title[128] = "";
        GetWindowTextA(box, title, sizeof title);
        watch->title = title;
        watch->seen = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return 0;
    }
    HANDLE Start() { return CreateThread(nullptr, 0, Run, this, 0, nullptr); }
};

class LabelButtons : public testing::Test {
protected:
    void SetUp() override {
        if (!RunningUnderWine())
            GTEST_SKIP() << "changes the current user's DWM settings; runs under Wine only";
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\DWM");
        ASSERT_TRUE(LoadMainWindow());
        PumpMessages(50);
    }
    void TearDown() override {
        UnloadMainWindow();
        PumpMessages(20);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\DWM");
    }
    static void Press(UINT down, UINT up, int x, int y) {
        const HWND frame = ControlWindow(ControlId::Frame1);
        SendMessageA(frame, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(x, y));
        EXPECT_EQ(LabelBorderStyle(ControlId::Label2), 1);
        SendMessageA(frame, up, 0, MAKELPARAM(x, y));
    }
};

TEST_F(LabelButtons, TheClickComesAfterTheReleaseSoTheBoxFindsTheLabelFlat) {
    BoxWatch watch;
    const HANDLE thread = watch.Start();
    // On the outermost row, under Shape1's outline: still a press on Label2.
    Press(WM_LBUTTONDOWN, WM_LBUTTONUP, 180, 80);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    EXPECT_TRUE(watch.seen);
    EXPECT_EQ(watch.title, "Needed!!!");
    EXPECT_EQ(watch.label2BorderWhenShown, 0);
}

TEST_F(LabelButtons, AReleaseAwayFromTheLabelIsNoClick) {
    BoxWatch watch;
    const HANDLE thread = watch.Start();
    const HWND frame = ControlWindow(ControlId::Frame1);
    SendMessageA(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 88));
    EXPECT_EQ(LabelBorderStyle(ControlId::Label2), 1);
    SendMessageA(frame, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(LabelBorderStyle(ControlId::Label2), 0);
    EXPECT_EQ(WaitForSingleObject(thread, 1000), static_cast<DWORD>(WAIT_TIMEOUT)) << "a box opened";
    TerminateThread(thread, 0);
    CloseHandle(thread);
    EXPECT_FALSE(watch.seen);
}

TEST_F(LabelButtons, ApplyWithNeitherOptionWritesNothingAndSaysError) {
    SendMessageA(ControlWindow(ControlId::Option1), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(ControlWindow(ControlId::Option2), BM_SETCHECK, BST_UNCHECKED, 0);
    BoxWatch watch;
    const HANDLE thread = watch.Start();
    Label2_Click();
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    EXPECT_EQ(watch.title, "Error");
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\DWM", 0, KEY_READ, &key),
              ERROR_SUCCESS)
        << "the key was created";
}

} // namespace
