#include "core/link/SerialPort.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace korvane {

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void throwErrno() {
    throw SerialError(errno);
}

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits for `events` until the deadline; false on time-out. A hang-up or error of the other end
// throws, so that callers fail at once instead of polling a dead line in a loop.
bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, remainingMs(deadline));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwErrno();
        }
        if (n == 0) {
            return false;
        }
        if (p.revents & events) {
            return true;
        }
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) {
            throw SerialError(p.revents & POLLNVAL ? EBADF : EIO);
        }
    }
}

void applyParity(termios& t, int parity) {
    t.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CMSPAR);
    switch (parity) {
    case serialarg::kParityNone:
        break;
    case serialarg::kParityEven:
        t.c_cflag |= PARENB;
        break;
    case serialarg::kParityOdd:
        t.c_cflag |= PARENB | PARODD;
        break;
    case serialarg::kParityMark:
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case serialarg::kParitySpace:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        throw SerialError(EINVAL);
    }
}

void applyDataBits(termios& t, int dataBits) {
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE);
    switch (dataBits) {
    case 5:
        t.c_cflag |= CS5;
        break;
    case 6:
        t.c_cflag |= CS6;
        break;
    case 7:
        t.c_cflag |= CS7;
        break;
    case 8:
        t.c_cflag |= CS8;
        break;
    default:
        throw SerialError(EINVAL);
    }
}

void applyFlowControl(termios& t, int flow) {
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    switch (flow) {
    case serialarg::kFlowNone:
        break;
    // POSIX has no DSR/DTR handshake; the hardware handshake is the nearest.
    case serialarg::kFlowCtsRts:
    case serialarg::kFlowCtsDtr:
    case serialarg::kFlowDsrRts:
    case serialarg::kFlowDsrDtr:
        t.c_cflag |= CRTSCTS;
        break;
    case serialarg::kFlowXonXoff:
        t.c_iflag |= IXON | IXOFF;
        t.c_cc[VSTART] = 17;
        t.c_cc[VSTOP] = 19;
        break;
    default:
        throw SerialError(EINVAL);
    }
}

} // namespace

unsigned baudToSpeed(int baudRate) {
    switch (baudRate) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    default:
        throw SerialError(EINVAL);
    }
}

SerialPort::~SerialPort() {
    close();
}

void SerialPort::open(const std::string& path, int baudRate, int parity, int dataBits, int stopBits,
                      int flowControl) {
    close();
    const speed_t speed = baudToSpeed(baudRate);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throwErrno();
    }
    try {
        if (::isatty(fd) == 0) {
            throw SerialError(ENOTTY);
        }
        // Not shared: a second opener gets EBUSY, as on a port held by another program. The
        // terminal's exclusive mode does not bind privileged processes; the lock does.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            throw SerialError(errno == EWOULDBLOCK ? EBUSY : errno);
        }
        if (::ioctl(fd, TIOCEXCL) != 0) {
            throwErrno();
        }
        termios t{};
        if (::tcgetattr(fd, &t) != 0) {
            throwErrno();
        }
        ::cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        applyParity(t, parity);
        applyDataBits(t, dataBits);
        if (stopBits == serialarg::kStopOne) {
            t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
        } else if (stopBits == serialarg::kStopOneAndHalf || stopBits == serialarg::kStopTwo) {
            t.c_cflag |= CSTOPB; // termios has no one-and-a-half
        } else {
            throw SerialError(EINVAL);
        }
        applyFlowControl(t, flowControl);
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = 0;
        if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0 ||
            ::tcsetattr(fd, TCSANOW, &t) != 0) {
            throwErrno();
        }
    } catch (...) {
        ::close(fd);
        throw;
    }
    fd_ = fd;
}

int SerialPort::close() {
    if (fd_ < 0) {
        return -1;
    }
    // Exclusive mode outlives this handle while another holds the terminal open (a simulator
    // keeps its own end); clear it so that the next open of the same device succeeds.
    ::ioctl(fd_, TIOCNXCL);
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
}

std::size_t SerialPort::read(std::uint8_t* buffer, std::size_t count) {
    if (fd_ < 0) {
        throw SerialError(EBADF);
    }
    if (count == 0) {
        return 0;
    }
    const auto deadline = Clock::now() + timeouts_.readConstant;
    for (;;) {
        if (!waitFor(fd_, POLLIN, deadline)) {
            return 0;
        }
        const ssize_t n = ::read(fd_, buffer, count);
        if (n > 0) {
            return static_cast<std::size_t>(n);
        }
        if (n == 0) {
            throw SerialError(EIO); // end of file: the other end is gone
        }
        if (errno != EAGAIN && errno != EINTR) {
            throwErrno();
        }
    }
}

std::size_t SerialPort::write(const std::uint8_t* bytes, std::size_t count) {
    if (fd_ < 0) {
        throw SerialError(EBADF);
    }
    const auto deadline =
        Clock::now() + timeouts_.writePerByte * static_cast<long>(count) + timeouts_.writeConstant;
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            throwErrno();
        }
        if (!waitFor(fd_, POLLOUT, deadline)) {
            break;
        }
    }
    return done;
}

void SerialPort::purgeInput() {
    if (fd_ < 0) {
        throw SerialError(EBADF);
    }
    if (::tcflush(fd_, TCIFLUSH) != 0) {
        throwErrno();
    }
}

} // namespace korvane
