#include "core/link/UdpPortLock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace korvane {

std::filesystem::path UdpPortLock::pathFor(int port) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string name = "korvane-udp-" + std::to_string(port) + ".lock";
    if (runtime != nullptr && *runtime == '/') {
        return std::filesystem::path(runtime) / name;
    }
    // Without a runtime folder the user id keeps the users apart.
    return std::filesystem::temp_directory_path() /
           ("korvane-" + std::to_string(::getuid()) + "-udp-" + std::to_string(port) + ".lock");
}

UdpPortLock::~UdpPortLock() {
    release();
}

bool UdpPortLock::acquire(int port) {
    release();
    const int fd = ::open(pathFor(port).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        errno = error;
        return false;
    }
    fd_ = fd;
    return true;
}

void UdpPortLock::release() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace korvane
