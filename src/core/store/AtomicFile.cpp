#include "store/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace korvane {

namespace {
namespace fs = std::filesystem;

std::error_code lastErrno() {
    return {errno, std::generic_category()};
}

::ssize_t plainWrite(int fd, const std::uint8_t* data, std::size_t size) {
    ::ssize_t n = 0;
    do {
        n = ::write(fd, data, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

fs::path resolvedTarget(const fs::path& target) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        const fs::path real = fs::weakly_canonical(target, ec);
        if (!ec) {
            return real;
        }
    }
    return target;
}

// A name of our own beside the target; O_EXCL makes a clash with another writer impossible.
int createTemporary(const fs::path& target, fs::path& temporary) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder / ("." + target.filename().string() + ".tmp" +
                              std::to_string(::getpid()) + "-" + std::to_string(counter++));
        // 0666 lets the umask decide for a new file, as an ordinary create would.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

std::error_code writeAll(int fd, std::span<const std::uint8_t> bytes, const WriteStep& step) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ::ssize_t n = step ? step(fd, bytes.data() + done, bytes.size() - done)
                                 : plainWrite(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            return lastErrno();
        }
        if (n == 0) {
            return std::make_error_code(std::errc::io_error);
        }
        done += static_cast<std::size_t>(n);
    }
    return {};
}

// The rename itself is only durable once the folder's entry is on disk.
void syncFolder(const fs::path& file) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

std::error_code writeFileAtomically(const fs::path& target, std::span<const std::uint8_t> bytes,
                                    const WriteStep& step) {
    const fs::path real = resolvedTarget(target);
    fs::path temporary;
    const int fd = createTemporary(real, temporary);
    if (fd < 0) {
        return lastErrno();
    }
    std::error_code ec;
    struct stat existing {};
    if (::stat(real.c_str(), &existing) == 0 && ::fchmod(fd, existing.st_mode & 07777) != 0) {
        ec = lastErrno();
    }
    if (!ec) {
        ec = writeAll(fd, bytes, step);
    }
    if (!ec && ::fsync(fd) != 0) {
        ec = lastErrno();
    }
    if (::close(fd) != 0 && !ec) {
        ec = lastErrno();
    }
    if (!ec && ::rename(temporary.c_str(), real.c_str()) != 0) {
        ec = lastErrno();
    }
    if (ec) {
        ::unlink(temporary.c_str());
        return ec;
    }
    syncFolder(real);
    return {};
}

} // namespace korvane
