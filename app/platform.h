// The platform services the window's commands share: the message box, the
// immediate end of the program and the launch of a command line.
#pragma once

#include <windows.h>

#include <string>

// Message box styles the program uses: one OK button with these icons.
constexpr UINT kNoIcon = 0;           // MB_OK
constexpr UINT kCriticalIcon = 16;    // MB_ICONERROR
constexpr UINT kInformationIcon = 64; // MB_ICONINFORMATION

// Shows a modal box owned by the application's active window and returns
// when the user closes it. Lines in text are separated by CR LF.
void ShowMessageBox(const std::string& text, UINT style, const std::string& title);

// Ends the program at once: no further handler runs, the windows go with the
// process.
[[noreturn]] void EndProgram();

// Starts the program named by the first word of commandLine (found as Windows
// finds a command line's program) with the rest of the line as its argument,
// its window in the given show style, and returns without waiting. Returns the
// new process's id, or 0 when it could not start, which has then been told to
// the user in a message box; the program goes on running either way.
DWORD LaunchCommandLine(const std::string& commandLine, int showStyle);
