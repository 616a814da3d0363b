// Counts the kernel handles a process holds, for tests that must prove no
// handle is left open.
#pragma once

#include <windows.h>

// The number of handles the process with that id holds, read from the
// system's handle table; -1 when the table cannot be read.
long CountProcessHandles(DWORD processId);

inline long CountOwnHandles() { return CountProcessHandles(GetCurrentProcessId()); }
