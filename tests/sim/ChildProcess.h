#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace korvane::sim::test {

// Runs a program with its standard output and error piped back to the test.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    // The next line of standard output, or nothing when none comes within `timeoutMs`.
    std::optional<std::string> readLine(int timeoutMs);
    // Everything written to standard error (after the process has ended).
    std::string readError();
    void signal(int sig) const;
    // The exit code, or -1 when it did not exit normally within `timeoutMs` (it is killed).
    int wait(int timeoutMs);

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string outBuffer_;
};

} // namespace korvane::sim::test
