#include "core/store/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvane {

namespace {
std::error_code fromErrno() {
    return {errno, std::generic_category()};
}

std::error_code readAll(int fd, std::size_t limit, std::string& out) {
    char buffer[65536];
    for (;;) {
        const ::ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            if (out.size() + static_cast<std::size_t>(n) > limit) {
                return std::make_error_code(std::errc::file_too_large);
            }
            out.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            return {};
        } else if (errno != EINTR) {
            return fromErrno();
        }
    }
}

// Opens `file` without waiting and checks it is a regular file of at most `limit` bytes; on
// success `fd` is open (the caller closes it) and `size` is its size.
std::error_code openRegularFile(const std::filesystem::path& file, std::size_t limit, int& fd,
                                std::uintmax_t& size) {
    fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return fromErrno();
    }
    struct stat st {};
    std::error_code ec;
    if (::fstat(fd, &st) != 0) {
        ec = fromErrno();
    } else if (!S_ISREG(st.st_mode)) {
        ec = std::make_error_code(std::errc::invalid_argument);
    } else if (static_cast<std::uintmax_t>(st.st_size) > limit) {
        ec = std::make_error_code(std::errc::file_too_large);
    }
    if (ec) {
        ::close(fd);
        fd = -1;
    } else {
        size = static_cast<std::uintmax_t>(st.st_size);
    }
    return ec;
}
} // namespace

std::error_code readRegularFile(const std::filesystem::path& file, std::size_t limit,
                                std::string& out) {
    out.clear();
    int fd = -1;
    std::uintmax_t size = 0;
    if (const auto ec = openRegularFile(file, limit, fd, size)) {
        return ec;
    }
    // The size may still grow while reading; the limit holds all the same.
    out.reserve(static_cast<std::size_t>(size));
    const std::error_code ec = readAll(fd, limit, out);
    ::close(fd);
    if (ec) {
        out.clear();
    }
    return ec;
}

std::error_code checkRegularFile(const std::filesystem::path& file, std::size_t limit,
                                 std::uintmax_t& size) {
    int fd = -1;
    const std::error_code ec = openRegularFile(file, limit, fd, size);
    if (!ec) {
        ::close(fd);
    }
    return ec;
}

std::string inputFileErrorText(const std::error_code& ec, std::size_t limit) {
    if (ec == std::errc::invalid_argument) {
        return "not a regular file";
    }
    if (ec == std::errc::file_too_large) {
        return "larger than " + std::to_string(limit) + " bytes";
    }
    return ec.message();
}

} // namespace korvane
