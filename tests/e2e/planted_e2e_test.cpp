// What a user may find beside the program: it is unpacked where browsers save
// files, where any web page can leave files too. The link starts the
// system's own shell, and nothing of the names the program loads or starts,
// planted beside it, runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "e2e/commands_fixture.h"
#include "support/running_program.h"
#include "support/waiting.h"
#include "support/wine_settings.h"

namespace {

// The DLLs the program loads at start and on its commands, as Wine's loader
// lists them (WINEDEBUG=+pid,+loaddll), 64-bit and 32-bit. Most are the
// system's known DLLs, which Windows always takes from the system folder,
// and Wine's own dependencies of them: Wine 8 looks for those beside the
// program too, but loads its own under the name it found there. The rest
// are loaded by name while the program runs, or are where Windows 7 and
// later forward advapi32's crypto functions (which Wine does not load), and
// the search for them must not reach the program's folder at all.
const std::vector<std::string> kKnownLibraries = {
    "advapi32.dll",   "combase.dll", "coml2.dll",   "gdi32.dll",  "imm32.dll",  "kernel32.dll",
    "kernelbase.dll", "msvcrt.dll",  "ntdll.dll",   "ole32.dll",  "rpcrt4.dll", "sechost.dll",
    "ucrtbase.dll",   "user32.dll",  "version.dll", "win32u.dll", "zlib1.dll"};
const std::vector<std::string> kLibrariesLoadedByName = {"uxtheme.dll", "winex11.drv", "cryptbase.dll",
                                                         "cryptsp.dll", "wtsapi32.dll"};

bool Listed(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// The full paths of the modules loaded in a process, lower-cased.
std::vector<std::string> LoadedModules(DWORD processId) {
    std::vector<std::string> paths;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module))
        paths.push_back(module.szExePath);
    CloseHandle(snapshot);
    for (std::string& path : paths)
        std::transform(path.begin(), path.end(), path.begin(), [](char c) { return std::tolower(c); });
    return paths;
}

TEST_F(Commands, TheLinkStartsTheSystemShellAndNothingPlantedBesideTheProgramRuns) {
    std::vector<std::string> libraries = kKnownLibraries;
    libraries.insert(libraries.end(), kLibrariesLoadedByName.begin(), kLibrariesLoadedByName.end());
    RunningProgram program(ProgramUnderTest());
    const std::string record = program.folder() + "\\launch-record.txt";
    SystemShellStandIn shell(BesideTheTest("explorer.exe"), record);
    ASSERT_TRUE(shell.ready());
    ASSERT_TRUE(program.AddBeside(BesideTheTest("explorer.exe"), "explorer.exe"));
    for (const std::string& library : libraries)
        ASSERT_TRUE(program.AddBeside(BesideTheTest("planted_library.dll"), library)) << library;
    ASSERT_TRUE(program.Start());
    UseEveryCommand(program);

    std::string text;
    EXPECT_TRUE(WaitUntil([&] { return !(text = ReadWholeFile(record)).empty(); }, 5000));
    EXPECT_EQ(text, "program=" + shell.shell() + "\narguments=" + kAddress + "\nshow=2\n");
    for (const std::string& library : libraries)
        EXPECT_EQ(program.ReadBeside(library + ".loaded"), "") << library;
    // Wine loads its own DLL under the name of a planted one that the search
    // found first, so a module's path tells where the search went.
    std::string folder = program.folder() + "\\";
    std::transform(folder.begin(), folder.end(), folder.begin(), [](char c) { return std::tolower(c); });
    const std::vector<std::string> modules = LoadedModules(program.processId());
    EXPECT_GT(modules.size(), 5u);
    for (const std::string& path : modules) {
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        if (name.find(".exe") != std::string::npos || Listed(kKnownLibraries, name)) continue;
        EXPECT_TRUE(Listed(kLibrariesLoadedByName, name)) << "loaded but not planted: " << path;
        EXPECT_NE(path.rfind(folder, 0), 0u) << "found beside the program: " << path;
    }
    EXPECT_FALSE(program.WaitForExit(0)) << "the program keeps running";
}

} // namespace
