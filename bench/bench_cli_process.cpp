// A whole `tarvelo-cli verify` as the user runs it: process start, loading of the shared
// libraries, reading the file, the analysis and the output. Each iteration is one process; the
// median of the repetitions is the figure (a shared machine has slow outliers). The counter
// childCpuMs is the processor time of one process (user + system), which a busy machine does
// not inflate as much as the wall-clock time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <string>

extern char** environ;

namespace {

void BM_CliVerifyProcess(benchmark::State& state) {
    const std::string program = TARVELO_CLI_PATH;
    const std::string file = TARVELO_EXAMPLES "/retangular-esbelto-biaxial.json";
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("verify"),
                    const_cast<char*>(file.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto childCpu = [] {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-3;
    };
    const double cpuBefore = childCpu();
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("tarvelo-cli could not be started");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("tarvelo-cli verify failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    state.counters["childCpuMs"] =
        benchmark::Counter(childCpu() - cpuBefore, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_CliVerifyProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true);

}  // namespace
