// Start-up time, memory and idle CPU of the program against two baselines
// measured in the same run: a bare Win32 window of the same size, and the
// same window dressed as the program must dress its own at start.
// Usage: program_bench PROGRAM BARE DRESSED [ROUNDS]
//        program_bench --phases TIMED_PROGRAM TIMED_DRESSED [ROUNDS]
// The second form times the phases of start-up in builds with timing marks.
#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

struct Target {
    const char* name;
    const char* path;
    const char* windowClass;
};

struct Figures {
    double startupMs = 0;
    SIZE_T privateBytes = 0;
    SIZE_T peakWorkingSet = 0;
    double idleCpuMs = -1;
    std::map<std::string, double> phaseMs; // first time each mark was reached
    int paints = 0;
};

// Which counter the private bytes came from: PrivateUsage where the system
// keeps it, PagefileUsage (the same memory, as Wine keeps it) where not.
const char* g_privateCounter = "PrivateUsage";

double Frequency() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return frequency;
}

long long Counter() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double MsSince(long long start, long long now) {
    return static_cast<double>(now - start) * 1000.0 / Frequency();
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

// The marks a timed build wrote, as milliseconds from the process's start.
void ReadMarks(const std::string& file, long long start, Figures& figures) {
    std::ifstream marks(file);
    std::string phase;
    long long at = 0;
    while (marks >> phase >> at) {
        if (phase == "painted") ++figures.paints;
        figures.phaseMs.emplace(phase, MsSince(start, at));
    }
}

Figures Measure(const Target& target, bool idle, const std::string& timingFile = {}) {
    Figures figures;
    if (!timingFile.empty()) DeleteFileA(timingFile.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = std::string("\"") + target.path + "\"";
    const long long start = Counter();
    if (!CreateProcessA(target.path, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "cannot start %s\n", target.path);
        std::exit(1);
    }
    Search search{process.dwProcessId, target.windowClass, nullptr};
    while (!search.found && MsSince(start, Counter()) < 20000) {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(1);
    }
    WaitForInputIdle(process.hProcess, 10000);
    figures.startupMs = MsSince(start, Counter());

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
    if (!timingFile.empty()) {
        ReadMarks(timingFile, start, figures);
        figures.phaseMs["idle"] = figures.startupMs;
    }
    return figures;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Field> double Median(const std::vector<Figures>& runs, Field field) {
    std::vector<double> values;
    for (const Figures& run : runs) values.push_back(static_cast<double>(field(run)));
    return Median(values);
}

// Each target once per round, the order turned by one each round, so that
// drift and the first-of-a-round effect hit all alike.
std::vector<std::vector<Figures>> MeasureRounds(const std::vector<Target>& targets, int rounds,
                                                const std::string& timingFile = {}) {
    for (const Target& target : targets) Measure(target, false, timingFile); // warm the file cache
    std::vector<std::vector<Figures>> runs(targets.size());
    for (int round = 0; round < rounds; ++round)
        for (std::size_t k = 0; k < targets.size(); ++k) {
            const std::size_t t = (round + k) % targets.size();
            runs[t].push_back(Measure(targets[t], false, timingFile));
        }
    return runs;
}

// The median of the round-by-round ratios of the program to a baseline.
template <typename Field>
double MedianRatio(const std::vector<Figures>& program, const std::vector<Figures>& baseline, Field field) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < program.size() && i < baseline.size(); ++i)
        ratios.push_back(static_cast<double>(field(program[i])) / static_cast<double>(field(baseline[i])));
    return Median(ratios);
}

template <typename Field>
void Row(const char* what, const char* unit, double scale, double target,
         const std::vector<std::vector<Figures>>& runs, Field field) {
    const auto median = [&](int t) { return Median(runs[t], field) / scale; };
    const double againstBare = MedianRatio(runs[0], runs[1], field);
    const double againstDressed = MedianRatio(runs[0], runs[2], field);
    std::printf("%-28s program %9.1f %-3s bare %9.1f %-3s dressed %9.1f %-3s\n", what, median(0), unit,
                median(1), unit, median(2), unit);
    std::printf("%-28s ratio to bare %5.3f, to dressed %5.3f (target at most %.2f) %s\n", "", againstBare,
                againstDressed, target, againstDressed <= target ? "met" : "NOT MET");
}

int MeasureFigures(const std::vector<Target>& targets, int rounds) {
    const auto runs = MeasureRounds(targets, rounds);
    std::printf("Medians of %d rounds; ratios are medians of the rounds' own ratios.\n", rounds);
    Row("start-up to shown and idle", "ms", 1, 1.10, runs, [](const Figures& f) { return f.startupMs; });
    Row("private bytes when idle", "KiB", 1024, 1.10, runs, [](const Figures& f) { return f.privateBytes; });
    Row("peak working set", "KiB", 1024, 1.10, runs, [](const Figures& f) { return f.peakWorkingSet; });
    std::printf("  private bytes counter: %s; peak working set counter: PeakWorkingSetSize\n",
                g_privateCounter);
    std::printf("%-28s", "CPU time idle over 5 s");
    for (const Target& target : targets)
        std::printf(" %s %.2f ms ", target.name, Measure(target, true).idleCpuMs);
    std::printf("(target: zero within the clock's resolution)\n");
    std::printf("  CPU counter: GetThreadTimes summed over the process's threads\n");
    return 0;
}

int MeasurePhases(const std::vector<Target>& targets, int rounds) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string timingFile = std::string(temp) + "nuv-timing-marks.txt";
    SetEnvironmentVariableA("NUV_TIMING_FILE", timingFile.c_str());
    const auto runs = MeasureRounds(targets, rounds, timingFile);
    DeleteFileA(timingFile.c_str());

    std::printf("Milliseconds from CreateProcess to each mark, medians of %d rounds.\n", rounds);
    std::printf("%-13s %9s %9s\n", "phase", targets[0].name, targets[1].name);
    for (const char* phase : {"entry", "classes", "fonts", "children", "created", "translucent", "shown",
                              "region", "painted", "idle"}) {
        std::printf("%-13s", phase);
        for (const auto& target : runs) {
            std::vector<double> times;
            for (const Figures& run : target)
                if (run.phaseMs.count(phase)) times.push_back(run.phaseMs.at(phase));
            if (times.empty())
                std::printf(" %9s", "-");
            else
                std::printf(" %9.1f", Median(times));
        }
        std::printf("\n");
    }
    std::printf("%-13s", "paints");
    for (const auto& target : runs)
        std::printf(" %9.0f", Median(target, [](const Figures& f) { return f.paints; }));
    std::printf("  (main window, until idle and half a second after)\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 3 && std::string(argv[1]) == "--phases")
        return MeasurePhases({{"program", argv[2], "NUV2"}, {"dressed", argv[3], "DressedWindow"}},
                             argc > 4 ? std::atoi(argv[4]) : 11);
    if (argc < 4) {
        std::fprintf(stderr, "usage: program_bench PROGRAM BARE DRESSED [ROUNDS]\n"
                             "       program_bench --phases TIMED_PROGRAM TIMED_DRESSED [ROUNDS]\n");
        return 2;
    }
    return MeasureFigures({{"program", argv[1], "NUV2"},
                           {"bare", argv[2], "BareWindow"},
                           {"dressed", argv[3], "DressedWindow"}},
                          argc > 4 ? std::atoi(argv[4]) : 15);
}
