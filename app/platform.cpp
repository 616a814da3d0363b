#include "app/platform.h"

#include <vector>

void ShowMessageBox(const std::string& text, UINT style, const std::string& title) {
    MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(), style);
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
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        const DWORD error = GetLastError();
        ShowMessageBox("This command could not be started:\r\n\r\n" + commandLine + "\r\n\r\n" +
                           SystemMessage(error),
                       MB_ICONEXCLAMATION, "Cannot Start");
        return 0;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return process.dwProcessId;
}
