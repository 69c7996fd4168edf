#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>

namespace korvane::sim {

// Misbehaviour the simulated processor can be told to show, so that the program's error paths
// can be driven on purpose. Read types name the type of the request being answered.
struct SimFaults {
    // Requests of these types go unanswered.
    std::set<std::uint8_t> noReply;
    // Replies to these types (or to every type) carry a wrong checksum.
    std::set<std::uint8_t> badChecksum;
    bool badChecksumAll = false;
    // Replies to these types lose their last byte.
    std::set<std::uint8_t> shortReply;
    // Replies to these types keep their full length but name a payload one byte shorter in their
    // length byte, with a checksum over that shorter payload.
    std::set<std::uint8_t> shortLengthByte;
    // Every reply is held back this long before it is written (the server waits, not the model).
    std::chrono::milliseconds lateReply{0};
    // After this many accepted frames the processor stops listening and the line goes dead.
    std::optional<std::size_t> hangUpAfter;
    // After this many accepted frames the processor hears and answers nothing for `silentFor`,
    // then carries on as before (a power cycle, a pulled network cable). Once only.
    std::optional<std::size_t> silentAfter;
    std::chrono::milliseconds silentFor{0};
};

} // namespace korvane::sim
