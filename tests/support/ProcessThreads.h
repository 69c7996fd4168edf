#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace korvane::test {

// One thread of a running process as the kernel accounts for it.
struct ProcessThread {
    pid_t tid = 0;
    std::string name;
    // The signals it blocks: bit N-1 for signal N.
    std::uint64_t blocked = 0;
};

// Every thread of `pid`, read from /proc; empty when the process is gone.
std::vector<ProcessThread> processThreads(pid_t pid);

// The mask bit of `signal`, as ProcessThread::blocked has it.
constexpr std::uint64_t signalBit(int signal) {
    return std::uint64_t{1} << (signal - 1);
}

} // namespace korvane::test
