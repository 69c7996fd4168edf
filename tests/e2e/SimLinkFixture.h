#pragma once

#include "SimPtyServer.h"
#include "commands/CommandFacade.h"
#include "commands/DeviceOperation.h"
#include "link/DeviceLink.h"
#include "link/ParameterMirror.h"
#include "link/ResolutionTable.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace korvane::test {

struct RecordingSink : MessageSink {
    std::vector<MessageId> ids;
    void report(MessageId id) override { ids.push_back(id); }
};

// The program's side (link, mirror, commands) over a real pseudo-terminal to the simulator.
struct SimLinkFixture : ::testing::Test {
    sim::SimPtyServer server;
    RecordingSink sink;
    DeviceLink link{nullptr, &sink};
    ParameterMirror mirror{};
    CommandFacade facade{link, mirror};
    OperationContext ctx{link, mirror, facade, &sink};

    void SetUp() override {
        server.start();
        ASSERT_EQ(link.configureSerialAndOpen({server.devicePath(), 999, 1, 115200}), 1);
        applyMirrorDefaults(mirror, kDefaultResolution);
        link.setSendSwitch(1);
    }

    // The command codes the simulator accepted since `from`.
    std::vector<std::uint8_t> codesSince(std::size_t from) const {
        std::vector<std::uint8_t> codes;
        const auto frames = server.receivedFrames();
        for (std::size_t i = from; i < frames.size(); ++i) {
            codes.push_back(frames[i][frame::kCodeOffset]);
        }
        return codes;
    }
    // The read types requested since `from`.
    std::vector<std::uint8_t> readsSince(std::size_t from) const {
        std::vector<std::uint8_t> types;
        const auto frames = server.receivedFrames();
        for (std::size_t i = from; i < frames.size(); ++i) {
            if (frames[i][frame::kCodeOffset] == 0) {
                types.push_back(frames[i][frame::kDataOffset]);
            }
        }
        return types;
    }
    std::size_t framesSoFar() const { return server.receivedFrames().size(); }
    // Writes get no answer, so the simulator may still be reading what was just sent.
    void waitForFrames(std::size_t count) const {
        for (int i = 0; i < 200 && framesSoFar() < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds{10});
        }
    }
};

} // namespace korvane::test
