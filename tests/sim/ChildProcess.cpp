#include "ChildProcess.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace korvane::sim::test {

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<char*> args;
    for (const auto& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    if (::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    out_ = out[0];
    err_ = err[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) {
        ::close(out_);
    }
    if (err_ >= 0) {
        ::close(err_);
    }
}

std::optional<std::string> ChildProcess::readLine(int timeoutMs) {
    for (;;) {
        if (const auto end = outBuffer_.find('\n'); end != std::string::npos) {
            std::string line = outBuffer_.substr(0, end);
            outBuffer_.erase(0, end + 1);
            return line;
        }
        pollfd p{out_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) {
            return std::nullopt;
        }
        char buffer[256];
        const ssize_t n = ::read(out_, buffer, sizeof buffer);
        if (n <= 0) {
            return std::nullopt;
        }
        outBuffer_.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string ChildProcess::readError() {
    std::string text;
    char buffer[256];
    ssize_t n = 0;
    while ((n = ::read(err_, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

void ChildProcess::signal(int sig) const {
    if (pid_ > 0) {
        ::kill(pid_, sig);
    }
}

int ChildProcess::wait(int timeoutMs) {
    if (pid_ <= 0) {
        return -1;
    }
    int status = 0;
    for (int waited = 0;; waited += 10) {
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            break;
        }
        if (done < 0 || waited >= timeoutMs) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
            return -1;
        }
        ::poll(nullptr, 0, 10);
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace korvane::sim::test
