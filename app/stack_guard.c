/* The stack-protection canary of the program and what ends it when the check
   fails. The compiler's own runtime seeds its canary through a cryptographic
   service provider, which loads three DLLs at every start, before any of
   the program's code could narrow where DLLs are looked for. This one takes
   its bytes from the system's random generator in advapi32, which the
   program imports anyway, and loads nothing. MinGW builds only: the
   Microsoft compiler brings its own security cookie. */
#include <windows.h>

#include <stdint.h>

BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG length); /* RtlGenRandom */

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
   which is not stack-protected itself. */
__attribute__((constructor(101), no_stack_protector)) static void SeedStackGuard(void) {
    uintptr_t seed = 0;
    if (!SystemFunction036(&seed, sizeof seed)) {
        /* Not expected; then as the platform's own cookie is made. */
        LARGE_INTEGER counter;
        FILETIME now;
        QueryPerformanceCounter(&counter);
        GetSystemTimeAsFileTime(&now);
        seed = (uintptr_t)counter.QuadPart ^ now.dwLowDateTime ^ ((uintptr_t)now.dwHighDateTime << 7) ^
               GetCurrentProcessId() ^ ((uintptr_t)GetCurrentThreadId() << 11) ^ GetTickCount() ^
               (uintptr_t)&seed;
    }
    /* A zero byte first stops a runaway string copy from reading it out or
       writing it back. */
    __stack_chk_guard = seed & ~(uintptr_t)0xFF;
}
