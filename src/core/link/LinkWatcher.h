#pragma once

#include "core/link/DeviceLink.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

namespace korvane {

// Keeps a DeviceLink's state true and brings a lost link back, on a thread of its own:
// - a serial line that hangs up or whose device path goes away is marked lost at once
//   (the open descriptor and the path's folder are watched, nothing is polled on a timer);
// - an idle link is probed with the identity read every keep-alive interval, never closer than
//   that to the last valid answer and never while a device operation runs (over UDP this is
//   the only way a silent processor is noticed);
// - a lost link is tried again at once, then after 1, 2, 4, 5, 5, ... seconds, and at once when
//   the device path appears again; "Closed" (the operator's close) stops all of it.
// While it exists the link refuses commands while lost (DeviceLink::setHealthEnabled).
class LinkWatcher {
public:
    struct Timing {
        std::chrono::milliseconds keepAlive;     // 0 = no keep-alive probe
        std::chrono::milliseconds probeDeadline; // at most 300 ms, whatever the time-out setting
        std::chrono::milliseconds firstRetry;
        std::chrono::milliseconds longestRetry;
    };
    // The name of the watcher's thread (at most 15 characters).
    static constexpr const char* kThreadName = "link-watcher";
    static constexpr Timing kDefaultTiming{
        std::chrono::milliseconds{5000}, std::chrono::milliseconds{300},
        std::chrono::milliseconds{1000}, std::chrono::milliseconds{5000}};

    explicit LinkWatcher(DeviceLink& link) : LinkWatcher(link, kDefaultTiming) {}
    LinkWatcher(DeviceLink& link, Timing timing);
    ~LinkWatcher();
    LinkWatcher(const LinkWatcher&) = delete;
    LinkWatcher& operator=(const LinkWatcher&) = delete;

    void setKeepAlive(std::chrono::milliseconds interval);
    std::chrono::milliseconds keepAlive() const;
    // Tries to reconnect right now (the operator's "open" while lost).
    void retryNow();

private:
    using Clock = std::chrono::steady_clock;

    void run();
    void wake() const;
    void drainWake() const;
    // Keeps one inotify watch on the folder of the serial device path, or on the nearest
    // existing folder above it while that folder is missing; true when the watch moved.
    bool watchPathOf(const DeviceLink::WatchTarget& target);
    // Reads the watched folder's events; true when the entry on the way to the device path (the
    // device path itself, or a missing folder above it) was touched.
    bool pathTouched();
    // The next keep-alive probe or reconnect try; handles what is due now.
    Clock::time_point serviceDue(const LinkStatus& status, Clock::time_point now);
    void onDescriptorEvent(const DeviceLink::WatchTarget& target);
    void onPathEvent(const DeviceLink::WatchTarget& target);

    DeviceLink& link_;
    const Timing timing_;
    std::atomic<long long> keepAliveMs_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> retryNow_{false};
    int wakeFd_ = -1;
    int inotifyFd_ = -1;
    int watchId_ = -1;
    // The folder watched, and the name in it on the way to the device path.
    std::filesystem::path watchedAt_;
    std::string watchedName_;
    bool unwatchable_ = false;
    int listenerId_ = 0;

    // Used by the watcher thread only.
    std::uint64_t seenLosses_ = 0;
    std::uint64_t ignoredGeneration_ = 0;

    // The handshake that keeps the watcher off a descriptor that is about to be closed.
    std::mutex pollMutex_;
    std::condition_variable pollEnded_;
    bool pollingFd_ = false;
    std::uint64_t closingGeneration_ = 0;
    bool closing_ = false;
    LinkState lastState_ = LinkState::Closed;
    Clock::time_point connectedSince_{};
    Clock::time_point nextProbe_{};
    Clock::time_point nextRetry_{};
    std::chrono::milliseconds backoff_{0};
    std::thread thread_;
};

} // namespace korvane
