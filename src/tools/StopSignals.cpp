#include "StopSignals.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <system_error>
#include <unistd.h>

namespace korvane::ctl {

namespace {
// The handler may only do what is async-signal-safe: it writes one byte into a pipe that the
// waiting side polls. A lock-free atomic, because the signal may arrive on another thread than
// the one that closes the pipe.
std::atomic<int> gWriteFd{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void onStopSignal(int) {
    const int saved = errno;
    const char byte = 1;
    if (const int fd = gWriteFd.load(); fd >= 0) {
        [[maybe_unused]] const auto n = ::write(fd, &byte, 1);
    }
    errno = saved;
}
} // namespace

StopSignals::StopSignals() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::system_error(errno, std::generic_category(), "pipe");
    }
    readFd_ = fds[0];
    gWriteFd = fds[1];
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        ::sigaction(kStopSignals[i], &action, &old_[i]);
    }
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        ::sigaction(kStopSignals[i], &old_[i], nullptr);
    }
    const int writeFd = gWriteFd.exchange(-1);
    ::close(writeFd);
    ::close(readFd_);
}

bool StopSignals::waitFor(std::chrono::milliseconds period) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + period;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd p{readFd_, POLLIN, 0};
        const int n = ::poll(&p, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (n > 0) {
            return true;
        }
        // A signal that interrupted the wait has written its byte by now: look again.
        if (n == 0 || (n < 0 && errno != EINTR)) {
            return n < 0;
        }
    }
}

} // namespace korvane::ctl
