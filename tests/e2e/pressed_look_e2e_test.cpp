// The pressed look of the label buttons, with real mouse input: APPLY shows a
// border while a button holds it, with no box yet, and is flat again when it
// is let go. The left button's release is a click, whose box finds the label
// flat; the right button's is none.
#include <gtest/gtest.h>

#include "e2e/commands_fixture.h"
#include "support/input.h"
#include "support/message_boxes.h"
#include "support/waiting.h"
#include "support/window_test_support.h"

namespace {

struct Press {
    const char* name;
    MouseButton button;
    bool clicks;
};

class PressedLook : public Commands, public testing::WithParamInterface<Press> {};

TEST_P(PressedLook, ApplyLooksPressedWhileHeldAndIsFlatWhenLetGo) {
    const Press& press = GetParam();
    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());
    const RECT label = ApplyOnScreen(program);
    const Snapshot flat = Snapshot::OfScreen(label);
    const auto looksFlat = [&] { return Snapshot::OfScreen(label) == flat; };

    PressMouse(Apply(program), press.button);
    EXPECT_TRUE(WaitUntil([&] { return !looksFlat(); })) << "no border while the button is held";
    EXPECT_EQ(FindMessageBox(program.processId()), nullptr) << "the click waits for the release";
    ReleaseMouse(Apply(program), press.button);

    if (press.clicks) {
        const HWND box = WaitForMessageBox(program.processId(), "Needed!!!");
        ASSERT_TRUE(box);
        SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(WaitUntil(looksFlat)) << "the label is flat again";
        ASSERT_TRUE(CloseMessageBox(box));
        return;
    }
    EXPECT_TRUE(WaitUntil(looksFlat)) << "the label is flat again";
    // Answered once the release has been handled: a click would have its box up by then.
    SendMessageTimeoutA(program.window(), WM_NULL, 0, 0, SMTO_NORMAL, 5000 * TimeScale(), nullptr);
    EXPECT_EQ(FindMessageBox(program.processId()), nullptr);
    EXPECT_EQ(ReadDwmValue("Composition").type, static_cast<DWORD>(REG_NONE));
}

INSTANTIATE_TEST_SUITE_P(Commands, PressedLook,
                         testing::Values(Press{"LeftButtonClicks", MouseButton::Left, true},
                                         Press{"RightButtonClicksNothing", MouseButton::Right, false}),
                         [](const testing::TestParamInfo<Press>& info) { return info.param.name; });

} // namespace
