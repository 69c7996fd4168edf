#pragma once

#include "core/link/ByteTransport.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace korvane::test {

// A transport that records what is written and serves queued bytes to reads; a read asks for
// more than is queued gets -1, like a serial read that times out.
class MemoryTransport : public ByteTransport {
public:
    struct Shared {
        std::vector<std::vector<std::uint8_t>> written;
        std::deque<std::uint8_t> incoming;
        bool open = true;
        bool failWrites = false;
        // Writes fail once this many have been taken (a line that goes part-way through).
        std::size_t writesBeforeFailure = SIZE_MAX;
        // How often a reply was waited for.
        std::size_t readCalls = 0;
    };

    explicit MemoryTransport(Shared& s) : s_(s) {}
    int open() override {
        s_.open = true;
        return 1;
    }
    void close() override { s_.open = false; }
    int isOpen() const override { return s_.open ? 1 : 0; }
    int writeAll(const std::uint8_t* bytes, std::size_t length) override {
        if (!s_.open || s_.failWrites || s_.written.size() >= s_.writesBeforeFailure) {
            return -1;
        }
        s_.written.emplace_back(bytes, bytes + length);
        return static_cast<int>(length);
    }
    int readAll(std::uint8_t* buffer, std::size_t length) override {
        ++s_.readCalls;
        if (!s_.open || s_.incoming.size() < length) {
            s_.incoming.clear();
            return -1;
        }
        std::copy_n(s_.incoming.begin(), length, buffer);
        s_.incoming.erase(s_.incoming.begin(), s_.incoming.begin() + static_cast<long>(length));
        return static_cast<int>(length);
    }
    int purgeInput() override {
        s_.incoming.clear();
        return s_.open ? 1 : 0;
    }

private:
    Shared& s_;
};

} // namespace korvane::test
