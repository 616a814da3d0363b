// The failure path of start-up, in a child process of the test (the program
// ends there): a window class of the main window's name that refuses to make
// windows stands in for a main window that cannot be created, and a hook that
// refuses child windows for contents that cannot be made.
#include "ui/startup.h"

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

// The contents fail as when the desktop heap or the handle quota has run
// out: the system refuses the child windows. Windows then destroys the main
// window before CreateWindowEx returns, sending WM_DESTROY and WM_NCDESTROY;
// Wine sends only WM_NCDESTROY, so the window, subclassed as it is made, is
// fed the WM_DESTROY that Windows sends first.
WNDPROC g_mainWindowProc = nullptr;
bool g_creationFailed = false, g_destroyed = false;

LRESULT CALLBACK DestroyedAsOnWindows(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) g_destroyed = true;
    if (message == WM_NCDESTROY && g_creationFailed && !g_destroyed) {
        g_destroyed = true;
        CallWindowProcA(g_mainWindowProc, hwnd, WM_DESTROY, 0, 0);
    }
    const LRESULT result = CallWindowProcA(g_mainWindowProc, hwnd, message, wParam, lParam);
    if (message == WM_CREATE && result == -1) g_creationFailed = true;
    return result;
}

LRESULT CALLBACK RefuseChildWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto hwnd = reinterpret_cast<HWND>(wParam);
        if (reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->style & WS_CHILD) return 1;
        char name[64] = "";
        GetClassNameA(hwnd, name, sizeof name);
        if (std::string(name) == kMainWindow.name)
            g_mainWindowProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DestroyedAsOnWindows)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
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

TEST(StartupDeathTest, ContentsThatCannotBeMadeShowTheProblemBoxUntilItIsClosed) {
    EXPECT_EXIT(
        {
            const HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseChildWindows, nullptr, GetCurrentThreadId());
            const bool loaded = LoadMainWindow();
            UnhookWindowsHookEx(hook);
            MSG quit;
            std::fprintf(stderr, "loaded [%s] destroyed [%s] quit waiting [%s]\n", loaded ? "yes" : "no",
                         g_destroyed ? "yes" : "no",
                         PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) ? "yes" : "no");
            BoxCloser box(ReportTheBox);
            if (!loaded) ReportStartupProblem();
            std::fprintf(stderr, "went on after the box\n");
            std::exit(3);
        },
        testing::ExitedWithCode(0),
        "loaded \\[no\\] destroyed \\[yes\\] quit waiting \\[no\\]\n"
        "box \\[Problem :\\] text \\[There was some error.* main window \\[none\\]");
}

} // namespace
