#include "support/running_program.h"

#include <cstring>
#include <vector>

#include "support/waiting.h"
#include "support/window_test_support.h"

namespace {

std::string MakeScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    std::string folder = std::string(temp) + "nuv-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(++serial);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + entry.cFileName).c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

RunningProgram::RunningProgram(const std::string& programFile) : folder_(MakeScratchFolder()) {
    const std::size_t slash = programFile.find_last_of("\\/");
    program_ = folder_ + "\\" + programFile.substr(slash == std::string::npos ? 0 : slash + 1);
    CopyFileA(programFile.c_str(), program_.c_str(), FALSE);
}

RunningProgram::~RunningProgram() {
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    RemoveFolder(folder_);
}

bool RunningProgram::AddBeside(const std::string& file, const std::string& name) {
    return CopyFileA(file.c_str(), (folder_ + "\\" + name).c_str(), FALSE) != FALSE;
}

std::string RunningProgram::ReadBeside(const std::string& name) const {
    return ReadWholeFile(folder_ + "\\" + name);
}

bool RunningProgram::Start() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = "\"" + program_ + "\"";
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    if (!CreateProcessA(program_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.c_str(), &startup, &process_))
        return false;
    WaitForInputIdle(process_.hProcess, 10000 * TimeScale());
    WaitUntil([&] { return (window_ = FindProcessWindow(process_.dwProcessId, "NUV2", nullptr)) != nullptr; },
              10000);
    if (!window_) return false;
    WaitForInputIdle(process_.hProcess, 5000 * TimeScale());
    RECT shown;
    return GetWindowRect(window_, &shown) && WaitForScreenToSettle(shown);
}

bool RunningProgram::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
    if (WaitForSingleObject(process_.hProcess, milliseconds * TimeScale()) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_.hProcess, exitCode);
    return true;
}

// The search by class is the system's own, so that a test polling for a
// window asks little of a machine that is busy drawing it.
HWND FindProcessWindow(DWORD processId, const char* className, const char* title) {
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, title)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != processId || !IsWindowVisible(window)) continue;
        char text[256] = ""; // the system's search ignores case; the title is exact
        if (!title || (GetWindowTextA(window, text, sizeof text) && std::strcmp(text, title) == 0))
            return window;
    }
    return nullptr;
}

std::string ProgramUnderTest() {
    char named[MAX_PATH] = "", full[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("NUV_PROGRAM", named, MAX_PATH);
    const DWORD fullLength = GetFullPathNameA(length > 0 && length < MAX_PATH ? named : NUV_PROGRAM_FILE_NAME,
                                              MAX_PATH, full, nullptr);
    return fullLength > 0 && fullLength < MAX_PATH ? std::string(full) : std::string();
}

std::string BesideTheTest(const std::string& name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self = path;
    return self.substr(0, self.find_last_of('\\') + 1) + name;
}

std::string ReadWholeFile(const std::string& path) {
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) text.append(buffer, read);
    CloseHandle(file);
    return text;
}
