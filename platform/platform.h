// The platform services the window's commands share: the message box, the
// immediate end of the program and the launch of a command line.
#pragma once

#include <windows.h>

#include <string>

// Message box styles the program uses: one OK button with these icons.
constexpr UINT kNoIcon = 0;           // MB_OK
constexpr UINT kCriticalIcon = 16;    // MB_ICONERROR
constexpr UINT kExclamationIcon = 48; // MB_ICONEXCLAMATION
constexpr UINT kInformationIcon = 64; // MB_ICONINFORMATION

// Shows a modal box and returns when the user closes it. Lines in text are
// separated by CR LF. The box blocks the window it belongs to: the active
// window, or, when a command runs while another program is in front (a
// screen reader's action), this thread's own visible window; none before the
// window is shown.
void ShowMessageBox(const std::string& text, UINT style, const std::string& title);

// Ends the program at once: no further handler runs, the windows go with the
// process.
[[noreturn]] void EndProgram();

// Starts the system's program named by the first word of commandLine, found
// in the Windows folder or else the system folder and started by its full
// path, with the whole line as its command line, its window in the given
// show style, and returns without waiting. The program's own folder and the
// current one are never searched: users run this program from wherever
// their browser saved it, where any web page can leave a file of the same
// name. Returns the new process's id, or 0 when it could not start, which
// has then been told to the user in a message box; the program goes on
// running either way.
DWORD LaunchCommandLine(const std::string& commandLine, int showStyle);

// The user name of the account this program runs as, and that of the user
// signed in to the session it runs in: the two differ when another account's
// password was given to start it. Empty when it cannot be read. Nothing is
// looked up or loaded for them before they are asked for.
std::string ProgramAccountName();
std::string SessionUserName();

// Narrows the search for DLLs loaded by name to the system folder, leaving
// out the program's own folder and the current one, for the same reason.
// Called first thing at start.
void LimitLibrarySearchToSystem();

// Loads a DLL of the system folder by its full path, and the DLLs it needs
// from that folder first, so that no file of that name elsewhere is taken
// even on a system where the search could not be narrowed. It stays loaded.
// Null when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);

// A function of a loaded DLL by its name, as the type it has; null when the
// DLL is null or has no such function.
template <typename Function> Function FindFunction(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}
