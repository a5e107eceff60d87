// Verification and design of the example columns through the same calls the command line makes.
#include <benchmark/benchmark.h>

#include <string>

#include "procedures/column_file.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"

namespace {

const char* const kExamples[] = {
    "retangular-esbelto-biaxial",
    "retangular-vazado-balanco",
    "circular-macico",
    "circular-vazado",
    "poligonal-L",
};

void RunExample(benchmark::State& state, bool design) {
    const std::string name = kExamples[state.range(0)];
    // Second argument: 1 with the refined S and area (as the programs run), 0 without.
    tarvelo::ProcedureOptions options;
    options.refine = state.range(1) != 0;
    state.SetLabel(name + (options.refine ? " refinado" : ""));
    tarvelo::ColumnData data;
    std::string error;
    if (!tarvelo::ReadColumnFile(std::string(TARVELO_EXAMPLES "/") + name + ".json", data, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    long trials = 0;
    for (auto _ : state) {
        tarvelo::RecordingHost host;
        auto result =
            design ? tarvelo::Design(data, host, options) : tarvelo::Verify(data, host, options);
        trials += result->trials;
        benchmark::DoNotOptimize(result->reachedStep);
    }
    state.counters["analyses"] =
        benchmark::Counter(static_cast<double>(trials), benchmark::Counter::kAvgIterations);
}

void BM_VerifyExample(benchmark::State& state) {
    RunExample(state, false);
}
void BM_DesignExample(benchmark::State& state) {
    RunExample(state, true);
}

BENCHMARK(BM_VerifyExample)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DesignExample)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace
