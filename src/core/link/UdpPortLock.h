#pragma once

#include <filesystem>

namespace korvane {

// Keeps one program of this user at a time talking to processors from one local UDP port: two
// programs on one port would take each other's replies. The lock is a file in the user's
// runtime folder ($XDG_RUNTIME_DIR, else the temporary folder) named after the port, held with
// flock(2) while the link is open, so the system drops it with the process.
class UdpPortLock {
public:
    UdpPortLock() = default;
    ~UdpPortLock();
    UdpPortLock(const UdpPortLock&) = delete;
    UdpPortLock& operator=(const UdpPortLock&) = delete;

    // Takes the lock of `port` (releasing any other held). false with errno set when another
    // program holds it (EBUSY) or the lock file cannot be made.
    bool acquire(int port);
    void release();
    bool held() const { return fd_ >= 0; }

    // The lock file of `port`.
    static std::filesystem::path pathFor(int port);

private:
    int fd_ = -1;
};

} // namespace korvane
