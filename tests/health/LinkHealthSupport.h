#pragma once

#include "core/link/DeviceLink.h"
#include "core/link/LinkWatcher.h"
#include "core/store/NetworkSettings.h"
#include "sim/SimPtyServer.h"
#include "sim/SimUdpServer.h"
#include "support/RecordingSleeper.h"
#include "support/TempFolder.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace korvane::healthtest {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Every status the link announced, in order, with a fence to wait on.
class StatusLog {
public:
    explicit StatusLog(DeviceLink& link) : link_(link) {
        id_ = link.addLinkListener([this](const LinkStatus& s) {
            std::lock_guard lock(mutex_);
            seen_.push_back(s);
            changed_.notify_all();
        });
    }
    ~StatusLog() { link_.removeLinkListener(id_); }
    StatusLog(const StatusLog&) = delete;
    StatusLog& operator=(const StatusLog&) = delete;

    // True once a status announced from index `from` on satisfies `want` (bounded wait).
    bool waitFor(const std::function<bool(const LinkStatus&)>& want, std::size_t from = 0,
                 std::chrono::milliseconds limit = 15s) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] {
            for (std::size_t i = from; i < seen_.size(); ++i) {
                if (want(seen_[i])) {
                    return true;
                }
            }
            return false;
        });
    }
    bool waitForState(LinkState state, std::size_t from = 0) {
        return waitFor([state](const LinkStatus& s) { return s.state == state; }, from);
    }
    std::vector<LinkStatus> seen() const {
        std::lock_guard lock(mutex_);
        return seen_;
    }
    std::size_t size() const {
        std::lock_guard lock(mutex_);
        return seen_.size();
    }

private:
    DeviceLink& link_;
    int id_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<LinkStatus> seen_;
};

inline LinkWatcher::Timing timingWithKeepAlive(std::chrono::milliseconds keepAlive) {
    LinkWatcher::Timing t = LinkWatcher::kDefaultTiming;
    t.keepAlive = keepAlive;
    return t;
}

// The simulator behind a pseudo-terminal reached through a stable path (as /dev/serial/by-id
// names are), or on a loopback UDP address, with the program's link to it.
class HealthRig {
public:
    enum class Kind { Pty, Udp };

    explicit HealthRig(Kind kind) : kind_(kind) {
        pacing.attach(link);
        if (kind == Kind::Pty) {
            pty_ = std::make_unique<sim::SimPtyServer>(sim::SimModel{}, folder_.path() / "ttyKv");
        } else {
            udp_ = std::make_unique<sim::SimUdpServer>(sim::SimModel{}, "127.0.0.2", 0);
        }
    }

    bool pty() const { return kind_ == Kind::Pty; }
    void startDevice() { pty_ ? pty_->start() : udp_->start(); }
    // Pulls the processor off the line (the path goes with a serial device).
    void stopDevice() { pty_ ? pty_->stop() : udp_->stop(); }
    void setFaults(const sim::SimFaults& f) { pty_ ? pty_->setFaults(f) : udp_->setFaults(f); }
    std::vector<frame::CommandFrame> frames() const {
        return pty_ ? pty_->receivedFrames() : udp_->receivedFrames();
    }
    std::string where() const {
        return pty_ ? (folder_.path() / "ttyKv").string()
                    : udp_->address() + ":" + std::to_string(udp_->port());
    }
    sim::SimPtyServer* ptyServer() { return pty_.get(); }

    // Opens the link the way the program does; 1 when open.
    int connect() {
        link.setSendSwitch(1);
        if (pty_) {
            return link.configureSerialAndOpen({where(), 999, 1, 115200});
        }
        NetworkSettings s;
        s.ip = udp_->address();
        s.port = udp_->port();
        link.setNetworkMode(1);
        return link.configureNetworkAndOpen(s);
    }

    DeviceLink link;
    // The processor's pacing pauses, noted and cut short.
    test::RecordingSleeper pacing;

private:
    Kind kind_;
    test::TempFolder folder_;
    std::unique_ptr<sim::SimPtyServer> pty_;
    std::unique_ptr<sim::SimUdpServer> udp_;
};

inline std::string kindName(const ::testing::TestParamInfo<HealthRig::Kind>& info) {
    return info.param == HealthRig::Kind::Pty ? "Pty" : "Udp";
}

} // namespace korvane::healthtest
