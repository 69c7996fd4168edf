#pragma once

#include "core/link/ByteTransport.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <vector>

namespace korvane::test {

// What crossed an in-memory line: every byte written, and the bytes the far end will answer.
struct Wire {
    std::vector<std::uint8_t> written;
    std::deque<std::uint8_t> replies;
    int opens = 0;
    bool failWrites = false;

    void queueReply(std::span<const std::uint8_t> bytes) {
        replies.insert(replies.end(), bytes.begin(), bytes.end());
    }
};

// A transport that records writes and answers reads from the wire's queue; a read the queue
// cannot fill fails, as a serial read that times out.
class WireTransport : public ByteTransport {
public:
    explicit WireTransport(std::shared_ptr<Wire> wire) : wire_(std::move(wire)) {}

    int open() override {
        ++wire_->opens;
        open_ = true;
        return 1;
    }
    void close() override { open_ = false; }
    int isOpen() const override { return open_ ? 1 : 0; }
    int writeAll(const std::uint8_t* bytes, std::size_t length) override {
        if (!open_ || wire_->failWrites) {
            return -1;
        }
        wire_->written.insert(wire_->written.end(), bytes, bytes + length);
        return static_cast<int>(length);
    }
    int readAll(std::uint8_t* buffer, std::size_t length) override {
        if (!open_ || wire_->replies.size() < length) {
            return -1;
        }
        std::copy_n(wire_->replies.begin(), length, buffer);
        wire_->replies.erase(wire_->replies.begin(),
                             wire_->replies.begin() + static_cast<std::ptrdiff_t>(length));
        return static_cast<int>(length);
    }
    int purgeInput() override { return open_ ? 1 : 0; }

private:
    std::shared_ptr<Wire> wire_;
    bool open_ = false;
};

} // namespace korvane::test
