#include "core/link/ReadTypes.h"
#include "sim/SimPtyServer.h"
#include "support/Hex.h"
#include "support/RecordingSleeper.h"
#include "support/TempFolder.h"
#include "tools/CommandCatalogue.h"
#include "tools/CtlMain.h"
#include "tools/LinkOpener.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <thread>

using namespace korvane;

namespace {

struct CtlRun {
    int status;
    std::string out;
    std::string err;
};

// korvanectl against the simulator on a real pseudo-terminal, as an operator runs it.
struct KorvanectlPty : ::testing::Test {
    test::ProgramHome home;
    sim::SimPtyServer server;
    // The simulator answers at once: the processor's pacing pauses are noted and cut short.
    test::RecordingSleeper pacing;
    void SetUp() override { server.start(); }
    CtlRun ctl(std::vector<std::string> words) {
        std::vector<std::string> args = {"--device", server.devicePath()};
        args.insert(args.end(), words.begin(), words.end());
        std::ostringstream out, err;
        ctl::CtlEnvironment env;
        env.openLink = [this](const ctl::LinkOptions& options, MessageSink& messages,
                              std::string& error) {
            auto link = ctl::openDeviceLink(options, messages, error);
            if (link) {
                pacing.attach(*link);
            }
            return link;
        };
        const int status = ctl::runCtl(args, out, err, env);
        return {status, out.str(), err.str()};
    }
    // Writes get no answer, so the simulator may still be reading the frame korvanectl sent.
    void waitForFrames(std::size_t count) const {
        for (int i = 0; i < 200 && server.receivedFrames().size() < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds{10});
        }
    }
    std::string lastFrameHex() const { return test::hex(server.receivedFrames().back()); }
};

// Every name of the catalogue, with arguments an operator might give.
const std::vector<std::vector<std::string>> kSends = {
    {"TemplateSlot", "0", "4"},
    {"SetOutputResolution", "11"},
    {"SetOutputResolutionCustom", "1920", "1200", "60"},
    {"SetPictureQuality", "Contrast", "70"},
    {"SetPicture1OutputWindow", "0", "0", "1920", "1080"},
    {"SetPicture2OutputWindow", "100", "50", "624", "266"},
    {"SetPipMode", "1", "2", "0"},
    {"SetSeamlessSwitch", "1"},
    {"SetAudio", "1", "40"},
    {"SetCaptureMode", "1", "0"},
    {"SetPicture1InputWindow", "0", "0", "640", "480"},
    {"SetPicture2InputWindow", "0", "0", "640", "480", "1024", "768"},
    {"SelectInput", "1", "VGA"},
    {"AutoAdjust"},
    {"FactoryReset"},
    {"SetOverlay", "1", "0", "1", "1", "10", "20", "30"},
    {"SetTopLayer", "2"},
    {"SetFreezeArea", "0"},
    {"SetFreeze", "1"},
    {"SetClock", "2014-03-05 06:07:08"},
    {"SetInputOptions", "1", "0"},
    {"SetSwitchEffect", "0", "1", "3"},
    {"LocatePoint", "300", "200", "1"},
    {"SetAudioPorts", "1", "2", "0", "1"},
    {"WritePlanEntry", "5", "1", "3", "5", "6", "7", "8", "0x0F1F", "2", "11", "1", "9"},
    {"SetPlanState", "1", "0"},
    {"ShowTestPattern", "7"},
};

} // namespace

TEST_F(KorvanectlPty, EveryCommandReachesTheProcessorAsPrinted) {
    std::set<std::string> covered;
    for (const auto& words : kSends) {
        std::vector<std::string> line = {"send"};
        line.insert(line.end(), words.begin(), words.end());
        const std::size_t before = server.receivedFrames().size();
        const CtlRun r = ctl(line);
        ASSERT_EQ(r.status, 0) << words[0] << ": " << r.err;
        waitForFrames(before + 1);
        EXPECT_EQ(r.out, lastFrameHex() + "\n") << words[0];
        covered.insert(words[0]);
    }
    for (const auto& entry : ctl::catalogue()) {
        EXPECT_TRUE(covered.count(std::string(entry.name))) << entry.name;
    }
    EXPECT_EQ(server.state().mirror.overlayBlue, 30);
}

TEST_F(KorvanectlPty, EveryReadType) {
    for (unsigned type = 0; type <= readtype::kLast; ++type) {
        const auto info = readTypeInfo(static_cast<std::uint8_t>(type));
        const CtlRun r = ctl({"read", std::to_string(type)});
        if (!info) {
            EXPECT_EQ(r.status, 1) << type;
            EXPECT_FALSE(r.err.empty());
            EXPECT_EQ(server.receivedFrames().back()[4], type) << "the request went out";
            continue;
        }
        ASSERT_EQ(r.status, 0) << type << ": " << r.err;
        if (type == readtype::kPlanEntries) {
            EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 64);
            continue;
        }
        EXPECT_EQ(r.out.rfind("ED CB", 0), 0u) << type;
        EXPECT_EQ((r.out.size()) / 3, info->replyLength) << type << ": " << r.out;
    }
    EXPECT_EQ(ctl({"read", "17"}).status, 1);
}

TEST_F(KorvanectlPty, PlanEntriesReadBackAndFaultsFail) {
    ASSERT_EQ(ctl({"send", "WritePlanEntry", "2", "1", "3", "5", "6", "7", "8", "0x0F1F", "2", "11",
                   "1", "9"})
                  .status,
              0);
    const CtlRun entries = ctl({"read", "15", "2", "3"});
    ASSERT_EQ(entries.status, 0) << entries.err;
    EXPECT_EQ(std::count(entries.out.begin(), entries.out.end(), '\n'), 2);
    EXPECT_EQ(entries.out.rfind("02 ", 0), 0u) << entries.out;
    // Operands out of range are usage errors.
    EXPECT_EQ(ctl({"read", "15", "3", "2"}).status, 2) << "last before first";
    EXPECT_EQ(ctl({"read", "15", "0", "64"}).status, 2) << "beyond the table";

    sim::SimFaults faults;
    faults.badChecksum = {readtype::kClock};
    server.setFaults(faults);
    const CtlRun bad = ctl({"read", "10"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("10"), std::string::npos) << bad.err;
}
