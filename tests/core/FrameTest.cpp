#include "core/link/Frame.h"

#include "MemoryTransport.h"
#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/ResolutionTable.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace korvane;

namespace {

std::string hex(std::span<const std::uint8_t> bytes) {
    std::string s;
    char item[4];
    for (const auto b : bytes) {
        std::snprintf(item, sizeof item, "%s%02X", s.empty() ? "" : " ", b);
        s += item;
    }
    return s;
}

struct FacadeFixture : ::testing::Test {
    test::MemoryTransport::Shared wire;
    DeviceLink link{std::make_unique<test::MemoryTransport>(wire), nullptr, nullptr};
    ParameterMirror mirror{};
    CommandFacade facade{link, mirror};
    FacadeFixture() {
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

// The checksum rule: a two-data-byte command is cc d0 d1 plus six pads.
std::uint8_t twoByteChecksum(std::uint8_t cc, std::uint8_t d0, std::uint8_t d1) {
    return static_cast<std::uint8_t>((cc + d0 + d1 + 6 * 0x55) & 0xFF);
}

} // namespace

TEST_F(FacadeFixture, KnownFrames) {
    for (const auto& c : kFrames) {
        wire.written.clear();
        EXPECT_EQ(c.op(facade), 1) << c.name;
        ASSERT_EQ(wire.written.size(), 1u) << c.name;
        EXPECT_EQ(hex(wire.written[0]), c.frame) << c.name;
    }
}

TEST(Frame, TwoByteChecksumRuleHoldsForEveryValue) {
    for (unsigned d0 = 0; d0 < 256; d0 += 17) {
        for (unsigned d1 = 0; d1 < 256; d1 += 13) {
            frame::DataBytes d = frame::padData();
            d[0] = static_cast<std::uint8_t>(d0);
            d[1] = static_cast<std::uint8_t>(d1);
            const auto f = frame::buildCommand(0x11, d);
            EXPECT_EQ(f[12], twoByteChecksum(0x11, d[0], d[1]));
        }
    }
}

TEST(Frame, ReplyAcceptance) {
    // A well-formed 9-byte identity reply, then the ways it can be wrong.
    const std::vector<std::uint8_t> good = {0xED, 0xCB, 0x00, 0x00, 0x03, 'T', 'R', 'S', 0xFC};
    EXPECT_TRUE(frame::acceptReply(good));
    auto bad = good;
    bad[0] = 0xEE;
    EXPECT_FALSE(frame::acceptReply(bad)) << "header 1";
    bad = good;
    bad[1] = 0xCA;
    EXPECT_FALSE(frame::acceptReply(bad)) << "header 2";
    bad = good;
    bad[8] ^= 1;
    EXPECT_FALSE(frame::acceptReply(bad)) << "checksum";
    bad = good;
    bad[4] = 5; // N + 3 > L - 2
    EXPECT_FALSE(frame::acceptReply(bad)) << "payload length beyond the frame";
    // A length byte naming a shorter payload is refused even when the sum over that shorter
    // payload matches the last byte (0x00 + 0x00 + 0x01 + 'T' = 0x55; 0x02 + 'T' + 'R' = 0xA8).
    const std::vector<std::uint8_t> oneByte = {0xED, 0xCB, 0x00, 0x00, 0x01, 'T', 'R', 'S', 0x55};
    EXPECT_FALSE(frame::acceptReply(oneByte));
    const std::vector<std::uint8_t> twoBytes = {0xED, 0xCB, 0x00, 0x00, 0x02, 'T', 'R', 'S', 0xA8};
    EXPECT_FALSE(frame::acceptReply(twoBytes));
    // N = L - 5 sums over the checksum byte itself; bytes 2..7 adding up to 0 (0xFC + 0x04)
    // made any last byte match.
    const std::vector<std::uint8_t> intoChecksum = {0xED, 0xCB, 0x00, 0xFC, 0x04,
                                                    0x00, 0x00, 0x00, 0x77};
    EXPECT_FALSE(frame::acceptReply(intoChecksum));
    EXPECT_FALSE(frame::acceptReply(std::span<const std::uint8_t>{}));
    const std::vector<std::uint8_t> tiny = {0xED, 0xCB, 0x00};
    EXPECT_FALSE(frame::acceptReply(tiny));
}

TEST(Frame, AnyBytesAreHandledWithoutCrashing) {
    std::uint32_t x = 12345;
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(round % 40));
        for (auto& b : bytes) {
            x = x * 1664525u + 1013904223u;
            b = static_cast<std::uint8_t>(x >> 24);
        }
        if (bytes.size() > 2 && round % 3 == 0) {
            bytes[0] = 0xED;
            bytes[1] = 0xCB;
        }
        (void)frame::acceptReply(bytes);
        (void)replyPayload(bytes);
    }
    SUCCEED();
}

TEST_F(FacadeFixture, SendSwitchOffReportsSuccessUpdatesMirrorSendsNothing) {
    link.setSendSwitch(0);
    EXPECT_EQ(facade.setVolume(77), 1);
    EXPECT_EQ(facade.selectInput(Picture::One, 8), 1);
    EXPECT_EQ(facade.setClock(2020, 1, 2, 3, 4, 5), 1);
    EXPECT_TRUE(wire.written.empty());
    EXPECT_EQ(mirror.volume, 77);
    EXPECT_EQ(mirror.pq[pq::kPicture1Source], 8);
    EXPECT_EQ(mirror.clock[0], 7);
}

TEST_F(FacadeFixture, ClosedLinkFailsButKeepsTheMirrorValue) {
    wire.open = false;
    EXPECT_EQ(facade.setPictureQuality(PictureQualityItem::Contrast, 42), 0);
    EXPECT_EQ(mirror.pq[pq::kContrast], 42);
}

TEST_F(FacadeFixture, ColourTemperatureCarriesAllFourValues) {
    facade.setColourTemperatureOrGain(pq::kGreenGain, 70);
    ASSERT_EQ(wire.written.size(), 1u);
    EXPECT_EQ(hex(std::span(wire.written[0]).subspan(3, 8)), "03 08 00 00 32 46 32 55");
    EXPECT_EQ(mirror.pq[pq::kGreenGain], 70);
    EXPECT_EQ(facade.setColourTemperatureOrGain(pq::kBlackExtension, 1), 0) << "not a colour index";
}

TEST_F(FacadeFixture, ModeCommandsSendTheirSiblingsFromTheMirror) {
    mirror.transparency = 5;
    mirror.autoSwitch = 1;
    facade.setPipOn(1);
    mirror.soundOn = 0;
    facade.setVolume(40);
    ASSERT_EQ(wire.written.size(), 2u);
    EXPECT_EQ(hex(std::span(wire.written[0]).subspan(3, 4)), "06 01 05 01");
    EXPECT_EQ(hex(std::span(wire.written[1]).subspan(3, 3)), "09 00 28");
}

TEST_F(FacadeFixture, InputWindowLimits) {
    // Stored always; sent only while right and bottom stay within the limits.
    EXPECT_EQ(facade.setPicture1InputWindow({10, 20, 1034, 788}, 1024, 768), 1);
    EXPECT_TRUE(wire.written.empty());
    EXPECT_EQ(mirror.p1InX, 10);
    EXPECT_EQ(mirror.p1InWidth, 1024);
    facade.setPicture2InputWindow({0, 0, 100, 100}, -5, 768);
    EXPECT_TRUE(wire.written.empty()) << "a negative limit counts as 0";
    facade.setPicture1InputWindow({0, 0, 1024, 768}, 1024, 768);
    ASSERT_EQ(wire.written.size(), 1u);
    EXPECT_EQ(hex(std::span(wire.written[0]).subspan(3, 9)), "0F 00 00 00 00 04 00 03 00");
    // Without limits the window goes out at the origin with the stored size.
    facade.setPicture2InputWindow({16, 8, 816, 608});
    EXPECT_EQ(hex(std::span(wire.written[1]).subspan(3, 9)), "10 00 00 00 00 03 20 02 58");
    EXPECT_EQ(mirror.p2InX, 16);
}

TEST_F(FacadeFixture, AudioPortsAndInputOptions) {
    facade.setAudioPorts(1, 2, 3, 0);
    EXPECT_EQ(hex(std::span(wire.written[0]).subspan(3, 9)), "24 00 01 01 02 08 03 0E 00");
    mirror.hdmiOverscanOff = 7;
    mirror.dviAnyMode = 1;
    facade.setInputOptions();
    EXPECT_EQ(hex(std::span(wire.written[1]).subspan(3, 3)), "20 01 01");
}
