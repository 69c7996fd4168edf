#pragma once

#include "core/link/DeviceLink.h"
#include "core/link/ReadTypes.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace korvane::test {

// Stands in for the link's pacing pauses: notes every pause asked for and sleeps it cut to a
// cap. The cap keeps each pause a real one, so that other threads still get their turn, without
// the protocol's seconds; tests that assert the schedule read it from the record.
class RecordingSleeper {
public:
    // A read over a pseudo-terminal waits for its reply itself: a short pause is enough.
    static constexpr std::chrono::milliseconds kPtyCap{5};
    // A read over UDP takes only what arrived by the end of the common read wait, so that wait
    // stays whole and the simulator has the time to answer; longer pauses are cut to it.
    static constexpr std::chrono::milliseconds kUdpCap = kReadWait;

    struct Pause {
        std::chrono::milliseconds asked;
        // What the counter given at construction said when the pause began (0 without one).
        std::size_t count;
        bool operator==(const Pause&) const = default;
    };

    // `counter`, when given, is read at each pause (for example the frames sent so far).
    explicit RecordingSleeper(std::function<std::size_t()> counter = {});

    // Paces `link`: cut to kPtyCap on the serial line, to kUdpCap in network mode.
    void attach(DeviceLink& link) const;
    // A sleeper cut to `cap` whatever the line; it may outlive this object.
    DeviceLink::Sleeper function(std::chrono::milliseconds cap) const;

    std::vector<Pause> pauses() const;
    std::vector<std::chrono::milliseconds> asked() const;
    void clear();

private:
    struct State {
        std::function<std::size_t()> counter;
        mutable std::mutex mutex;
        std::vector<Pause> pauses;
        void pause(std::chrono::milliseconds asked, std::chrono::milliseconds cap);
    };
    std::shared_ptr<State> state_;
};

} // namespace korvane::test
