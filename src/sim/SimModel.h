#pragma once

#include "SimClock.h"
#include "SimFaults.h"
#include "SimState.h"
#include "core/link/Frame.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace korvane::sim {

// The simulated processor: takes the bytes the program sends, keeps the settings the write
// commands set and answers read requests the way the processor does. No I/O and no threads;
// the caller moves the bytes.
class SimModel {
public:
    using Reply = std::vector<std::uint8_t>;
    // Where the silence fault takes its time from (tests step it by hand).
    using SteadyNow = std::function<std::chrono::steady_clock::time_point()>;
    // Reply kind byte of every reply (an ordinary, logged reply).
    static constexpr std::uint8_t kReplyKind = 0x00;
    // Template slots the processor offers (numbered 1..10 in the command).
    static constexpr std::size_t kTemplateSlots = 10;

    explicit SimModel(SimClock::TimeSource now = SimClock::localWallTime);

    // Consumes any bytes (frames may arrive split, joined or among garbage) and gives the
    // replies to send, in order. Only well-formed command frames are acted on.
    std::vector<Reply> feed(std::span<const std::uint8_t> bytes);

    const SimState& state() const { return state_; }
    const ParameterMirror& mirror() const { return state_.mirror; }
    // Every accepted command frame, oldest first.
    const std::vector<frame::CommandFrame>& receivedFrames() const { return received_; }
    // The clock as a clock read would report it now.
    SimClock::Bytes clockBytes() const { return clock_.bytes(); }

    const SimFaults& faults() const { return faults_; }
    void setFaults(const SimFaults& faults) { faults_ = faults; }
    // True once the hang-up fault has struck; from then on nothing is accepted.
    bool hungUp() const;
    // True while the silence fault holds: bytes that arrive are dropped unheard.
    bool silent() const;
    void setSteadyClock(SteadyNow now) { steadyNow_ = std::move(now); }

private:
    void handle(const frame::CommandFrame& f, std::vector<Reply>& out);
    void startSilenceWhenDue();
    void answerRead(const frame::DataBytes& d, std::vector<Reply>& out) const;
    void templateSlot(const frame::DataBytes& d);
    void factoryReset();
    Reply makeReply(std::uint8_t type, std::span<const std::uint8_t> payload) const;

    SimClock clock_;
    SimState state_;
    std::array<std::optional<SimState>, kTemplateSlots> slots_{};
    SimFaults faults_{};
    std::vector<std::uint8_t> pending_;
    std::vector<frame::CommandFrame> received_;
    SteadyNow steadyNow_ = [] { return std::chrono::steady_clock::now(); };
    std::optional<std::chrono::steady_clock::time_point> silenceBegan_;
};

} // namespace korvane::sim
