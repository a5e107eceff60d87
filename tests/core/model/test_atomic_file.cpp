// The one writer of every file: a failed write keeps the previous file and names it.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "core/core_test_support.h"
#include "model/atomic_file.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;

using testing::ReadAll;

TEST(AtomicFile, FailedWritesKeepThePreviousFile) {
    const fs::path dir = fs::temp_directory_path() / ("tarvelo-atomic-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "r.txt").string();
    const std::string before(1000, 'a');
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, before, error)) << error;
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);

    // A child whose file-size limit stops the write of a longer file half-way.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string e;
        const bool written = WriteFileAtomically(path, std::string(100000, 'b'), e);
        _exit(!written && e.find(path) != std::string::npos &&
                      e.find("anterior não foi alterado") != std::string::npos
                  ? 0
                  : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the write should fail with a message naming the file";

    // A folder that does not exist: nothing is created, the message names the file.
    const std::string lost = (dir / "missing" / "r.txt").string();
    EXPECT_FALSE(WriteFileAtomically(lost, "x", error));
    EXPECT_NE(error.find(lost), std::string::npos);

    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << "no temporary file is left behind";
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tarvelo
