#include "core/store/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <csignal>
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

fs::path folderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// Temporary files are named ".<target>.tmp<writer's pid>-<n>".
std::string temporaryPrefix(const fs::path& target) {
    return "." + target.filename().string() + ".tmp";
}

// The writer's pid in a temporary file's name, or 0 when the name is not one of ours.
pid_t writerOf(const std::string& name, const std::string& prefix) {
    if (!name.starts_with(prefix)) {
        return 0;
    }
    const std::size_t dash = name.find('-', prefix.size());
    if (dash == std::string::npos || dash == prefix.size() || dash + 1 == name.size()) {
        return 0;
    }
    long long pid = 0;
    for (std::size_t i = prefix.size(); i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9' || pid > 4194304) { // above any pid_max
            return 0;
        }
        pid = pid * 10 + (name[i] - '0');
    }
    for (std::size_t i = dash + 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return 0;
        }
    }
    return static_cast<pid_t>(pid);
}

// Removes what writers of `target` that were killed half-way left beside it. A file whose
// writer may still live (this process, or a process that exists) is left alone.
void removeAbandonedTemporaries(const fs::path& target) {
    const std::string prefix = temporaryPrefix(target);
    std::error_code ec;
    for (fs::directory_iterator it(folderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const pid_t writer = writerOf(name, prefix);
        if (writer <= 0 || writer == ::getpid() || ::kill(writer, 0) == 0 || errno != ESRCH) {
            continue;
        }
        std::error_code ignored;
        if (it->symlink_status(ignored).type() == fs::file_type::regular) {
            fs::remove(it->path(), ignored);
        }
    }
}

// A name of our own beside the target; O_EXCL makes a clash with another writer impossible.
int createTemporary(const fs::path& target, fs::path& temporary) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = folderOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder / (temporaryPrefix(target) + std::to_string(::getpid()) + "-" +
                              std::to_string(counter++));
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
    const fs::path folder = folderOf(file);
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
    // A file without write permission is kept, even for a user the permissions do not bind.
    struct stat current {};
    if (::stat(real.c_str(), &current) == 0 &&
        ((current.st_mode & 0222) == 0 || ::access(real.c_str(), W_OK) != 0)) {
        return std::make_error_code(std::errc::permission_denied);
    }
    removeAbandonedTemporaries(real);
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
