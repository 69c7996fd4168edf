#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvane::sim::test {

// The simplest possible serial client: a raw terminal opened the way a serial library would.
class PtyClient {
public:
    explicit PtyClient(const std::string& path);
    ~PtyClient();
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    bool send(std::span<const std::uint8_t> bytes);
    // Collects up to `count` bytes; gives up when nothing arrives for `quietMs`.
    std::vector<std::uint8_t> receive(std::size_t count, int quietMs = 5000);

private:
    int fd_ = -1;
};

// Sends an identity read and takes its reply; true when it is the genuine one.
bool identityAnswered(PtyClient& c);

} // namespace korvane::sim::test
