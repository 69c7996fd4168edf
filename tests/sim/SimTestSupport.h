#pragma once

#include "core/link/CommandCodes.h"
#include "core/link/Frame.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ReadTypes.h"
#include "sim/SimModel.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <vector>

namespace korvane::sim::test {

using Bytes = std::vector<std::uint8_t>;

// A command frame as the program builds it: the given data bytes, pad after them.
inline frame::CommandFrame command(CommandCode code, std::initializer_list<std::uint8_t> data) {
    frame::DataBytes d = frame::padData();
    std::copy(data.begin(), data.end(), d.begin());
    return frame::buildCommand(static_cast<std::uint8_t>(code), d);
}

inline frame::CommandFrame readRequest(std::uint8_t type, std::uint8_t first = frame::kPad,
                                       std::uint8_t last = frame::kPad) {
    return command(CommandCode::ReadBlock, {type, first, last});
}

inline std::uint8_t hi(int v) {
    return static_cast<std::uint8_t>((v >> 8) & 0xFF);
}
inline std::uint8_t lo(int v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}

// A wall clock the test moves by hand.
struct ManualTime {
    std::chrono::sys_seconds now{std::chrono::sys_days{std::chrono::year{2020} / 6 / 15} +
                                 std::chrono::hours{12}};
};

inline SimModel modelAt(const std::shared_ptr<ManualTime>& time) {
    return SimModel([time] { return time->now; });
}

// Sends a write; writes must never be answered.
inline void write(SimModel& m, const frame::CommandFrame& f) {
    EXPECT_TRUE(m.feed(f).empty()) << "write command 0x" << std::hex << int{f[3]} << " answered";
}

// The payload of the one well-formed reply to a read of `type`, checked against the reply
// length the program expects for that type. Empty (with a failure) otherwise.
inline Bytes readPayloadOf(SimModel& m, std::uint8_t type) {
    const auto replies = m.feed(readRequest(type));
    if (replies.size() != 1) {
        ADD_FAILURE() << "type " << int{type} << ": " << replies.size() << " replies";
        return {};
    }
    const auto& r = replies.front();
    const auto info = readTypeInfo(type);
    EXPECT_TRUE(info && r.size() == info->replyLength) << "type " << int{type};
    EXPECT_TRUE(frame::acceptReply(r)) << "type " << int{type};
    const auto p = replyPayload(r);
    return Bytes(p.begin(), p.end());
}

} // namespace korvane::sim::test
