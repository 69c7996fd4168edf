#include "support/RecordingSleeper.h"

#include <algorithm>
#include <thread>

namespace korvane::test {

RecordingSleeper::RecordingSleeper(std::function<std::size_t()> counter)
    : state_(std::make_shared<State>()) {
    state_->counter = std::move(counter);
}

void RecordingSleeper::State::pause(std::chrono::milliseconds asked,
                                    std::chrono::milliseconds cap) {
    const std::size_t count = counter ? counter() : 0;
    {
        std::lock_guard lock(mutex);
        pauses.push_back({asked, count});
    }
    std::this_thread::sleep_for(std::min(asked, std::max(cap, std::chrono::milliseconds{1})));
}

void RecordingSleeper::attach(DeviceLink& link) const {
    link.setSleeper([state = state_, &link](std::chrono::milliseconds d) {
        state->pause(d, link.networkMode() != 0 ? kUdpCap : kPtyCap);
    });
}

DeviceLink::Sleeper RecordingSleeper::function(std::chrono::milliseconds cap) const {
    return [state = state_, cap](std::chrono::milliseconds d) { state->pause(d, cap); };
}

std::vector<RecordingSleeper::Pause> RecordingSleeper::pauses() const {
    std::lock_guard lock(state_->mutex);
    return state_->pauses;
}

std::vector<std::chrono::milliseconds> RecordingSleeper::asked() const {
    std::vector<std::chrono::milliseconds> out;
    for (const Pause& p : pauses()) {
        out.push_back(p.asked);
    }
    return out;
}

void RecordingSleeper::clear() {
    std::lock_guard lock(state_->mutex);
    state_->pauses.clear();
}

} // namespace korvane::test
