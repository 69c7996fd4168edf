#include "PtyClient.h"

#include "SimTestSupport.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace korvane::sim::test {

PtyClient::PtyClient(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
        return;
    }
    termios t{};
    if (::tcgetattr(fd_, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(fd_, TCSANOW, &t);
    }
}

PtyClient::~PtyClient() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool PtyClient::send(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::vector<std::uint8_t> PtyClient::receive(std::size_t count, int quietMs) {
    std::vector<std::uint8_t> got;
    while (got.size() < count) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, quietMs) <= 0 || (p.revents & POLLIN) == 0) {
            break;
        }
        std::uint8_t buffer[256];
        const std::size_t want = std::min(count - got.size(), sizeof buffer);
        const ssize_t n = ::read(fd_, buffer, want);
        if (n <= 0) {
            break;
        }
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

bool identityAnswered(PtyClient& c) {
    const std::size_t length = readTypeInfo(readtype::kIdentity)->replyLength;
    if (!c.send(readRequest(readtype::kIdentity))) {
        return false;
    }
    const Bytes reply = c.receive(length);
    const auto p = replyPayload(reply);
    return reply.size() == length && frame::acceptReply(reply) &&
           Bytes(p.begin(), p.end()) == (Bytes{'T', 'R', 'S'});
}

} // namespace korvane::sim::test
