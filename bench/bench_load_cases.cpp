// Twenty load cases of the slender rectangle verified in one run, on one thread and on two.
#include <benchmark/benchmark.h>

#include <string>

#include <sys/resource.h>

#include "procedures/column_file.h"
#include "procedures/load_cases.h"

namespace {

// The example's loads scaled by 0.80, 0.81, …, 0.99 and named "1" … "20".
tarvelo::ColumnData TwentyCases() {
    tarvelo::ColumnData data;
    std::string error;
    tarvelo::ReadColumnFile(TARVELO_EXAMPLES "/retangular-esbelto-biaxial.json", data, error);
    const tarvelo::LoadCase base = tarvelo::Cases(data).front();
    std::vector<tarvelo::LoadCase> cases;
    for (int k = 0; k < 20; ++k) {
        tarvelo::LoadCase c = base;
        const double f = 0.80 + 0.01 * k;
        c.name = std::to_string(k + 1);
        c.Fd = std::to_string(1150 * f);
        c.Mxd_t = c.Mxd_b = std::to_string(2300 * f);
        c.Myd_t = std::to_string(1600 * f);
        cases.push_back(c);
    }
    tarvelo::SetCases(data, cases);
    return data;
}

void BM_VerifyTwentyCases(benchmark::State& state) {
    const tarvelo::ColumnData data = TwentyCases();
    tarvelo::CaseRunOptions options;
    options.threads = static_cast<int>(state.range(0));
    // The processor time of every thread of the process: the work, whatever the machine's load.
    auto processCpu = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
               1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    };
    const double cpuBefore = processCpu();
    for (auto _ : state) {
        tarvelo::RecordingHost host;
        const tarvelo::CasesRun run =
            tarvelo::RunCases(tarvelo::RunKind::Verify, data, host, options);
        benchmark::DoNotOptimize(run.governing);
    }
    state.counters["processCpuMs"] =
        benchmark::Counter(1e3 * (processCpu() - cpuBefore), benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_VerifyTwentyCases)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
