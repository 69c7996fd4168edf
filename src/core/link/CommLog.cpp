#include "core/link/CommLog.h"

#include "core/store/ProgramDirectory.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace korvane {

namespace {
std::atomic<bool> gLoggingSwitch{true};

// Opens for writing without truncating, denying other writers. -1 with errno set on failure;
// EWOULDBLOCK means another instance holds the log.
int openLocked(const std::filesystem::path& path, int extraFlags) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | extraFlags, 0644);
    if (fd < 0) {
        return -1;
    }
    // Only a regular file can be shared by two instances; a device (a terminal, /dev/full)
    // is written as it is.
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}
} // namespace

CommLog::CommLog(std::filesystem::path path) : path_(std::move(path)) {
    if (path_.empty()) {
        state_ = State::Off;
    }
}

CommLog::~CommLog() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void CommLog::relocate(std::filesystem::path path) {
    std::lock_guard lock(mutex_);
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    path_ = std::move(path);
    state_ = path_.empty() ? State::Off : State::NotOpened;
}

std::filesystem::path CommLog::path() const {
    std::lock_guard lock(mutex_);
    return path_;
}

void CommLog::setFailureHandler(FailureHandler handler) {
    std::lock_guard lock(mutex_);
    onFailure_ = std::move(handler);
}

bool CommLog::isOpen() const {
    std::lock_guard lock(mutex_);
    return state_ == State::Open;
}

bool CommLog::failed() const {
    std::lock_guard lock(mutex_);
    return state_ == State::Failed;
}

bool CommLog::openFile() {
    fd_ = openLocked(path_, 0);
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 &&
        static_cast<std::uintmax_t>(st.st_size) > kMaxSizeAtOpen) {
        ::close(fd_);
        fd_ = openLocked(path_, O_TRUNC);
    }
    if (fd_ < 0) {
        if (errno == EWOULDBLOCK) {
            state_ = State::Off;
        } else {
            fail(errno);
        }
        return false;
    }
    ::lseek(fd_, 0, SEEK_END);
    state_ = State::Open;
    return true;
}

void CommLog::fail(int error) {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    state_ = State::Failed;
    if (onFailure_) {
        try {
            onFailure_(std::generic_category().message(error));
        } catch (...) { // NOLINT(bugprone-empty-catch): the report is best effort
        }
    }
}

std::filesystem::path CommLog::defaultPath() {
    return gLoggingSwitch.load() ? programDirectory() / kFileName : std::filesystem::path();
}

CommLog& CommLog::instance() {
    static CommLog log(defaultPath());
    return log;
}

void CommLog::setLoggingSwitch(bool on) {
    gLoggingSwitch.store(on);
}
bool CommLog::loggingSwitch() {
    return gLoggingSwitch.load();
}

std::string CommLog::formatEntry(Direction direction, std::span<const std::uint8_t> bytes,
                                 const std::tm& when) {
    char head[64];
    std::snprintf(head, sizeof head, "\r\n%s:%04d-%02d-%02d %02d:%02d:%02d\r\n",
                  direction == Direction::Send ? "Send" : "Recv", when.tm_year + 1900,
                  when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    std::string text = head;
    text.reserve(text.size() + bytes.size() * 5);
    for (const std::uint8_t b : bytes) {
        char item[8];
        std::snprintf(item, sizeof item, " 0x%02X", b);
        text += item;
    }
    return text;
}

void CommLog::append(Direction direction, std::span<const std::uint8_t> bytes) noexcept {
    std::lock_guard lock(mutex_);
    if (state_ == State::NotOpened && !openFile()) {
        return;
    }
    if (state_ != State::Open) {
        return;
    }
    try {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        ::localtime_r(&now, &local);
        const std::string text = formatEntry(direction, bytes, local);
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                fail(n < 0 ? errno : ENOSPC);
                return;
            }
            done += static_cast<std::size_t>(n);
        }
    } catch (const std::bad_alloc&) {
        fail(ENOMEM);
    }
}

} // namespace korvane
