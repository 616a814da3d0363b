// The encoder's cost against the length of its text. The binary encoding is
// the only one whose work grows with the text, so it is measured at three
// sizes; the program ends by printing the spread of the cost per input byte,
// which stays near 1 when the cost grows linearly.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "registry/value_encoding.h"

namespace {

std::string HexText(std::size_t length) {
    static const char digits[] = "0123456789abcdefABCDEF";
    std::string text(length, '0');
    for (std::size_t i = 0; i < length; ++i) text[i] = digits[(i * 7 + i / 3) % 22];
    return text;
}

void BM_EncodeBinary(benchmark::State& state) {
    const std::string text = HexText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(EncodeRegistryValue(text, "binary"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_EncodeBinary)->Arg(1 << 10)->Arg(64 << 10)->Arg(1 << 20);

void BM_EncodeString(benchmark::State& state) {
    const std::string text = "  " + HexText(static_cast<std::size_t>(state.range(0))) + "  ";
    for (auto _ : state) benchmark::DoNotOptimize(EncodeRegistryValue(text, "string"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_EncodeString)->Arg(1 << 10)->Arg(64 << 10)->Arg(1 << 20);

// The values the program itself writes.
void BM_EncodeDword(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(EncodeRegistryValue("2", "Dword"));
}
BENCHMARK(BM_EncodeDword);

// Collects nanoseconds per input byte for each sized run as it is reported.
class PerByteReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            const std::size_t slash = name.find('/');
            if (slash == std::string::npos || run.iterations == 0) continue;
            // With repetitions, only the median speaks for a size.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            const double bytes = std::stod(name.substr(slash + 1));
            const double ns =
                run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            perByte_[name.substr(0, slash)][bytes] = ns / bytes;
        }
    }
    void PrintSpread() const {
        for (const auto& [family, costs] : perByte_) {
            double lo = 1e300, hi = 0;
            std::printf("%s, ns per byte:", family.c_str());
            for (const auto& [bytes, cost] : costs) {
                std::printf("  %.0f B: %.3f", bytes, cost);
                lo = std::min(lo, cost);
                hi = std::max(hi, cost);
            }
            std::printf("  -> spread %.2fx%s\n", hi / lo,
                        family == "BM_EncodeBinary" ? " (target: at most 1.50x)" : "");
        }
    }

private:
    std::map<std::string, std::map<double, double>> perByte_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    PerByteReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSpread();
    benchmark::Shutdown();
    return 0;
}
