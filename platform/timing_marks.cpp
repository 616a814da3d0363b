#include "platform/timing_marks.h"

#if defined(NUV_TIMING_MARKS)
#include <windows.h>

#include <cstdio>

void TimingMark(const char* phase) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("NUV_TIMING_FILE", path, MAX_PATH)) return;
    if (FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%s %lld\n", phase, static_cast<long long>(now.QuadPart));
        std::fclose(file);
    }
}
#endif
