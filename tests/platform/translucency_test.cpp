#include "platform/translucency.h"

#include <gtest/gtest.h>

namespace {

// A plain top-level window of the test's own, without the layered style.
class Translucency : public testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowExA(0, "STATIC", "translucency", WS_OVERLAPPEDWINDOW, 10, 10, 100, 80, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(window_);
    }
    void TearDown() override { DestroyWindow(window_); }

    LONG ExStyle() const { return GetWindowLongA(window_, GWL_EXSTYLE); }
    BYTE Alpha() const {
        BYTE alpha = 0;
        DWORD flags = 0;
        COLORREF key = 0;
        GetLayeredWindowAttributes(window_, &key, &alpha, &flags);
        return alpha;
    }
    HWND window_ = nullptr;
};

TEST_F(Translucency, SetsTheLayeredStyleAndTheAlpha) {
    const LONG before = ExStyle();
    const short alpha = 225;
    EXPECT_EQ(SetWindowTranslucency(window_, alpha), kTranslucencySet);
    EXPECT_EQ(ExStyle(), before | WS_EX_LAYERED);
    EXPECT_EQ(Alpha(), 225);
    EXPECT_EQ(alpha, 225);
}

TEST_F(Translucency, TwiceLeavesTheStyleAsOnce) {
    const short alpha = 225;
    EXPECT_EQ(SetWindowTranslucency(window_, alpha), kTranslucencySet);
    const LONG once = ExStyle();
    EXPECT_EQ(SetWindowTranslucency(window_, alpha), kTranslucencySet);
    EXPECT_EQ(ExStyle(), once);
}

TEST_F(Translucency, AlphaZeroIsFullyTransparent) {
    EXPECT_EQ(SetWindowTranslucency(window_, 0), kTranslucencySet);
    EXPECT_TRUE(ExStyle() & WS_EX_LAYERED);
    EXPECT_EQ(Alpha(), 0);
}

TEST_F(Translucency, NegativeAlphaChangesNothing) {
    const LONG before = ExStyle();
    for (short alpha : {short(-1), short(-32768)}) {
        EXPECT_EQ(SetWindowTranslucency(window_, alpha), kNegativeAlpha);
        EXPECT_EQ(ExStyle(), before);
    }
}

TEST_F(Translucency, AlphaPastAByteFailsTheAlphaStepOnly) {
    for (short alpha : {short(256), short(32767)}) {
        EXPECT_EQ(SetWindowTranslucency(window_, alpha), kTranslucencyStepFailed);
        EXPECT_TRUE(ExStyle() & WS_EX_LAYERED) << "the style step ran before the alpha step failed";
    }
}

TEST(TranslucencyWithoutAWindow, IsNotAnErrorOfItsOwn) {
    // The platform refuses a window that does not exist; that is its answer,
    // not a failing step.
    EXPECT_EQ(SetWindowTranslucency(nullptr, 100), kTranslucencySet);
}

} // namespace
