#include "core/commands/CommandFacade.h"

#include "core/link/DeviceLink.h"
#include "core/link/ResolutionTable.h"
#include "support/Hex.h"
#include "support/MemoryTransport.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace korvane;
using test::hex;

namespace {

struct CommandFacadeTest : ::testing::Test {
    std::shared_ptr<test::MemoryLine> wire = std::make_shared<test::MemoryLine>();
    DeviceLink link{std::make_unique<test::MemoryTransport>(wire), nullptr, nullptr};
    ParameterMirror mirror{};
    CommandFacade facade{link, mirror};
    CommandFacadeTest() {
        applyMirrorDefaults(mirror, kDefaultResolution);
        link.setSleeper([](std::chrono::milliseconds) {});
        link.setSendSwitch(1);
    }
};

struct FrameCase {
    const char* name;
    std::function<int(CommandFacade&)> op;
    const char* frame;
};

// Known-good frames, checksums worked out by hand.
const std::vector<FrameCase> kFrames = {
    {"brightness 60",
     [](CommandFacade& f) { return f.setPictureQuality(PictureQualityItem::Brightness, 60); },
     "ED CB 00 03 00 00 3C 55 55 55 55 55 E8"},
    {"picture 1 output window 1920x1080",
     [](CommandFacade& f) {
         return f.setPicture1OutputWindow({0, 0, 1920, 1080});
     },
     "ED CB 00 04 00 00 00 00 07 80 04 38 C7"},
    {"clock 2014-03-05 06:07:08", [](CommandFacade& f) { return f.setClock(2014, 3, 5, 6, 7, 8); },
     "ED CB 00 1B 01 03 05 06 07 08 55 55 E3"},
    {"clock bytes as given",
     [](CommandFacade& f) {
         const std::uint8_t bytes[6] = {24, 5, 6, 7, 8, 9};
         return f.setClockBytes(bytes);
     },
     "ED CB 00 1B 18 05 06 07 08 09 55 55 00"},
    {"picture 2 input HDMI", [](CommandFacade& f) { return f.selectInput(Picture::Two, 11); },
     "ED CB 00 11 01 0B 55 55 55 55 55 55 1B"},
    {"recall slot 3", [](CommandFacade& f) { return f.templateSlot(1, 3); },
     "ED CB 00 01 01 03 55 55 55 55 55 55 03"},
    {"resolution 11", [](CommandFacade& f) { return f.setOutputResolution(11); },
     "ED CB 00 02 0B 55 55 55 55 55 55 55 60"},
    {"custom 1280x1024 60",
     [](CommandFacade& f) { return f.setCustomOutputResolution(1280, 1024, 60); },
     "ED CB 00 02 80 01 05 00 04 00 00 3C C8"},
    {"auto adjust", [](CommandFacade& f) { return f.autoAdjust(); },
     "ED CB 00 12 55 55 55 55 55 55 55 55 BA"},
    {"top layer 2", [](CommandFacade& f) { return f.setTopLayer(2); },
     "ED CB 00 16 00 02 55 55 55 55 55 00 C1"},
    {"capture p1 on, p2 off", [](CommandFacade& f) { return f.setCaptureMode(1, 0); },
     "ED CB 00 0E 01 55 55 55 00 55 55 55 0D"},
    {"test pattern 7", [](CommandFacade& f) { return f.showTestPattern(7); },
     "ED CB 00 7F 03 07 55 55 55 55 55 55 87"},
    {"locate 300,200 mode 1", [](CommandFacade& f) { return f.locatePoint(300, 200, 1); },
     "ED CB 00 23 01 2C 00 C8 01 55 55 55 18"},
};

} // namespace

TEST_F(CommandFacadeTest, KnownFrames) {
    for (const auto& c : kFrames) {
        wire->writes.clear();
        EXPECT_EQ(c.op(facade), 1) << c.name;
        ASSERT_EQ(wire->writes.size(), 1u) << c.name;
        EXPECT_EQ(hex(wire->writes[0]), c.frame) << c.name;
    }
}

TEST_F(CommandFacadeTest, SendSwitchOffReportsSuccessUpdatesMirrorSendsNothing) {
    link.setSendSwitch(0);
    EXPECT_EQ(facade.setVolume(77), 1);
    EXPECT_EQ(facade.selectInput(Picture::One, 8), 1);
    EXPECT_EQ(facade.setClock(2020, 1, 2, 3, 4, 5), 1);
    EXPECT_TRUE(wire->writes.empty());
    EXPECT_EQ(mirror.volume, 77);
    EXPECT_EQ(mirror.pq[pq::kPicture1Source], 8);
    EXPECT_EQ(mirror.clock[0], 7);
}

TEST_F(CommandFacadeTest, ClosedLinkFailsButKeepsTheMirrorValue) {
    wire->open = false;
    EXPECT_EQ(facade.setPictureQuality(PictureQualityItem::Contrast, 42), 0);
    EXPECT_EQ(mirror.pq[pq::kContrast], 42);
}

TEST_F(CommandFacadeTest, ColourTemperatureCarriesAllFourValues) {
    facade.setColourTemperatureOrGain(pq::kGreenGain, 70);
    ASSERT_EQ(wire->writes.size(), 1u);
    EXPECT_EQ(hex(std::span(wire->writes[0]).subspan(3, 8)), "03 08 00 00 32 46 32 55");
    EXPECT_EQ(mirror.pq[pq::kGreenGain], 70);
    EXPECT_EQ(facade.setColourTemperatureOrGain(pq::kBlackExtension, 1), 0) << "not a colour index";
}

TEST_F(CommandFacadeTest, ModeCommandsSendTheirSiblingsFromTheMirror) {
    mirror.transparency = 5;
    mirror.autoSwitch = 1;
    facade.setPipOn(1);
    mirror.soundOn = 0;
    facade.setVolume(40);
    ASSERT_EQ(wire->writes.size(), 2u);
    EXPECT_EQ(hex(std::span(wire->writes[0]).subspan(3, 4)), "06 01 05 01");
    EXPECT_EQ(hex(std::span(wire->writes[1]).subspan(3, 3)), "09 00 28");
}

TEST_F(CommandFacadeTest, InputWindowLimits) {
    // Stored always; sent only while right and bottom stay within the limits.
    EXPECT_EQ(facade.setPicture1InputWindow({10, 20, 1034, 788}, 1024, 768), 1);
    EXPECT_TRUE(wire->writes.empty());
    EXPECT_EQ(mirror.p1InX, 10);
    EXPECT_EQ(mirror.p1InWidth, 1024);
    facade.setPicture2InputWindow({0, 0, 100, 100}, -5, 768);
    EXPECT_TRUE(wire->writes.empty()) << "a negative limit counts as 0";
    facade.setPicture1InputWindow({0, 0, 1024, 768}, 1024, 768);
    ASSERT_EQ(wire->writes.size(), 1u);
    EXPECT_EQ(hex(std::span(wire->writes[0]).subspan(3, 9)), "0F 00 00 00 00 04 00 03 00");
    // Without limits the window goes out at the origin with the stored size.
    facade.setPicture2InputWindow({16, 8, 816, 608});
    EXPECT_EQ(hex(std::span(wire->writes[1]).subspan(3, 9)), "10 00 00 00 00 03 20 02 58");
    EXPECT_EQ(mirror.p2InX, 16);
}

TEST_F(CommandFacadeTest, AudioPortsAndInputOptions) {
    facade.setAudioPorts(1, 2, 3, 0);
    EXPECT_EQ(hex(std::span(wire->writes[0]).subspan(3, 9)), "24 00 01 01 02 08 03 0E 00");
    mirror.hdmiOverscanOff = 7;
    mirror.dviAnyMode = 1;
    facade.setInputOptions();
    EXPECT_EQ(hex(std::span(wire->writes[1]).subspan(3, 3)), "20 01 01");
}
