#include "core/link/LinkWatcher.h"

#include "core/base/StopSignalSet.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace korvane {

namespace {
constexpr std::uint32_t kPathEvents =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
// Far enough to mean "nothing due".
constexpr auto kNever = std::chrono::hours{24};

// The path itself, a link included even when what it names is gone for the moment: a stable
// name (/dev/serial/by-id) is removed with its device, a hung-up line leaves it in place.
bool pathPresent(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}
} // namespace

LinkWatcher::LinkWatcher(DeviceLink& link, Timing timing)
    : link_(link), timing_(timing), keepAliveMs_(timing.keepAlive.count()) {
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    inotifyFd_ = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    link_.setHealthEnabled(true);
    listenerId_ = link_.addLinkListener([this](const LinkStatus&) { wake(); });
    link_.setLineChangeHook([this](std::uint64_t generation) {
        std::unique_lock lock(pollMutex_);
        closing_ = true;
        closingGeneration_ = generation;
        if (pollingFd_) {
            wake();
            pollEnded_.wait(lock, [this] { return !pollingFd_; });
        }
    });
    link_.setRetryHook([this] { retryNow(); });
    // The thread is born with the stop signals blocked, so the process's own handler (on the
    // thread that waits for them) always gets them, never this thread in the middle of a poll.
    sigset_t stops;
    sigset_t previous;
    sigemptyset(&stops);
    for (const int signal : kStopSignals) {
        sigaddset(&stops, signal);
    }
    ::pthread_sigmask(SIG_BLOCK, &stops, &previous);
    thread_ = std::thread(&LinkWatcher::run, this);
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

LinkWatcher::~LinkWatcher() {
    link_.setRetryHook({});
    link_.setLineChangeHook({});
    link_.removeLinkListener(listenerId_);
    stop_ = true;
    wake();
    thread_.join();
    link_.setHealthEnabled(false);
    if (inotifyFd_ >= 0) {
        ::close(inotifyFd_);
    }
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
    }
}

void LinkWatcher::setKeepAlive(std::chrono::milliseconds interval) {
    keepAliveMs_ = std::max<long long>(interval.count(), 0);
    wake();
}

std::chrono::milliseconds LinkWatcher::keepAlive() const {
    return std::chrono::milliseconds{keepAliveMs_.load()};
}

void LinkWatcher::retryNow() {
    retryNow_ = true;
    wake();
}

void LinkWatcher::wake() const {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto n = ::write(wakeFd_, &one, sizeof one);
}

void LinkWatcher::drainWake() const {
    std::uint64_t count = 0;
    [[maybe_unused]] const auto n = ::read(wakeFd_, &count, sizeof count);
}

bool LinkWatcher::watchPathOf(const DeviceLink::WatchTarget& target) {
    if (inotifyFd_ < 0) {
        return false;
    }
    // The folder of the device path or, while that folder is missing (/dev/serial/by-id goes
    // with the last adapter), the nearest folder above it that exists: each level that comes
    // back is seen as it comes, down to the device path itself.
    const std::filesystem::path path =
        target.network ? std::filesystem::path{} : std::filesystem::path(target.where);
    bool moved = false;
    // Until it stands: a level may come back between looking and watching.
    for (;;) {
        std::filesystem::path at;
        std::string child;
        if (path.has_filename() && path.has_parent_path()) {
            std::filesystem::path below = path;
            at = path.parent_path();
            std::error_code ec;
            while (!std::filesystem::is_directory(at, ec) && at.has_parent_path() &&
                   at != at.parent_path()) {
                below = at;
                at = at.parent_path();
            }
            child = below.filename().string();
        }
        if (at == watchedAt_ && child == watchedName_ &&
            (watchId_ >= 0 || at.empty() || unwatchable_)) {
            return moved;
        }
        if (watchId_ >= 0) {
            ::inotify_rm_watch(inotifyFd_, watchId_);
            watchId_ = -1;
        }
        watchedAt_ = at;
        watchedName_ = child;
        moved = true;
        if (!at.empty()) {
            watchId_ = ::inotify_add_watch(inotifyFd_, at.c_str(), kPathEvents);
        }
        // Not watchable (no watches left, say): not tried again for this place; the back-off's
        // tries still find the device.
        unwatchable_ = watchId_ < 0;
        if (unwatchable_) {
            return moved;
        }
    }
}

bool LinkWatcher::pathTouched() {
    alignas(inotify_event) char buffer[4096];
    bool touched = false;
    for (;;) {
        const ssize_t n = ::read(inotifyFd_, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            if ((e->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) != 0) {
                // The folder itself went: the folder above it is watched from now on.
                if ((e->mask & IN_IGNORED) != 0 && e->wd == watchId_) {
                    watchId_ = -1;
                }
                touched = true;
            } else if (e->len > 0 && watchedName_ == e->name) {
                touched = true;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
    return touched;
}

void LinkWatcher::onDescriptorEvent(const DeviceLink::WatchTarget& target) {
    const LossReason why =
        pathPresent(target.where) ? LossReason::HangUp : LossReason::DeviceRemoved;
    if (!link_.lineLost(why, target.generation)) {
        // An event of a descriptor that was replaced meanwhile; do not poll it again.
        ignoredGeneration_ = target.generation;
    }
}

void LinkWatcher::onPathEvent(const DeviceLink::WatchTarget& target) {
    if (target.network || target.where.empty()) {
        return;
    }
    const bool present = pathPresent(target.where);
    const LinkStatus status = link_.linkStatus();
    if (!present && status.state == LinkState::Connected) {
        link_.lineLost(LossReason::DeviceRemoved, target.generation);
    } else if (present && status.lost()) {
        nextRetry_ = Clock::now(); // it is back: no need to wait out the back-off
    }
}

LinkWatcher::Clock::time_point LinkWatcher::serviceDue(const LinkStatus& status,
                                                       Clock::time_point now) {
    if (status.state != lastState_) {
        if (status.state == LinkState::Connected) {
            connectedSince_ = now;
            nextProbe_ = now + keepAlive();
        }
        lastState_ = status.state;
    }
    if (status.lost() && status.losses != seenLosses_) {
        // A fresh loss: try at once, then back off.
        seenLosses_ = status.losses;
        backoff_ = std::chrono::milliseconds{0};
        nextRetry_ = now;
    }
    if (status.lost()) {
        if (retryNow_.exchange(false)) {
            nextRetry_ = now;
        }
        if (now >= nextRetry_) {
            if (link_.reconnectOnce(timing_.probeDeadline)) {
                return now; // connected: the next turn sets the keep-alive up
            }
            backoff_ = backoff_.count() == 0 ? timing_.firstRetry
                                             : std::min(backoff_ * 2, timing_.longestRetry);
            nextRetry_ = Clock::now() + backoff_;
        }
        return nextRetry_;
    }
    if (status.state != LinkState::Connected || keepAlive().count() == 0) {
        return now + kNever;
    }
    // Never closer than the interval to the last valid answer.
    const auto earliest = std::max(link_.lastAnswer(), connectedSince_) + keepAlive();
    nextProbe_ = std::max(nextProbe_, earliest);
    if (now < nextProbe_) {
        return nextProbe_;
    }
    switch (link_.keepAliveProbe(timing_.probeDeadline)) {
    case ProbeOutcome::NotRun: // the line was busy: an operation or an exchange ran, which is proof
                               // enough
        nextProbe_ = Clock::now() + timing_.probeDeadline;
        break;
    case ProbeOutcome::Answered:
        nextProbe_ = Clock::now() + keepAlive();
        break;
    case ProbeOutcome::NoAnswer: // ask again at once, the link counts three before it gives up
        nextProbe_ = Clock::now();
        break;
    }
    return nextProbe_;
}

void LinkWatcher::run() {
    // Named, so that it can be told apart in a process listing (and by the tests).
    ::pthread_setname_np(::pthread_self(), kThreadName);
    while (!stop_) {
        const DeviceLink::WatchTarget target = link_.watchTarget();
        if (watchPathOf(target)) {
            onPathEvent(target); // the path may have come or gone before the watch stood
        }
        const LinkStatus status = link_.linkStatus();
        const Clock::time_point due = serviceDue(status, Clock::now());
        if (link_.linkStatus() != status) {
            continue; // it changed while being served: look again before waiting
        }
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now());
        const int timeoutMs = static_cast<int>(std::clamp<long long>(wait.count(), 0, INT_MAX));

        bool watchFd = status.state == LinkState::Connected && target.fd >= 0 &&
                       target.generation != ignoredGeneration_;
        {
            std::lock_guard lock(pollMutex_);
            // A descriptor announced for closing is never polled again.
            watchFd = watchFd && !(closing_ && target.generation <= closingGeneration_);
            pollingFd_ = watchFd;
        }
        pollfd fds[3] = {{wakeFd_, POLLIN, 0},
                         {inotifyFd_, POLLIN, 0},
                         // No events asked: hang-up and error are always reported, data is not.
                         {watchFd ? target.fd : -1, 0, 0}};
        const int polled = ::poll(fds, 3, timeoutMs);
        {
            std::lock_guard lock(pollMutex_);
            pollingFd_ = false;
        }
        pollEnded_.notify_all();
        if (polled < 0 && errno != EINTR) {
            break;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            drainWake();
        }
        if ((fds[1].revents & POLLIN) != 0 && pathTouched()) {
            watchPathOf(target);
            onPathEvent(target);
        }
        if ((fds[2].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            onDescriptorEvent(target);
        }
    }
}

} // namespace korvane
