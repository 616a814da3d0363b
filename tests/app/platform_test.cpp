// The platform services, in the test's own process.
#include "app/platform.h"

#include <gtest/gtest.h>

#include <string>

#include "support/box_closer.h"
#include "support/program_driver.h"

namespace {

TEST(LaunchCommandLine, StartsTheSystemsProgramWithTheRestAsItsArgumentMinimised) {
    if (!RunningUnderWine()) GTEST_SKIP() << "puts a stand-in for the shell into the Windows folder";
    const std::string record = BesideTheTest("launch-record.txt");
    DeleteFileA(record.c_str());
    // The recorder built beside this test is also a program of that name in
    // the caller's own folder, which the launch must pass over.
    SystemShellStandIn shell(BesideTheTest("explorer.exe"), record);
    ASSERT_TRUE(shell.ready());
    EXPECT_NE(LaunchCommandLine("explorer http://www.example.com/nuv/", SW_SHOWMINIMIZED), 0u);
    std::string text;
    EXPECT_TRUE(WaitUntil([&] { return !(text = ReadWholeFile(record)).empty(); }, 5000));
    EXPECT_EQ(text, "program=" + shell.shell() + "\narguments=http://www.example.com/nuv/\nshow=2\n");
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
