// The real program, started from another process: from a folder of its own,
// its main window found and shown, its process ended at the end.
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
    // Starts the program and waits until its main window is shown, idle and
    // painted on the screen.
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

// A visible top-level window of the process, of the class and, unless null,
// with the title; null when there is none.
HWND FindProcessWindow(DWORD processId, const char* className, const char* title);

// The program file under test: the build's (in the test's working folder), or
// the one the NUV_PROGRAM variable names, such as a released program. And a
// file built beside the test program itself.
std::string ProgramUnderTest();
std::string BesideTheTest(const std::string& name);

// A file read whole; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
