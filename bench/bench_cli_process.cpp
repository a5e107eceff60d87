// A whole `tarvelo-cli verify` as the user runs it: process start, loading of the shared
// libraries, reading the file, the analysis and the output. Each iteration is one process; the
// median of the repetitions is the figure (a shared machine has slow outliers).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
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
}

BENCHMARK(BM_CliVerifyProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true);

}  // namespace
