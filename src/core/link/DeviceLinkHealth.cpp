// The link-health half of DeviceLink: its state, the counters behind it and the two exchanges
// the watcher runs (keep-alive and reconnect).
#include "core/link/DeviceLink.h"
#include "core/link/ReadInProgress.h"

#include <algorithm>

namespace korvane {

namespace {
using SteadyClock = std::chrono::steady_clock;
// Exchanges in a row without a valid answer before the link counts as lost: one lost
// datagram must not force a resynchronisation.
constexpr int kUnansweredToLose = 3;

bool isIdentity(std::span<const std::uint8_t> reply) {
    return reply.size() >= frame::kPayloadOffset + sizeof kIdentity &&
           std::equal(std::begin(kIdentity), std::end(kIdentity),
                      reply.begin() + frame::kPayloadOffset);
}
} // namespace

void DeviceLink::setHealthEnabled(bool on) {
    healthEnabled_.store(on);
}

LinkStatus DeviceLink::linkStatus() const {
    std::lock_guard lock(statusMutex_);
    return status_;
}

int DeviceLink::addLinkListener(LinkListener listener) {
    std::lock_guard lock(statusMutex_);
    const int id = nextListener_++;
    listeners_.emplace(id, std::move(listener));
    return id;
}

void DeviceLink::removeLinkListener(int id) {
    std::lock_guard calls(notifyMutex_);
    std::lock_guard lock(statusMutex_);
    listeners_.erase(id);
}

void DeviceLink::notify(const LinkStatus& status) {
    std::lock_guard calls(notifyMutex_);
    std::vector<LinkListener> listeners;
    {
        std::lock_guard lock(statusMutex_);
        for (const auto& [id, l] : listeners_) {
            listeners.push_back(l);
        }
    }
    for (const auto& l : listeners) {
        l(status);
    }
}

SteadyClock::time_point DeviceLink::lastAnswer() const {
    return SteadyClock::time_point(SteadyClock::duration(lastAnswerTicks_.load()));
}

DeviceLink::WatchTarget DeviceLink::watchTarget() const {
    std::lock_guard lock(statusMutex_);
    return {watchFd_, generation_, networkMode() != 0, status_.where};
}

std::string DeviceLink::whereText() {
    if (networkMode() != 0) {
        const NetworkSettings n = networkSettings();
        return n.ip + ":" + std::to_string(n.port);
    }
    return serialSettings().devicePath;
}

void DeviceLink::setLineChangeHook(std::function<void(std::uint64_t)> hook) {
    std::lock_guard lock(statusMutex_);
    lineChangeHook_ = std::move(hook);
}

void DeviceLink::lineChanging(const ByteTransport* t) {
    std::function<void(std::uint64_t)> hook;
    std::uint64_t generation = 0;
    {
        std::lock_guard lock(statusMutex_);
        if (t == nullptr || t->descriptor() < 0 || !lineChangeHook_) {
            return;
        }
        hook = lineChangeHook_;
        generation = generation_;
    }
    hook(generation);
}

void DeviceLink::newLine(int fd) {
    std::lock_guard lock(statusMutex_);
    watchFd_ = fd;
    ++generation_;
}

void DeviceLink::setStatus(LinkState state, LossReason reason, std::optional<int> error) {
    LinkStatus now;
    {
        std::lock_guard lock(statusMutex_);
        const int newError = reason != LossReason::OpenFailed ? 0 : error.value_or(status_.error);
        if (status_.state == state && status_.reason == reason && status_.error == newError &&
            status_.where == announcedWhere_) {
            return;
        }
        announcedWhere_ = status_.where;
        status_.error = newError;
        if (state == LinkState::Lost && !status_.lost()) {
            ++status_.losses;
            status_.refused = 0;
        }
        if (!(state == LinkState::Lost || state == LinkState::Reconnecting)) {
            status_.refused = 0;
        }
        status_.state = state;
        status_.reason = reason;
        now = status_;
    }
    notify(now);
}

void DeviceLink::opened(int result) {
    ByteTransport* t = activeTransport();
    healthTransport_ = t;
    {
        std::lock_guard lock(statusMutex_);
        status_.where = whereText();
        status_.network = networkMode() != 0;
    }
    newLine(result != 0 && t != nullptr ? t->descriptor() : -1);
    unanswered_ = 0;
    if (result != 0) {
        setStatus(LinkState::Connected, LossReason::None);
    } else {
        setStatus(healthEnabled() ? LinkState::Lost : LinkState::Closed,
                  healthEnabled() ? LossReason::OpenFailed : LossReason::None,
                  t != nullptr ? t->lastError() : 0);
    }
}

void DeviceLink::adoptActiveTransport() {
    std::lock_guard lock(exchange_);
    ByteTransport* t = activeTransport();
    if (t == healthTransport_) {
        return;
    }
    healthTransport_ = t;
    {
        std::lock_guard statusLock(statusMutex_);
        status_.where = whereText();
        status_.network = networkMode() != 0;
    }
    const bool open = t != nullptr && t->isOpen() != 0;
    newLine(open ? t->descriptor() : -1);
    unanswered_ = 0;
    setStatus(open ? LinkState::Connected : LinkState::Closed, LossReason::None);
}

void DeviceLink::retryNow() {
    std::lock_guard lock(statusMutex_);
    if (retryHook_) {
        retryHook_();
    }
}

void DeviceLink::setRetryHook(std::function<void()> hook) {
    std::lock_guard lock(statusMutex_);
    retryHook_ = std::move(hook);
}

void DeviceLink::closed() {
    newLine(-1);
    unanswered_ = 0;
    setStatus(LinkState::Closed, LossReason::None);
}

void DeviceLink::answered(bool valid, bool expectsAnswer) {
    if (!expectsAnswer) {
        return;
    }
    if (valid) {
        unanswered_ = 0;
        lastAnswerTicks_ = SteadyClock::now().time_since_epoch().count();
        return;
    }
    if (++unanswered_ >= kUnansweredToLose && healthEnabled() &&
        linkStatus().state == LinkState::Connected) {
        setStatus(LinkState::Lost, LossReason::NoAnswer);
    }
}

void DeviceLink::writeFailed() {
    if (healthEnabled() && linkStatus().state == LinkState::Connected) {
        setStatus(LinkState::Lost, LossReason::WriteFailed);
    }
}

bool DeviceLink::refuseWhileLost() {
    return !probing_ && countRefusalIfLost();
}

bool DeviceLink::countRefusalIfLost() {
    if (!healthEnabled()) {
        return false;
    }
    LinkStatus now;
    {
        std::lock_guard lock(statusMutex_);
        if (!status_.lost()) {
            return false;
        }
        now = status_;
        ++status_.refused;
        now.refused = status_.refused;
    }
    // Listeners hear of the first only: the operator is told once per loss.
    if (now.refused == 1) {
        notify(now);
    }
    return true;
}

bool DeviceLink::lineLost(LossReason why, std::uint64_t generation) {
    std::lock_guard lock(exchange_);
    {
        std::lock_guard statusLock(statusMutex_);
        if (generation != generation_ || status_.state != LinkState::Connected) {
            return false;
        }
    }
    // A dead serial descriptor is closed at once: it would report its hang-up again and again,
    // and the device can only be opened anew once it is gone.
    if (networkMode() == 0 && serial_ != nullptr) {
        lineChanging(serial_.get());
        serial_->close();
    }
    newLine(-1);
    setStatus(LinkState::Lost, why);
    return true;
}

bool DeviceLink::probeLocked(std::chrono::milliseconds deadline) {
    ByteTransport* t = activeTransport();
    if (t == nullptr || t->isOpen() == 0) {
        return false;
    }
    t->purgeInput();
    frame::CommandFrame probe = frame::resetFrame();
    probe[frame::kCodeOffset] = static_cast<std::uint8_t>(CommandCode::ReadBlock);
    probe[frame::kDataOffset] = readtype::kIdentity;
    probing_ = true;
    const bool sent = sendLocked(probe) == SendOutcome::Sent;
    probing_ = false;
    if (!sent) {
        return false; // failed, or dropped by the send switch: no answer can come
    }
    auto& buffer = replies_[readtype::kIdentity];
    std::fill(buffer.begin(), buffer.end(), 0);
    return receiveLocked(buffer, deadline) != 0 && isIdentity(buffer);
}

ProbeOutcome DeviceLink::keepAliveProbe(std::chrono::milliseconds deadline) {
    if (operationRunning() || sendSwitch() == 0) {
        return ProbeOutcome::NotRun;
    }
    std::unique_lock lock(exchange_, std::try_to_lock);
    if (!lock.owns_lock() || linkStatus().state != LinkState::Connected) {
        return ProbeOutcome::NotRun;
    }
    const ByteTransport* t = activeTransport();
    if (t == nullptr || t->isOpen() == 0) {
        return ProbeOutcome::NotRun;
    }
    ReadInProgress busy(readInProgress_);
    const bool valid = probeLocked(deadline);
    answered(valid, true);
    return valid ? ProbeOutcome::Answered : ProbeOutcome::NoAnswer;
}

bool DeviceLink::reconnectOnce(std::chrono::milliseconds deadline) {
    std::lock_guard lock(exchange_);
    const LinkState state = linkStatus().state;
    if (state == LinkState::Closed || state == LinkState::Connected) {
        return state == LinkState::Connected; // the operator got there first
    }
    setStatus(LinkState::Reconnecting, linkStatus().reason);
    ByteTransport* t = activeTransport();
    if (t == nullptr) {
        return false;
    }
    // A serial line is opened anew: the device behind the path may be another one now (an
    // adapter that came back under another number). A UDP socket stays as it is.
    if (networkMode() == 0 || t->isOpen() == 0) {
        lineChanging(t);
        t->close();
        const int result = t->open();
        newLine(result != 0 ? t->descriptor() : -1);
        if (result == 0) {
            // A device that could not be opened from the start tells why it still cannot
            // (absent at first, then present but held by another program, say).
            if (const LinkStatus now = linkStatus(); now.reason == LossReason::OpenFailed) {
                setStatus(now.state, now.reason, t->lastError());
            }
            return false;
        }
    }
    ReadInProgress busy(readInProgress_);
    if (!probeLocked(deadline)) {
        return false;
    }
    healthTransport_ = t;
    unanswered_ = 0;
    lastAnswerTicks_ = SteadyClock::now().time_since_epoch().count();
    setStatus(LinkState::Connected, LossReason::None);
    return true;
}

} // namespace korvane
