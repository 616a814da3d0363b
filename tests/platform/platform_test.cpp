// The platform services, in the test's own process.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <string>

#include "support/box_closer.h"
#include "support/running_program.h"
#include "support/waiting.h"
#include "support/wine_settings.h"

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

// Modal to the window it blocks: the active one, and the thread's own window
// when none is active (a command run while another program is in front).
TEST(ShowMessageBox, IsOwnedByTheWindowItBlocksAndShowsItsTexts) {
    for (const bool active : {true, false}) {
        SCOPED_TRACE(active ? "active" : "shown, not active");
        const HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(owner);
        ShowWindow(owner, active ? SW_SHOW : SW_SHOWNOACTIVATE);
        if (active) SetForegroundWindow(owner);
        SetActiveWindow(active ? owner : nullptr);
        ASSERT_EQ(GetActiveWindow(), active ? owner : nullptr);
        BoxCloser watch;
        ShowMessageBox("one\r\n\r\nthree", kInformationIcon, "Title :");
        watch.Wait();
        EXPECT_EQ(watch.title, "Title :");
        EXPECT_EQ(watch.text, "one\r\n\r\nthree");
        EXPECT_EQ(watch.owner, owner);
        DestroyWindow(owner);
    }
}

// The prefix the tests run in is the project's, however the run was started
// (scripts/test, ctest by hand, an editor's runner) and whoever made it.
TEST(TestPrefix, HasTheProjectsSettings) {
    if (!RunningUnderWine()) GTEST_SKIP() << "reads the Wine prefix's settings";
    const struct {
        const char* key;
        const char* name;
        std::string value; // a DWORD as its decimal digits
    } settings[] = {
        {"Software\\Wine\\X11 Driver", "Decorated", "N"},
        {"Software\\Wine\\X11 Driver", "Managed", "N"},
        {"Software\\Wine\\Explorer", "Desktop", "Default"},
        {"Software\\Wine\\Explorer\\Desktops", "Default", "1024x768"},
        {"Software\\Wine\\WineDbg", "ShowCrashDialog", "0"},
        {"Software\\Wine", "Version", "win7"},
    };
    for (const auto& setting : settings) {
        // The 64-bit registry's, which a 32-bit test reaches too.
        char data[256] = "";
        DWORD type = 0, size = sizeof data - 1;
        HKEY key = nullptr;
        const LSTATUS opened =
            RegOpenKeyExA(HKEY_CURRENT_USER, setting.key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key);
        EXPECT_EQ(opened == ERROR_SUCCESS ? RegQueryValueExA(key, setting.name, nullptr, &type,
                                                             reinterpret_cast<BYTE*>(data), &size)
                                          : opened,
                  ERROR_SUCCESS)
            << setting.key << "\\" << setting.name;
        if (key) RegCloseKey(key);
        const std::string value =
            type == REG_DWORD ? std::to_string(*reinterpret_cast<const DWORD*>(data)) : std::string(data);
        EXPECT_EQ(value, setting.value) << setting.key << "\\" << setting.name;
    }
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(version.dwMajorVersion * 10 + version.dwMinorVersion, 61u)
        << "Windows 7 is what the programs see";
}

} // namespace
