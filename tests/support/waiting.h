// Waiting for a state, never for a fixed time.
#pragma once

#include <windows.h>

// How many times its time a wait is given before it counts as failed:
// NUV_TIME_SCALE where the programs run emulated (scripts/x86-exec sets it
// for the 32-bit programs under qemu-i386), several times slower; 1 by
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
