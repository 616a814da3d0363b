// Counts the kernel handles, windows and GDI and USER objects a process
// holds, for tests that must prove none is left behind.
#pragma once

#include <windows.h>

#include <string>

#include "support/gui_object_counts.h"

// The number of handles the process with that id holds, read from the
// system's handle table; -1 when the table cannot be read.
long CountProcessHandles(DWORD processId);

inline long CountOwnHandles() { return CountProcessHandles(GetCurrentProcessId()); }

// The windows a process has, top-level and child: a box's too.
long CountProcessWindows(DWORD processId);

// The GDI and USER objects a running program makes and frees, counted by
// type by the counter DLL that this loads into it (gui_object_counter.c)
// from then on. GetGuiResources, which counts them on Windows, answers 0
// under Wine.
class GuiObjectCounter {
public:
    GuiObjectCounter(HANDLE process, DWORD processId, const std::string& counterLibrary);
    ~GuiObjectCounter();
    GuiObjectCounter(const GuiObjectCounter&) = delete;
    GuiObjectCounter& operator=(const GuiObjectCounter&) = delete;

    // Loaded, and standing in for some of the program's imports.
    bool ready() const { return counts_ && counts_->hooked > 0; }
    // Made and freed of each type since it was loaded.
    GuiObjectCounts counts() const { return *counts_; }

private:
    HANDLE mapping_ = nullptr;
    const GuiObjectCounts* counts_ = nullptr;
};
