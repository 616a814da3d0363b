// Waiting for a state, never for a fixed time.
#pragma once

#include <windows.h>

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
