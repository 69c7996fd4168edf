// The built program as a service runs it: `schedule run` with the real clock and tick, stopped
// by a signal.
#include "CtlPtyFixture.h"
#include "core/base/Messages.h"

#include <csignal>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

extern char** environ;

using namespace korvane;
using namespace korvane::test;

namespace {

// The first line the child writes within `wait`; empty when none came.
std::string firstLine(int fd, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::string text;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            return {};
        }
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            return {};
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text.substr(0, text.find('\n'));
}

struct ProcessRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The whole text of `fd` up to its end.
std::string drain(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

// The built korvanectl run to its end with `words` (after --device), in the test's program
// folder. Its output is small, so reading the pipes one after the other cannot block it.
ProcessRun runBinary(const CtlPty& f, const std::vector<std::string>& words) {
    int out[2];
    int err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    for (const int fd : {out[0], out[1], err[0], err[1]}) {
        posix_spawn_file_actions_addclose(&actions, fd);
    }
    std::vector<std::string> args = {KORVANECTL_PATH, "--device", f.server.devicePath()};
    args.insert(args.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned =
        ::posix_spawn(&pid, KORVANECTL_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    ProcessRun r;
    if (spawned == 0) {
        r.out = drain(out[0]);
        r.err = drain(err[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ::close(out[0]);
    ::close(err[0]);
    return r;
}

} // namespace

// A log that cannot be written (its file a link to a device that is always full): every
// exchange keeps its real result, the frames arrive, and each run says so once on stderr.
TEST_F(CtlPty, AnUnwritableLogIsToldOnceAndDecidesNothing) {
    std::filesystem::create_symlink("/dev/full", home / "korvaneapp.log");
    const std::string told = "korvanectl: " + std::string(messageText(MessageId::LogWriteFailed)) +
                             ": " + std::generic_category().message(ENOSPC) + "\n";
    const auto file = home / "kept.kvt";
    std::size_t from = framesSoFar();
    ProcessRun r = runBinary(*this, {"sync", "--save", file.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, told);
    EXPECT_EQ(codesSince(from), kSyncReads);
    EXPECT_EQ(std::filesystem::file_size(file), 1030u);

    from = framesSoFar();
    r = runBinary(*this, {"send", "SetAudio", "1", "33"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, told);
    waitForFrames(from + 1);
    EXPECT_EQ(server.state().mirror.volume, 33);

    from = framesSoFar();
    r = runBinary(*this, {"load", file.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, told);
    const auto codes = codesSince(from);
    ASSERT_GT(codes.size(), 2 * kSyncReads.size());
    EXPECT_EQ(std::vector<int>(codes.begin(), codes.begin() + 10), kSyncReads);
    EXPECT_EQ(std::vector<int>(codes.end() - 10, codes.end()), kSyncReads);
    EXPECT_NE(server.state().mirror.volume, 33) << "the file's volume went out";
}

TEST_F(CtlPty, ScheduleRunProcessStopsCleanlyOnSigint) {
    // A daily task at midnight is the latest of the day at any time, so the first tick runs it.
    const auto tasks = home / "always.kss";
    std::ofstream(tasks) << "0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,8,\n";
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    std::vector<std::string> args = {KORVANECTL_PATH, "--device", server.devicePath(),
                                     "schedule",      "run",      tasks.string()};
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const std::size_t start = framesSoFar();
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, KORVANECTL_PATH, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);

    const std::string line = firstLine(out[0], std::chrono::seconds{20});
    ::kill(pid, line.empty() ? SIGKILL : SIGINT);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(out[0]);
    ASSERT_FALSE(line.empty()) << "no task was run";
    EXPECT_NE(line.find("\t0\t每天\t天\t00:00:00\t通道切换\tVGA"), std::string::npos) << line;
    ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal instead of stopping";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // The switch may still be on its way to the simulator.
    waitForFrames(start + kSyncReads.size() + 1);
    EXPECT_EQ(codesSince(start), joined({kSyncReads, {0x11}}));
    EXPECT_EQ(server.state().mirror.pq[pq::kPicture1Source], 8);
}
