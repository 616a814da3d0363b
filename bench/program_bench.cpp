// Start-up time, memory and idle CPU of the program against a bare Win32
// program that shows one window of the same size, measured in the same run.
// Usage: program_bench PROGRAM BARE_PROGRAM [RUNS]
#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Target {
    const char* path;
    const char* windowClass;
};

struct Figures {
    double startupMs = 0;
    SIZE_T privateBytes = 0;
    SIZE_T peakWorkingSet = 0;
    double idleCpuMs = -1;
};

// Which counter the private bytes came from: PrivateUsage where the system
// keeps it, PagefileUsage (the same memory, as Wine keeps it) where not.
const char* g_privateCounter = "PrivateUsage";

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Search {
    DWORD processId;
    const char* windowClass;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64];
    GetClassNameA(window, name, sizeof name);
    if (owner == search->processId && IsWindowVisible(window) && std::string(name) == search->windowClass) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Kernel and user time of all the process's threads, in milliseconds. The
// process's own times are not used: Wine returns the caller's for another
// process.
double ThreadCpuMs(DWORD processId) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    ULONGLONG total = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        const HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        if (!thread) continue;
        FILETIME created, exited, kernel, user;
        if (GetThreadTimes(thread, &created, &exited, &kernel, &user))
            total += (ULARGE_INTEGER{{kernel.dwLowDateTime, kernel.dwHighDateTime}}).QuadPart +
                     (ULARGE_INTEGER{{user.dwLowDateTime, user.dwHighDateTime}}).QuadPart;
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return static_cast<double>(total) / 10000.0;
}

Figures Measure(const Target& target, bool idle) {
    Figures figures;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = std::string("\"") + target.path + "\"";
    const double start = Now();
    if (!CreateProcessA(target.path, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "cannot start %s\n", target.path);
        std::exit(1);
    }
    Search search{process.dwProcessId, target.windowClass, nullptr};
    while (!search.found && Now() - start < 20000) {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(1);
    }
    WaitForInputIdle(process.hProcess, 10000);
    figures.startupMs = Now() - start;

    Sleep(500);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    figures.privateBytes = memory.PrivateUsage;
    if (figures.privateBytes == 0) {
        figures.privateBytes = memory.PagefileUsage;
        g_privateCounter = "PagefileUsage (PrivateUsage reads 0 here)";
    }
    figures.peakWorkingSet = memory.PeakWorkingSetSize;

    if (idle) {
        const double before = ThreadCpuMs(process.dwProcessId);
        Sleep(5000);
        figures.idleCpuMs = ThreadCpuMs(process.dwProcessId) - before;
    }

    PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return figures;
}

template <typename Field> double Median(std::vector<Figures> runs, Field field) {
    std::vector<double> values;
    for (const Figures& run : runs) values.push_back(static_cast<double>(field(run)));
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Row(const char* what, double program, double bare, const char* unit, double target) {
    std::printf("%-34s program %10.2f %-3s  bare %10.2f %-3s  ratio %5.2f  (target at most %.2f) %s\n", what,
                program, unit, bare, unit, program / bare, target,
                program / bare <= target ? "met" : "NOT MET");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: program_bench PROGRAM BARE_PROGRAM [RUNS]\n");
        return 2;
    }
    const Target program{argv[1], "NUV2"};
    const Target bare{argv[2], "BareWindow"};
    const int runs = argc > 3 ? std::atoi(argv[3]) : 9;

    Measure(program, false); // warm the file cache for both
    Measure(bare, false);
    std::vector<Figures> programRuns, bareRuns;
    for (int i = 0; i < runs; ++i) { // interleaved, so drift hits both alike
        programRuns.push_back(Measure(program, false));
        bareRuns.push_back(Measure(bare, false));
    }
    const Figures programIdle = Measure(program, true);
    const Figures bareIdle = Measure(bare, true);

    std::printf("Medians of %d runs each, interleaved.\n", runs);
    Row("start-up to shown and idle", Median(programRuns, [](const Figures& f) { return f.startupMs; }),
        Median(bareRuns, [](const Figures& f) { return f.startupMs; }), "ms", 1.10);
    Row("private bytes when idle",
        Median(programRuns, [](const Figures& f) { return f.privateBytes; }) / 1024,
        Median(bareRuns, [](const Figures& f) { return f.privateBytes; }) / 1024, "KiB", 1.25);
    Row("peak working set", Median(programRuns, [](const Figures& f) { return f.peakWorkingSet; }) / 1024,
        Median(bareRuns, [](const Figures& f) { return f.peakWorkingSet; }) / 1024, "KiB", 1.25);
    std::printf("  private bytes counter: %s; peak working set counter: PeakWorkingSetSize\n",
                g_privateCounter);
    std::printf("%-34s program %10.2f ms   bare %10.2f ms   (target: zero within the clock's resolution)\n",
                "CPU time idle over 5 s", programIdle.idleCpuMs, bareIdle.idleCpuMs);
    std::printf("  CPU counter: GetThreadTimes summed over the process's threads\n");
    return 0;
}
