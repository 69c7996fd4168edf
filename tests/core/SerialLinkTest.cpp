#include "core/link/SerialLink.h"

#include "core/link/SerialPort.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace korvane;
using std::chrono::milliseconds;

namespace {

// A pseudo-terminal whose master end plays the device.
struct Pty {
    int master = -1;
    int slave = -1;
    std::string path;
    Pty() {
        char name[128] = {};
        termios raw{};
        ::cfmakeraw(&raw);
        if (::openpty(&master, &slave, name, &raw, nullptr) == 0) {
            path = name;
        }
    }
    ~Pty() {
        closeMaster();
        if (slave >= 0) {
            ::close(slave);
        }
    }
    void closeMaster() {
        if (master >= 0) {
            ::close(master);
            master = -1;
        }
    }
    void send(std::initializer_list<std::uint8_t> bytes) const {
        const std::vector<std::uint8_t> v(bytes);
        ASSERT_EQ(::write(master, v.data(), v.size()), static_cast<ssize_t>(v.size()));
    }
};

SerialSettings settingsFor(const std::string& path) {
    return {path, 999, 1, 115200};
}

} // namespace

TEST(SerialLink, TimeoutArithmetic) {
    const auto one = serialTimeoutsFor(1);
    EXPECT_EQ(one.readConstant, milliseconds{700});
    EXPECT_EQ(one.writeConstant, milliseconds{40});
    EXPECT_EQ(one.writePerByte, milliseconds{10});
    const auto sixty = serialTimeoutsFor(60);
    EXPECT_EQ(sixty.readConstant, milliseconds{42000});
    EXPECT_EQ(sixty.writeConstant, milliseconds{2400});
}

TEST(SerialLink, OpenFailuresGiveZeroAndTheReason) {
    struct Case {
        const char* path;
        int baud;
        int expectedErrno;
    };
    const Case cases[] = {
        {"/dev/korvane-no-such-port", 115200, ENOENT},
        {"/dev/null", 115200, ENOTTY},
        {"", 115200, ENOENT},
    };
    for (const auto& c : cases) {
        SerialLink link({c.path, 999, 1, c.baud});
        EXPECT_EQ(link.open(), 0) << c.path;
        EXPECT_EQ(link.lastError(), c.expectedErrno) << c.path;
        EXPECT_EQ(link.isOpen(), 0);
        std::uint8_t b[1];
        EXPECT_EQ(link.readAll(b, 1), -1);
        EXPECT_EQ(link.writeAll(b, 1), -1);
        EXPECT_EQ(link.purgeInput(), 0);
    }
    Pty pty;
    SerialLink badBaud({pty.path, 999, 1, 12345});
    EXPECT_EQ(badBaud.open(), 0);
    EXPECT_EQ(badBaud.lastError(), EINVAL);
}

TEST(SerialLink, TransfersOverAPseudoTerminal) {
    Pty pty;
    ASSERT_FALSE(pty.path.empty());
    SerialLink link(settingsFor(pty.path));
    ASSERT_EQ(link.open(), 1);
    const std::uint8_t out[3] = {0xED, 0xCB, 0x00};
    EXPECT_EQ(link.writeAll(out, 3), 3);
    std::uint8_t got[3] = {};
    ASSERT_EQ(::read(pty.master, got, 3), 3);
    EXPECT_EQ(got[1], 0xCB);

    // Bytes split over two writes of the device still make one whole read.
    std::thread device([&] {
        pty.send({1, 2, 3, 4});
        std::this_thread::sleep_for(milliseconds{50});
        pty.send({5, 6, 7, 8, 9});
    });
    std::uint8_t in[9] = {};
    EXPECT_EQ(link.readAll(in, 9), 9);
    device.join();
    EXPECT_EQ(in[8], 9);

    // Only 5 of 9 bytes: -1, not 5.
    pty.send({1, 2, 3, 4, 5});
    EXPECT_EQ(link.readAll(in, 9), -1);
}

TEST(SerialLink, PurgeDropsWaitingBytes) {
    Pty pty;
    SerialLink link(settingsFor(pty.path));
    ASSERT_EQ(link.open(), 1);
    pty.send({9, 9, 9});
    std::this_thread::sleep_for(milliseconds{20});
    EXPECT_EQ(link.purgeInput(), 1);
    pty.send({1});
    std::uint8_t b = 0;
    EXPECT_EQ(link.readAll(&b, 1), 1);
    EXPECT_EQ(b, 1);
}

TEST(SerialLink, ReopeningAnOpenLinkClosesFirst) {
    Pty pty;
    SerialLink link(settingsFor(pty.path));
    ASSERT_EQ(link.open(), 1);
    // The port is opened exclusively; a second open would fail with EBUSY unless the link
    // released its own handle first.
    EXPECT_EQ(link.open(), 1);
    EXPECT_EQ(link.isOpen(), 1);
    SerialLink other(settingsFor(pty.path));
    EXPECT_EQ(other.open(), 0);
    EXPECT_EQ(other.lastError(), EBUSY);
    link.close();
    EXPECT_EQ(link.isOpen(), 0);
    EXPECT_EQ(other.open(), 1);
}

TEST(SerialLink, HangUpFailsTheReadWithoutSpinning) {
    Pty pty;
    SerialLink link({pty.path, 999, 60, 115200}); // a 42 s first-byte deadline
    ASSERT_EQ(link.open(), 1);
    ::close(pty.slave);
    pty.slave = -1;
    std::thread unplug([&] {
        std::this_thread::sleep_for(milliseconds{100});
        pty.closeMaster();
    });
    // The read must end with the hang-up, long before its 42 s deadline, and wait for it without
    // spinning: a spinning read would burn its whole wait in CPU time.
    const auto began = std::chrono::steady_clock::now();
    const std::clock_t cpuBefore = std::clock();
    std::uint8_t b[9];
    EXPECT_EQ(link.readAll(b, 9), -1);
    const std::clock_t cpuUsed = std::clock() - cpuBefore;
    const auto took = std::chrono::steady_clock::now() - began;
    unplug.join();
    EXPECT_LT(took, std::chrono::seconds{10}) << "the read waited for its deadline";
    EXPECT_LT(static_cast<double>(cpuUsed) / CLOCKS_PER_SEC, 0.5);
}
