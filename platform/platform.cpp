#include "platform/platform.h"

#include <lmcons.h>
#include <wtsapi32.h>

#include <vector>

namespace {

BOOL CALLBACK TakeVisibleWindow(HWND window, LPARAM found) {
    if (!IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// A box is modal to its owner. The active window is the window itself while
// the user works in it; a command that a screen reader runs while its own
// window is in front finds no active window here, and a box without an owner
// would leave the window taking clicks behind it.
HWND MessageBoxOwner() {
    if (const HWND active = GetActiveWindow()) return active;
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), TakeVisibleWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

void ShowMessageBox(const std::string& text, UINT style, const std::string& title) {
    MessageBoxA(MessageBoxOwner(), text.c_str(), title.c_str(), style);
}

void EndProgram() { ExitProcess(0); }

namespace {

std::string SystemMessage(DWORD error) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string message = length ? std::string(buffer, length) : "Error " + std::to_string(error) + ".";
    LocalFree(buffer);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message;
}

// The full path of a system program by its bare name (".exe" may be left
// off), or empty when neither system folder holds it. The system's Windows
// folder, not GetWindowsDirectoryA's: on a Remote Desktop Session Host that
// may be a private one of the user's, which holds no programs.
std::string SystemProgramPath(const std::string& name) {
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos) return {};
    char windows[MAX_PATH], system[MAX_PATH], found[MAX_PATH];
    if (!GetSystemWindowsDirectoryA(windows, MAX_PATH) || !GetSystemDirectoryA(system, MAX_PATH)) return {};
    const std::string folders = std::string(windows) + ";" + system;
    char* fileName = nullptr;
    const DWORD length = SearchPathA(folders.c_str(), name.c_str(), ".exe", MAX_PATH, found, &fileName);
    return length > 0 && length < MAX_PATH ? std::string(found) : std::string();
}

} // namespace

DWORD LaunchCommandLine(const std::string& commandLine, int showStyle) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showStyle);
    PROCESS_INFORMATION process{};
    // CreateProcessA may write into the command line it is given.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    const std::string program = SystemProgramPath(commandLine.substr(0, commandLine.find(' ')));
    if (program.empty() || !CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                           nullptr, &startup, &process)) {
        const DWORD error = program.empty() ? ERROR_FILE_NOT_FOUND : GetLastError();
        ShowMessageBox("This command could not be started:\r\n\r\n" + commandLine + "\r\n\r\n" +
                           SystemMessage(error),
                       kExclamationIcon, "Cannot Start");
        return 0;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return process.dwProcessId;
}

// GetUserNameA: "the name of the user associated with the current thread",
// which is the process's own account while no thread impersonates another
// (learn.microsoft.com/windows/win32/api/winbase/nf-winbase-getusernamea).
std::string ProgramAccountName() {
    char name[UNLEN + 1];
    DWORD size = sizeof name;
    const auto getUserName =
        FindFunction<decltype(&GetUserNameA)>(GetModuleHandleA("advapi32.dll"), "GetUserNameA");
    return getUserName && getUserName(name, &size) ? std::string(name) : std::string();
}

// WTSQuerySessionInformationA of WTS_CURRENT_SESSION with WTSUserName: the
// name of the user signed in to the session, in a buffer the caller frees
// with WTSFreeMemory (learn.microsoft.com/windows/win32/api/wtsapi32/
// nf-wtsapi32-wtsquerysessioninformationa, and WTS_INFO_CLASS there).
std::string SessionUserName() {
    const HMODULE wtsapi32 = LoadSystemLibrary("wtsapi32.dll");
    const auto query =
        FindFunction<decltype(&WTSQuerySessionInformationA)>(wtsapi32, "WTSQuerySessionInformationA");
    const auto release = FindFunction<decltype(&WTSFreeMemory)>(wtsapi32, "WTSFreeMemory");
    char* name = nullptr;
    DWORD size = 0;
    if (!query || !release ||
        !query(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, WTSUserName, &name, &size))
        return {};
    std::string user = name ? name : "";
    release(name);
    return user;
}

void LimitLibrarySearchToSystem() {
    SetDllDirectoryA(""); // takes the current folder out of the search
    // Vista and 7 have this only with a later update, so it is looked up.
    const auto setDefaultDllDirectories =
        FindFunction<BOOL(WINAPI*)(DWORD)>(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemLibrary(const char* name) {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (!length || length >= MAX_PATH) return nullptr;
    return LoadLibraryExA((std::string(folder) + "\\" + name).c_str(), nullptr,
                          LOAD_WITH_ALTERED_SEARCH_PATH);
}
