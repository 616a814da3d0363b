// The failure path of start-up, in a child process of the test (the program
// ends there): a window class of the main window's name that refuses to make
// windows stands in for a main window that cannot be created.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/box_closer.h"
#include "ui/main_window.h"

namespace {

LRESULT CALLBACK RefusingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) return FALSE;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterRefusingMainWindowClass() {
    WNDCLASSA refusing{};
    refusing.lpfnWndProc = RefusingWindowProc;
    refusing.hInstance = GetModuleHandleA(nullptr);
    refusing.lpszClassName = kMainWindow.name;
    RegisterClassA(&refusing);
}

std::string OneLine(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, " / ");
    return text;
}

// Reports the box on stderr, where the parent reads it, while it is up.
void ReportTheBox(const BoxCloser& box) {
    std::fprintf(stderr, "box [%s] text [%s] main window [%s]\n", box.title.c_str(),
                 OneLine(box.text).c_str(), FindWindowA(kMainWindow.name, nullptr) ? "present" : "none");
    std::fflush(stderr);
}

TEST(StartupDeathTest, AMainWindowThatCannotBeMadeShowsTheProblemBoxAndEnds) {
    EXPECT_EXIT(
        {
            RegisterRefusingMainWindowClass();
            BoxCloser box(ReportTheBox);
            if (!LoadMainWindow()) ReportStartupProblem();
            std::fprintf(stderr, "went on after the box\n");
            std::exit(3);
        },
        testing::ExitedWithCode(0),
        "box \\[Problem :\\] text \\[There was some error in loading the Application\\. / "
        "Some components needed might be missing on your System\\.\\] main window \\[none\\]");
}

TEST(StartupDeathTest, PreparingWithoutAMainWindowShowsTheProblemBoxAndEnds) {
    EXPECT_EXIT(
        {
            RegisterRefusingMainWindowClass();
            BoxCloser box(ReportTheBox);
            PrepareMainWindow();
            std::fprintf(stderr, "went on after the box\n");
            std::exit(3);
        },
        testing::ExitedWithCode(0),
        "box \\[Problem :\\] text \\[There was some error.* main window \\[none\\]");
}

} // namespace
