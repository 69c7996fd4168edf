#include "CtlRunner.h"
#include "tools/CommandCatalogue.h"

#include <gtest/gtest.h>
#include <set>

using namespace korvane;
using korvane::test::CtlRunner;

namespace {

struct FrameRow {
    std::vector<std::string> words; // after "send"
    std::uint8_t code;
    const char* data;
};

// One row per catalogue entry at least; data bytes worked out by hand from the command table.
// The mirror starts from the desktop defaults (colour temperature 0, gains 50).
const std::vector<FrameRow> kFrames = {
    {{"TemplateSlot", "1", "3"}, 0x01, "01 03 55 55 55 55 55 55"},
    {{"SetOutputResolution", "11"}, 0x02, "0B 55 55 55 55 55 55 55"},
    {{"SetOutputResolutionCustom", "1280", "1024", "60"}, 0x02, "80 01 05 00 04 00 00 3C"},
    {{"SetPictureQuality", "Brightness", "60"}, 0x03, "00 00 3C 55 55 55 55 55"},
    {{"setpicturequality", "gamma", "0x20"}, 0x03, "0B 00 20 55 55 55 55 55"},
    {{"SetPictureQuality", "8", "5"}, 0x03, "08 00 05 32 32 32 55 55"},
    {{"SetPictureQuality", "RedGain", "70"}, 0x03, "08 00 00 46 32 32 55 55"},
    {{"SetPicture1OutputWindow", "0", "0", "1920", "1080"}, 0x04, "00 00 00 00 07 80 04 38"},
    {{"SetPicture2OutputWindow", "100", "50", "624", "266"}, 0x05, "00 64 00 32 02 70 01 0A"},
    {{"SetPipMode", "1", "2", "3"}, 0x06, "01 02 03 55 55 55 55 55"},
    {{"SetSeamlessSwitch", "1"}, 0x08, "01 55 55 55 55 55 55 55"},
    {{"SetAudio", "0", "40"}, 0x09, "00 28 55 55 55 55 55 55"},
    {{"SetCaptureMode", "1", "0"}, 0x0E, "01 55 55 55 00 55 55 55"},
    // Without limits the window goes out at x = y = 0.
    {{"SetPicture1InputWindow", "10", "20", "100", "200"}, 0x0F, "00 00 00 00 00 64 00 C8"},
    {{"SetPicture1InputWindow", "10", "20", "100", "200", "1024", "768"},
     0x0F,
     "00 0A 00 14 00 64 00 C8"},
    // Right and bottom exactly on the limits still fit.
    {{"SetPicture2InputWindow", "0", "0", "800", "600", "800", "600"},
     0x10,
     "00 00 00 00 03 20 02 58"},
    {{"SelectInput", "2", "HDMI"}, 0x11, "01 0B 55 55 55 55 55 55"},
    {{"SelectInput", "1", "dvi"}, 0x11, "00 0E 55 55 55 55 55 55"},
    {{"SelectInput", "1", "12"}, 0x11, "00 0C 55 55 55 55 55 55"},
    {{"AutoAdjust"}, 0x12, "55 55 55 55 55 55 55 55"},
    {{"FactoryReset"}, 0x13, "55 55 55 55 55 55 55 55"},
    {{"SetOverlay", "1", "0", "1", "1", "10", "20", "30"}, 0x15, "01 00 01 01 0A 14 1E 55"},
    {{"SetTopLayer", "1"}, 0x16, "00 01 55 55 55 55 55 00"},
    {{"SetFreezeArea", "0"}, 0x18, "00 55 55 55 55 55 55 55"},
    {{"SetFreeze", "1"}, 0x19, "01 55 55 55 55 55 55 55"},
    {{"SetClock", "2014-03-05 06:07:08"}, 0x1B, "01 03 05 06 07 08 55 55"},
    {{"SetClock", "2268-12-31T23:59:59"}, 0x1B, "FF 0C 1F 17 3B 3B 55 55"},
    {{"SetClock", "now"}, 0x1B, "07 02 1D 0D 0E 0F 55 55"},
    {{"SetInputOptions", "1", "2"}, 0x20, "01 02 55 55 55 55 55 55"},
    {{"SetSwitchEffect", "0", "1", "3"}, 0x22, "00 01 03 55 55 55 55 55"},
    {{"SetSwitchEffect", "2", "1"}, 0x22, "02 01 00 55 55 55 55 55"},
    {{"LocatePoint", "300", "200", "1"}, 0x23, "01 2C 00 C8 01 55 55 55"},
    {{"SetAudioPorts", "1", "2", "0", "1"}, 0x24, "00 01 01 02 08 00 0E 01"},
    {{"WritePlanEntry", "5", "1", "3", "5", "6", "7", "8", "0x0F1F", "2", "11", "1", "9"},
     0x25,
     "05 31 F2 C5 1C 1F 59 91"},
    {{"SetPlanState", "0", "1"}, 0x26, "00 01 55 55 55 55 55 55"},
    {{"ShowTestPattern", "7"}, 0x7F, "03 07 55 55 55 55 55 55"},
};

std::vector<std::string> sendLine(const std::vector<std::string>& words) {
    std::vector<std::string> args = {"--device", "/dev/ttyTEST", "send"};
    args.insert(args.end(), words.begin(), words.end());
    return args;
}

TEST(SendCommand, EveryRowSendsItsFrameAndPrintsIt) {
    for (const auto& row : kFrames) {
        SCOPED_TRACE(row.words[0] + " " + std::to_string(row.words.size() - 1) + " args");
        CtlRunner ctl;
        const auto r = ctl.run(sendLine(row.words));
        const auto frame = test::expectedFrame(row.code, test::parseHex(row.data));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(test::hex(ctl.wire->written()), test::hex(frame));
        EXPECT_EQ(r.out, test::hex(frame) + "\n");
    }
}

TEST(SendCommand, EveryCatalogueEntryHasAFrameRow) {
    std::set<std::string> covered;
    for (const auto& row : kFrames) {
        covered.insert(std::string(ctl::findCommand(row.words[0])->name));
    }
    for (const auto& entry : ctl::catalogue()) {
        EXPECT_TRUE(covered.contains(std::string(entry.name))) << entry.name;
    }
}

TEST(SendCommand, BrightnessFrameIsTheKnownOne) {
    CtlRunner ctl;
    const auto r = ctl.run(sendLine({"SetPictureQuality", "Brightness", "60"}));
    EXPECT_EQ(r.out, "ED CB 00 03 00 00 3C 55 55 55 55 55 E8\n");
}

TEST(SendCommand, WindowOutsideItsLimitsIsReportedAsNotSent) {
    CtlRunner ctl;
    const auto r =
        ctl.run(sendLine({"SetPicture1InputWindow", "0", "0", "1025", "768", "1024", "768"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not sent"), std::string::npos) << r.err;
    EXPECT_TRUE(ctl.wire->writes.empty());
    EXPECT_TRUE(r.out.empty());
}

TEST(SendCommand, FailedWriteIsReported) {
    CtlRunner ctl;
    ctl.wire->failWrites = true;
    const auto r = ctl.run(sendLine({"SetFreeze", "1"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("SetFreeze: sending failed"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

} // namespace
