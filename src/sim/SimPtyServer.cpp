#include "SimPtyServer.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace korvane::sim {

namespace {
// How long the loop sleeps in poll between checks for a hang-up set from outside.
constexpr int kPollMs = 50;
// How long a hang-up waits for the client to read the last replies, and in what steps.
constexpr int kDrainLimitMs = 2000;
constexpr int kDrainStepMs = 10;

[[noreturn]] void throwErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void closeFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}
} // namespace

SimPtyServer::SimPtyServer(SimModel model, std::filesystem::path link)
    : model_(std::move(model)), link_(std::move(link)) {}

SimPtyServer::~SimPtyServer() {
    stop();
}

void SimPtyServer::start() {
    if (thread_.joinable()) {
        return;
    }
    hungUp_ = false;
    try {
        if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
            throwErrno("openpty");
        }
        char name[128];
        if (::ptsname_r(master_, name, sizeof name) != 0) {
            throwErrno("ptsname_r");
        }
        device_ = name;
        // Our own slave descriptor stays open for the server's lifetime: without it the master
        // would report a hang-up every time a client closes the port.
        termios t{};
        if (::tcgetattr(slave_, &t) != 0) {
            throwErrno("tcgetattr");
        }
        ::cfmakeraw(&t);
        if (::tcsetattr(slave_, TCSANOW, &t) != 0) {
            throwErrno("tcsetattr");
        }
        ::fcntl(master_, F_SETFD, FD_CLOEXEC);
        ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
        // Non-blocking, so that a client that stops reading cannot wedge the loop in write.
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (stopFd_ < 0) {
            throwErrno("eventfd");
        }
        placeLink();
        thread_ = std::thread(&SimPtyServer::serve, this);
    } catch (...) {
        closeLine();
        closeFd(stopFd_);
        throw;
    }
}

void SimPtyServer::stop() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(stopFd_, &one, sizeof one);
        thread_.join();
    }
    // The path goes first, so that a client that sees the hang-up finds the path gone too, as
    // when an adapter is pulled out.
    removeLink();
    closeLine();
    closeFd(stopFd_);
}

void SimPtyServer::restart() {
    stop();
    start();
}

std::string SimPtyServer::devicePath() const {
    return device_;
}

std::vector<frame::CommandFrame> SimPtyServer::receivedFrames() const {
    std::lock_guard lock(mutex_);
    return model_.receivedFrames();
}

SimState SimPtyServer::state() const {
    std::lock_guard lock(mutex_);
    return model_.state();
}

void SimPtyServer::setFaults(const SimFaults& faults) {
    std::lock_guard lock(mutex_);
    model_.setFaults(faults);
}

void SimPtyServer::serve() {
    std::vector<std::uint8_t> buffer(4096);
    for (;;) {
        pollfd fds[2] = {{master_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        if (::poll(fds, 2, kPollMs) < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        std::vector<SimModel::Reply> replies;
        std::chrono::milliseconds delay{0};
        bool hung = false;
        if ((fds[0].revents & POLLIN) != 0) {
            const ssize_t n = ::read(master_, buffer.data(), buffer.size());
            if (n > 0) {
                std::lock_guard lock(mutex_);
                replies = model_.feed(std::span(buffer.data(), static_cast<std::size_t>(n)));
                delay = model_.faults().lateReply;
            } else if ((n == 0 || (errno != EAGAIN && errno != EINTR)) &&
                       stoppedWhileWaiting(-1, 0, kPollMs)) {
                return;
            }
        } else if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            // Not expected while our slave descriptor is open; never spin on it regardless.
            if (stoppedWhileWaiting(-1, 0, kPollMs)) {
                return;
            }
        }
        {
            std::lock_guard lock(mutex_);
            hung = model_.hungUp();
        }
        if (!replies.empty() && delay.count() > 0 &&
            stoppedWhileWaiting(-1, 0, static_cast<int>(delay.count()))) {
            return;
        }
        for (const auto& reply : replies) {
            if (!writeAll(reply)) {
                return;
            }
        }
        if (hung) {
            hangUp();
            return;
        }
    }
}

bool SimPtyServer::stoppedWhileWaiting(int fd, short events, int timeoutMs) {
    pollfd fds[2] = {{stopFd_, POLLIN, 0}, {fd, events, 0}};
    while (::poll(fds, fd >= 0 ? 2 : 1, timeoutMs) < 0) {
        if (errno != EINTR) {
            return true;
        }
    }
    return fds[0].revents != 0;
}

bool SimPtyServer::writeAll(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else if (stoppedWhileWaiting(master_, POLLOUT, -1)) {
            return false;
        }
    }
    return true;
}

void SimPtyServer::hangUp() {
    // A hang-up throws away input the client has not read yet, so the last replies are given
    // a while to be collected first. Polling the slave also moves bytes still in flight into
    // its input queue, so an empty queue really means all was read.
    for (int waited = 0; waited < kDrainLimitMs; waited += kDrainStepMs) {
        pollfd p{slave_, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0 || (p.revents & POLLIN) == 0 ||
            stoppedWhileWaiting(-1, 0, kDrainStepMs)) {
            break;
        }
    }
    closeLine();
    hungUp_ = true;
}

void SimPtyServer::closeLine() {
    closeFd(master_);
    closeFd(slave_);
}

void SimPtyServer::placeLink() {
    if (link_.empty()) {
        return;
    }
    namespace fs = std::filesystem;
    const fs::file_status existing = fs::symlink_status(link_);
    if (fs::exists(existing) && !fs::is_symlink(existing)) {
        throw fs::filesystem_error("refusing to replace a file that is not a symbolic link", link_,
                                   std::make_error_code(std::errc::file_exists));
    }
    // Build the link beside its final place and rename it over the old one, so that a client
    // never finds the path missing or half made.
    fs::path temporary = link_;
    temporary += ".tmp-" + std::to_string(::getpid());
    fs::remove(temporary);
    fs::create_symlink(device_, temporary);
    fs::rename(temporary, link_);
}

void SimPtyServer::removeLink() {
    if (link_.empty() || device_.empty()) {
        return;
    }
    std::error_code ec;
    // Leave the path alone if someone else has taken it over in the meantime.
    if (std::filesystem::is_symlink(link_, ec) &&
        std::filesystem::read_symlink(link_, ec) == device_) {
        std::filesystem::remove(link_, ec);
    }
}

} // namespace korvane::sim
