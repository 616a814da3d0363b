// The label buttons inside the program's own process: the order of press,
// release and click, and APPLY with no option selected.
#include <gtest/gtest.h>

#include "support/box_closer.h"
#include "support/window_test_support.h"
#include "support/wine_settings.h"
#include "ui/handlers.h"
#include "ui/main_window.h"

namespace {

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
    int label2BorderWhenShown = -1;
    BoxCloser box([&](const BoxCloser&) { label2BorderWhenShown = LabelBorderStyle(ControlId::Label2); });
    // On the outermost row, under Shape1's outline: still a press on Label2.
    Press(WM_LBUTTONDOWN, WM_LBUTTONUP, 180, 80);
    EXPECT_TRUE(box.Wait());
    EXPECT_EQ(box.title, "Needed!!!");
    EXPECT_EQ(label2BorderWhenShown, 0);
}

TEST_F(LabelButtons, AReleaseAwayFromTheLabelIsNoClick) {
    BoxCloser box;
    const HWND frame = ControlWindow(ControlId::Frame1);
    SendMessageA(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 88));
    EXPECT_EQ(LabelBorderStyle(ControlId::Label2), 1);
    SendMessageA(frame, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(LabelBorderStyle(ControlId::Label2), 0);
    // A box would have come and gone within the messages sent.
    EXPECT_FALSE(box.Wait(0)) << "a box opened";
}

TEST_F(LabelButtons, ApplyWithNeitherOptionWritesNothingAndSaysError) {
    SendMessageA(ControlWindow(ControlId::Option1), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(ControlWindow(ControlId::Option2), BM_SETCHECK, BST_UNCHECKED, 0);
    BoxCloser box;
    Label2_Click();
    box.Wait();
    EXPECT_EQ(box.title, "Error");
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\DWM", 0, KEY_READ, &key),
              ERROR_SUCCESS)
        << "the key was created";
}

} // namespace
