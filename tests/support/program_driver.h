// Drives the real program from another process: starts it from a folder of
// its own, finds its windows, sends real input and reads what it shows.
#pragma once

#include <windows.h>

#include <string>

// The program under test, copied into a fresh folder (so that what a test
// puts beside it stays there). The folder and the process go at the end.
class RunningProgram {
public:
    // Copies the program file into a new scratch folder; Start() runs it.
    explicit RunningProgram(const std::string& programFile);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    const std::string& folder() const { return folder_; }
    // Puts a copy of another file beside the program, under the given name.
    bool AddBeside(const std::string& file, const std::string& name);
    // A file of the folder read whole; empty when it is not there.
    std::string ReadBeside(const std::string& name) const;
    // Starts the program and waits until its main window is shown and idle.
    bool Start();
    HWND window() const { return window_; }
    DWORD processId() const { return process_.dwProcessId; }
    HANDLE process() const { return process_.hProcess; }
    // Waits for the process to end; true with its exit code when it did.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr);

private:
    std::string folder_;
    std::string program_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// An environment variable of this process, which the programs it starts
// inherit, set while this lives and put back after.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const std::string& name, const std::string& value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    std::string name_, previous_;
    bool hadValue_ = false;
};

// Wine's DLL overrides as they are now, with more appended.
std::string WineDllOverridesWith(const std::string& more);

// While it lives, a recorder stands in for the system's shell: it replaces
// explorer.exe in the Windows folder (put back at the end), Wine is told to
// run that file rather than its built-in shell, and the programs started
// meanwhile write their records to recordFile. It changes the Wine prefix,
// so it is for runs under Wine only.
class SystemShellStandIn {
public:
    SystemShellStandIn(const std::string& recorder, const std::string& recordFile);
    ~SystemShellStandIn();
    SystemShellStandIn(const SystemShellStandIn&) = delete;
    SystemShellStandIn& operator=(const SystemShellStandIn&) = delete;

    bool ready() const { return ready_; }
    const std::string& shell() const { return shell_; }

private:
    std::string shell_, saved_;
    bool ready_ = false;
    ScopedEnvironmentVariable overrides_, record_;
};

// While it lives, Wine tells the programs started meanwhile that the system
// is the Windows version named as in Wine's own setting ("vista", "win7",
// "win8", "win81", "win10"); the prefix's setting is put back at the end.
class ScopedWineVersion {
public:
    explicit ScopedWineVersion(const std::string& version);
    ~ScopedWineVersion();
    ScopedWineVersion(const ScopedWineVersion&) = delete;
    ScopedWineVersion& operator=(const ScopedWineVersion&) = delete;

    bool ready() const { return ready_; }

private:
    HKEY key_ = nullptr;
    std::string previous_;
    bool hadValue_ = false, ready_ = false;
};

// The program file under test: the build's (in the test's working folder), or
// the one the NUV_PROGRAM variable names, such as a released program. And a
// file built beside the test program itself.
std::string ProgramUnderTest();
std::string BesideTheTest(const std::string& name);

// A file read whole; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// True under Wine, where the registry and the screen are the test set-up's own.
bool RunningUnderWine();

// The icon a message box shows, compared with a system icon by its pixels
// once the box has painted it.
bool MessageBoxShowsIcon(HWND box, const char* systemIcon);

// A point of a window's client area on the screen.
POINT ClientPointOnScreen(HWND window, int x, int y);

// Real input: the pointer moved to the point, a button pressed and released,
// each followed by a pause for the program to take it in.
enum class MouseButton { Left, Right };
constexpr DWORD kInputPause = 60;
void PressMouse(POINT screen, MouseButton button, DWORD pause = kInputPause);
void ReleaseMouse(POINT screen, MouseButton button, DWORD pause = kInputPause);
void ClickMouse(POINT screen, MouseButton button = MouseButton::Left, DWORD pause = kInputPause);

// Real input: a key pressed and released, with modifier keys held around it.
void TypeKey(WORD key, WORD modifier = 0);

// The control with the keyboard focus in the thread that owns window.
HWND FocusOf(HWND window);

// Waits for a message box of the process with that title, and for it to be
// laid out and painted; null when none came within the time.
HWND WaitForMessageBox(DWORD processId, const std::string& title, DWORD milliseconds = 5000,
                       DWORD settle = 100);

// Any message box of the process, or null.
HWND FindMessageBox(DWORD processId);

// The text a message box shows.
std::string MessageBoxText(HWND box);

// Presses the box's OK button (with the Enter key: as a user at the keyboard
// does) and waits until the box is gone and the window it was shown for is
// enabled and in the foreground again, ready for input; false when that did
// not come within the time.
bool CloseMessageBox(HWND box, bool withEnterKey = false);

// How many times its time a wait is given before it counts as failed:
// NUV_TIME_SCALE where everything runs emulated, several times slower; 1 by
// default.
DWORD TimeScale();

// Polls until condition() holds or the time (times TimeScale()) runs out.
template <typename Condition> bool WaitUntil(Condition condition, DWORD milliseconds = 5000) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds * TimeScale()) return false;
        Sleep(5);
    }
    return true;
}
