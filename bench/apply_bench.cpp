// The cost of APPLY's two writes through WriteRegistryValue against the raw
// create, set and close sequence doing the same writes, in one run.
// Usage: apply_bench [ITERATIONS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "registry/registry_writer.h"

namespace {

constexpr char kBenchKey[] = "Software\\NUV Veldmark bench\\DWM";

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

void ThroughTheRoutine() {
    WriteRegistryValue("HKEY_CURRENT_USER", kBenchKey, "Composition", "1", "Dword");
    WriteRegistryValue("HKEY_CURRENT_USER", kBenchKey, "CompositionPolicy", "2", "Dword");
}

void RawWrite(const char* name, DWORD value) {
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, -1};
    char emptyClass[] = "";
    HKEY key;
    DWORD disposition;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kBenchKey, 0, emptyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        &security, &key, &disposition) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void RawSequence() {
    RawWrite("Composition", 1);
    RawWrite("CompositionPolicy", 2);
}

template <typename Body> double TimeBlock(Body body, int count) {
    const double start = Now();
    for (int i = 0; i < count; ++i) body();
    return Now() - start;
}

} // namespace

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int blocks = 10, perBlock = iterations / blocks;
    RawSequence(); // the key exists before either is timed
    ThroughTheRoutine();
    std::vector<double> routine, raw, ratios;
    for (int b = 0; b < blocks; ++b) { // interleaved blocks
        routine.push_back(TimeBlock(ThroughTheRoutine, perBlock));
        raw.push_back(TimeBlock(RawSequence, perBlock));
        ratios.push_back(routine.back() / raw.back());
    }
    std::sort(ratios.begin(), ratios.end());
    double routineTotal = 0, rawTotal = 0;
    for (int b = 0; b < blocks; ++b) routineTotal += routine[b], rawTotal += raw[b];
    const double ratio = ratios[ratios.size() / 2];
    std::printf("APPLY's two writes, %d times each, in %d interleaved blocks:\n", blocks * perBlock, blocks);
    std::printf("  WriteRegistryValue x2  %8.2f us per APPLY\n", routineTotal / (blocks * perBlock));
    std::printf("  raw sequence x2        %8.2f us per APPLY\n", rawTotal / (blocks * perBlock));
    std::printf("  median block ratio %.3f (target at most 1.10) %s\n", ratio,
                ratio <= 1.10 ? "met" : "NOT MET");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\NUV Veldmark bench");
    return 0;
}
