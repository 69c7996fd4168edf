#pragma once

#include "core/commands/CommandFacade.h"
#include "core/commands/DeviceOperation.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "core/store/NetworkSettings.h"
#include "sim/SimPtyServer.h"
#include "sim/SimUdpServer.h"
#include "support/LineFence.h"
#include "support/RecordingSink.h"
#include "support/RecordingSleeper.h"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace korvane::test {

enum class LinkKind { Pty, Udp };

// The simulator behind a pseudo-terminal or a loopback UDP socket, seen the same way by tests.
class SimEndpoint {
public:
    explicit SimEndpoint(LinkKind kind) {
        if (kind == LinkKind::Pty) {
            pty_ = std::make_unique<sim::SimPtyServer>();
        } else {
            udp_ = std::make_unique<sim::SimUdpServer>(sim::SimModel{}, "127.0.0.2", 0);
        }
    }
    void start() { pty_ ? pty_->start() : udp_->start(); }
    // Opens `link` to this simulator the way the program does.
    int connect(DeviceLink& link) const {
        if (pty_) {
            return link.configureSerialAndOpen({pty_->devicePath(), 999, 1, 115200});
        }
        NetworkSettings s;
        s.ip = udp_->address();
        s.port = udp_->port();
        link.setNetworkMode(1);
        return link.configureNetworkAndOpen(s);
    }
    std::vector<frame::CommandFrame> receivedFrames() const {
        return pty_ ? pty_->receivedFrames() : udp_->receivedFrames();
    }
    sim::SimState state() const { return pty_ ? pty_->state() : udp_->state(); }
    void setFaults(const sim::SimFaults& f) { pty_ ? pty_->setFaults(f) : udp_->setFaults(f); }

private:
    std::unique_ptr<sim::SimPtyServer> pty_;
    std::unique_ptr<sim::SimUdpServer> udp_;
};

inline std::string linkName(const ::testing::TestParamInfo<LinkKind>& info) {
    return info.param == LinkKind::Pty ? "Pty" : "Udp";
}

// The program's side (link, mirror, commands) over a real pseudo-terminal or loopback socket to
// the simulator.
struct SimLink {
    SimEndpoint server;
    RecordingSink sink;
    DeviceLink link{nullptr, &sink};
    // The simulator answers at once: the processor's pacing pauses are noted and cut short.
    RecordingSleeper pacing;
    ParameterMirror mirror{};
    CommandFacade facade{link, mirror};
    OperationContext ctx{link, mirror, facade, &sink};

    explicit SimLink(LinkKind kind) : server(kind) { pacing.attach(link); }

    void connect() {
        server.start();
        ASSERT_EQ(server.connect(link), 1);
        applyMirrorDefaults(mirror, kDefaultResolution);
        link.setSendSwitch(1);
    }

    // Every frame the simulator accepted, fences left out.
    std::vector<frame::CommandFrame> sent() const { return withoutFences(server.receivedFrames()); }
    // Sends a fence and waits for it: then everything sent before it has reached the simulator.
    bool fence() {
        const std::size_t before = server.receivedFrames().size();
        const int wasOn = link.sendSwitch();
        link.setSendSwitch(1);
        const bool written =
            link.write(static_cast<CommandCode>(kFenceCode), frame::padData()) == 1;
        link.setSendSwitch(wasOn);
        for (int i = 0; written && i < 1000; ++i) {
            const auto frames = server.receivedFrames();
            if (std::any_of(frames.begin() +
                                static_cast<std::ptrdiff_t>(std::min(before, frames.size())),
                            frames.end(), isFence)) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds{2});
        }
        ADD_FAILURE() << "the fence never reached the simulator";
        return false;
    }

    // The command codes the simulator accepted since `from`.
    std::vector<std::uint8_t> codesSince(std::size_t from) const {
        std::vector<std::uint8_t> codes;
        const auto frames = sent();
        for (std::size_t i = from; i < frames.size(); ++i) {
            codes.push_back(frames[i][frame::kCodeOffset]);
        }
        return codes;
    }
    // The read types requested since `from`.
    std::vector<std::uint8_t> readsSince(std::size_t from) const {
        std::vector<std::uint8_t> types;
        const auto frames = sent();
        for (std::size_t i = from; i < frames.size(); ++i) {
            if (frames[i][frame::kCodeOffset] == 0) {
                types.push_back(frames[i][frame::kDataOffset]);
            }
        }
        return types;
    }
    std::size_t framesSoFar() const { return sent().size(); }
    // Writes get no answer, so the simulator may still be reading what was just sent.
    void waitForFrames(std::size_t count) const {
        for (int i = 0; i < 200 && framesSoFar() < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds{10});
        }
    }
};

// Over the pseudo-terminal only.
struct SimLinkFixture : ::testing::Test, SimLink {
    SimLinkFixture() : SimLink(LinkKind::Pty) {}
    void SetUp() override { connect(); }
};

// Once over each link.
struct EachLinkFixture : ::testing::TestWithParam<LinkKind>, SimLink {
    EachLinkFixture() : SimLink(GetParam()) {}
    void SetUp() override { connect(); }
};

} // namespace korvane::test
