// The platform services, in the test's own process.
#include "app/platform.h"

#include <gtest/gtest.h>

#include <string>

#include "support/box_closer.h"
#include "support/program_driver.h"

namespace {

TEST(LaunchCommandLine, StartsTheFirstWordWithTheRestAsItsArgumentMinimised) {
    // The recorder built beside this test stands in for the shell: a command
    // line's program is looked for in the starting program's folder first.
    const std::string record = BesideTheTest("launch-record.txt");
    DeleteFileA(record.c_str());
    const DWORD started = LaunchCommandLine("explorer http://www.example.com/nuv/", SW_SHOWMINIMIZED);
    EXPECT_NE(started, 0u);
    std::string text;
    EXPECT_TRUE(WaitUntil(
        [&] {
            const HANDLE file = CreateFileA(record.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE) return false;
            char buffer[256];
            DWORD read = 0;
            ReadFile(file, buffer, sizeof buffer, &read, nullptr);
            CloseHandle(file);
            text.assign(buffer, read);
            return !text.empty();
        },
        5000));
    EXPECT_EQ(text, "arguments=http://www.example.com/nuv/\nshow=2\n");
    DeleteFileA(record.c_str());
}

TEST(LaunchCommandLine, ACommandThatCannotStartIsToldAndTheCallerGoesOn) {
    BoxCloser watch;
    EXPECT_EQ(LaunchCommandLine("no-such-program-nuv http://www.example.com/", SW_SHOWMINIMIZED), 0u);
    watch.Wait();
    EXPECT_EQ(watch.title, "Cannot Start");
    EXPECT_EQ(watch.text.find(
                  "This command could not be started:\r\n\r\nno-such-program-nuv http://www.example.com/"),
              0u)
        << watch.text;
}

TEST(ShowMessageBox, IsOwnedByTheActiveWindowAndShowsItsTexts) {
    const HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                                       100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(owner);
    SetForegroundWindow(owner);
    SetActiveWindow(owner);
    BoxCloser watch;
    ShowMessageBox("one\r\n\r\nthree", kInformationIcon, "Title :");
    watch.Wait();
    EXPECT_EQ(watch.title, "Title :");
    EXPECT_EQ(watch.text, "one\r\n\r\nthree");
    EXPECT_EQ(watch.owner, owner);
    DestroyWindow(owner);
}

} // namespace
