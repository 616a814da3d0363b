/* The stack-protection canary of the program and what ends it when the check
   fails. The compiler's own runtime seeds its canary through a cryptographic
   service provider, which loads three DLLs at every start, before any of
   the program's code could narrow where DLLs are looked for. This one is
   seeded as the platform's own compiler seeds its security cookie, from
   kernel32 alone. Not from advapi32's random generator (SystemFunction036):
   from Windows 7 on that is a forward to cryptbase.dll, which is no known
   DLL, so binding it would look for that DLL in the program's folder first.
   MinGW builds only: the Microsoft compiler brings its own security cookie. */
#include <windows.h>

#include <stdint.h>

#define STACK_BUFFER_OVERRUN 0xC0000409u

uintptr_t __stack_chk_guard;

/* A smashed stack, or a checked copy that would overrun its buffer: the
   process ends where it stands and runs nothing more of its own. */
__attribute__((noreturn)) void __stack_chk_fail(void) {
    TerminateProcess(GetCurrentProcess(), STACK_BUFFER_OVERRUN);
    for (;;) Sleep(INFINITE);
}

__attribute__((noreturn)) void __chk_fail(void) { __stack_chk_fail(); }

/* Runs before every other constructor, from the runtime's start-up code,
   which is not stack-protected itself. What it mixes differs from start to
   start: the time, the counters, the ids and, placed at random by the
   loader, the stack's address. A canary needs only to be unknown to data
   that overruns a buffer, and the program reads no data from outside. */
__attribute__((constructor(101), no_stack_protector)) static void SeedStackGuard(void) {
    FILETIME now;
    LARGE_INTEGER counter;
    GetSystemTimeAsFileTime(&now);
    QueryPerformanceCounter(&counter);
    uint64_t seed = ((uint64_t)now.dwHighDateTime << 32 | now.dwLowDateTime) ^ (uint64_t)counter.QuadPart ^
                    ((uint64_t)counter.QuadPart << 32) ^ ((uint64_t)GetCurrentProcessId() << 16) ^
                    ((uint64_t)GetCurrentThreadId() << 40) ^ GetTickCount() ^ (uintptr_t)&now;
    seed ^= seed >> 32; /* a 32-bit canary keeps some of every source */
    /* A zero byte first stops a runaway string copy from reading it out or
       writing it back. */
    __stack_chk_guard = (uintptr_t)seed & ~(uintptr_t)0xFF;
}
