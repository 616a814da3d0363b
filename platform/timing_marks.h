// Marks of the start-up's phases, for the benchmarks. A build made with
// NUV_TIMING_MARKS appends each mark's name and the time it was reached
// (QueryPerformanceCounter) to the file that NUV_TIMING_FILE names; in any
// other build the marks are nothing at all.
#pragma once

#if defined(NUV_TIMING_MARKS)
void TimingMark(const char* phase);
#else
inline void TimingMark(const char*) {}
#endif
