#include "core/link/CommLog.h"

#include "core/store/ProgramDirectory.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace korvane {

namespace {
std::atomic<bool> gLoggingSwitch{true};

// Opens for writing without truncating, denying other writers (a second instance of the program
// finds the lock taken and logs nothing).
int openLocked(const std::filesystem::path& path, int extraFlags) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | extraFlags, 0644);
    if (fd < 0) {
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
} // namespace

CommLog::CommLog(const std::filesystem::path& path) {
    fd_ = openLocked(path, 0);
    if (fd_ < 0) {
        return;
    }
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && static_cast<std::uintmax_t>(st.st_size) > kMaxSizeAtOpen) {
        ::close(fd_);
        fd_ = openLocked(path, O_TRUNC);
        if (fd_ < 0) {
            return;
        }
    }
    ::lseek(fd_, 0, SEEK_END);
}

CommLog::~CommLog() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

namespace {
std::filesystem::path instancePath() {
    return gLoggingSwitch.load() ? programDirectory() / CommLog::kFileName
                                 : std::filesystem::path();
}
} // namespace

CommLog& CommLog::instance() {
    static CommLog log(instancePath());
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

void CommLog::append(Direction direction, std::span<const std::uint8_t> bytes) {
    if (fd_ < 0) {
        return;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    const std::string text = formatEntry(direction, bytes, local);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw std::system_error(errno, std::generic_category(), "communication log");
        }
        done += static_cast<std::size_t>(n);
    }
}

} // namespace korvane
