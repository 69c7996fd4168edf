#include "core/link/ParameterMirror.h"

#include "core/link/PlanEntry.h"
#include "core/link/ResolutionTable.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace korvane;

TEST(ParameterMirror, DefaultsForFullHd) {
    ParameterMirror m;
    std::memset(&m, 0xAB, sizeof m);
    ASSERT_TRUE(applyMirrorDefaults(m, 11));
    EXPECT_EQ(m.p1OutX, 0);
    EXPECT_EQ(m.p1OutY, 0);
    EXPECT_EQ(m.p1OutWidth, 1920);
    EXPECT_EQ(m.p1OutHeight, 1080);
    EXPECT_EQ(m.p2Width, 624);
    EXPECT_EQ(m.p2Height, 266);
    EXPECT_EQ(m.p2X, 0);
    EXPECT_EQ(m.volume, 30);
    EXPECT_EQ(m.soundOn, 1);
    EXPECT_EQ(m.pq[pq::kOutputResolution], 11);
    EXPECT_EQ(m.pq[pq::kBrightness], 50);
    EXPECT_EQ(m.pq[pq::kContrast], 58);
    EXPECT_EQ(m.pq[pq::kColour], 60);
    EXPECT_EQ(m.pq[pq::kSharpness], 24);
    EXPECT_EQ(m.switchState[sw::kTopLayer], 1);
    EXPECT_EQ(m.deviceInfo[0], 14);
    EXPECT_EQ(m.deviceInfo[2], 255);
    EXPECT_EQ(m.p1InWidth, 1024);
    EXPECT_EQ(m.p1InPairHeight, 768);
    EXPECT_EQ(m.freezeArea, 1);
    EXPECT_EQ(m.overlayOn, 1);
    const std::uint8_t audio[8] = {0, 0, 1, 0, 8, 0, 14, 0};
    EXPECT_EQ(std::memcmp(m.audioPorts, audio, 8), 0);
    // Fill bytes and the plan table are zero, so a template file holds no stale bytes.
    EXPECT_EQ(m.fill18[0] | m.fill43 | m.fill106[1] | m.unused185, 0);
    EXPECT_EQ(m.plans[63].index, 0);
}

TEST(ParameterMirror, DefaultsForResolution6) {
    ParameterMirror m{};
    ASSERT_TRUE(applyMirrorDefaults(m, kDefaultResolution));
    EXPECT_EQ(m.p1OutWidth, 1280);
    EXPECT_EQ(m.p1OutHeight, 1024);
}

TEST(ParameterMirror, UnknownResolutionChangesNothing) {
    ParameterMirror m;
    std::memset(&m, 0x5A, sizeof m);
    const ParameterMirror before = m;
    EXPECT_FALSE(applyMirrorDefaults(m, 20));
    EXPECT_EQ(std::memcmp(&m, &before, sizeof m), 0);
}

TEST(ParameterMirror, UnpackMainPayload) {
    std::vector<std::uint8_t> p(21);
    for (std::size_t i = 0; i < p.size(); ++i) {
        p[i] = static_cast<std::uint8_t>(100 + i);
    }
    ParameterMirror m{};
    ASSERT_TRUE(unpackMain(m, p));
    EXPECT_EQ(m.pq[pq::kOutputResolution], 100);
    EXPECT_EQ(m.pq[pq::kBrightness], 101);
    EXPECT_EQ(m.pq[pq::kImageMode], 105);
    EXPECT_EQ(m.pq[pq::kSceneMode], 106);
    EXPECT_EQ(m.pq[pq::kNoiseReduction3D], 107);
    EXPECT_EQ(m.pq[pq::kBlackExtension], 108);
    EXPECT_EQ(m.pq[pq::kVgaEnhancement], 109);
    EXPECT_EQ(m.pq[pq::kDviEnhancement], 110);
    EXPECT_EQ(m.pq[pq::kColourTemperature], 111);
    EXPECT_EQ(m.pq[pq::kBlueGain], 114);
    EXPECT_EQ(m.pq[pq::kGamma], 115);
    EXPECT_EQ(m.seamless, 117);
    EXPECT_EQ(m.soundOn, 118);
    EXPECT_EQ(m.volume, 119);
    EXPECT_EQ(m.freezeArea, 120);
    EXPECT_EQ(m.pq[pq::kPicture1Source], 0) << "p16 is not used";
    EXPECT_FALSE(unpackMain(m, std::span(p).first(20)));
}

TEST(ParameterMirror, UnpackWindowsClearsTheSizePair) {
    ParameterMirror m{};
    applyMirrorDefaults(m, 6);
    const std::vector<std::uint8_t> p1 = {0x00, 0x10, 0x00, 0x20, 0x04, 0x00, 0x03, 0x00, 9,
                                          9,    9,    9,    0x07, 0x80, 0x04, 0x38, 1};
    ASSERT_TRUE(unpackPicture1Input(m, p1));
    EXPECT_EQ(m.p1InX, 16);
    EXPECT_EQ(m.p1InY, 32);
    EXPECT_EQ(m.p1InWidth, 1024);
    EXPECT_EQ(m.p1InHeight, 768);
    EXPECT_EQ(m.p1InPairWidth, 0);
    EXPECT_EQ(m.p1InPairHeight, 0);
    EXPECT_EQ(m.captureMode, 1);
    const auto limits = inputWindowLimits(p1);
    EXPECT_EQ(limits.horizontal, 1920);
    EXPECT_EQ(limits.vertical, 1080);
    ASSERT_TRUE(unpackPicture2Input(m, std::span(p1).first(16)));
    EXPECT_EQ(m.p2InPairWidth, 0);
    EXPECT_EQ(m.p2InWidth, 1024);
    const std::vector<std::uint8_t> p3 = {0x00, 0x01, 0x00, 0x02, 0x05, 0x00, 0x04, 0x00, 11};
    ASSERT_TRUE(unpackPicture1Output(m, p3));
    EXPECT_EQ(m.p1OutX, 1);
    EXPECT_EQ(m.p1OutY, 2);
    EXPECT_EQ(m.p1OutWidth, 1280);
    EXPECT_EQ(m.p1OutHeight, 1024);
    EXPECT_EQ(m.pq[pq::kPicture1Source], 11);
}

TEST(ParameterMirror, UnpackPicture2AndByteGroups) {
    ParameterMirror m{};
    const std::vector<std::uint8_t> p4 = {14, 1, 3, 1, 2, 1, 0, 10,  20, 30,
                                          0,  5, 0, 6, 1, 0, 0, 200, 1};
    ASSERT_TRUE(unpackPicture2(m, p4));
    EXPECT_EQ(m.p2Source, 14);
    EXPECT_EQ(m.pipOn, 1);
    EXPECT_EQ(m.transparency, 3);
    EXPECT_EQ(m.overlayMode, 2);
    EXPECT_EQ(m.overlayAboveBelow, 1);
    EXPECT_EQ(m.overlayGreen, 20);
    EXPECT_EQ(m.p2X, 5);
    EXPECT_EQ(m.p2Y, 6);
    EXPECT_EQ(m.p2Width, 256);
    EXPECT_EQ(m.p2Height, 200);
    EXPECT_EQ(m.autoSwitch, 1);

    const std::vector<std::uint8_t> six = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(unpackClock(m, six));
    ASSERT_TRUE(unpackSwitchState(m, six));
    ASSERT_TRUE(unpackDeviceInfo(m, six));
    ASSERT_TRUE(unpackAudioPorts(m, six));
    ASSERT_TRUE(unpackPlanHeader(m, six));
    ASSERT_TRUE(unpackFade(m, std::span(six).first(3)));
    EXPECT_EQ(m.clock[5], 6);
    EXPECT_EQ(m.switchState[sw::kTopLayer], 6);
    EXPECT_EQ(m.deviceInfo[4], 5);
    EXPECT_EQ(m.audioPorts[7], 8);
    EXPECT_EQ(m.planHeader[1], 2);
    EXPECT_EQ(m.fade[1], 2);
    EXPECT_EQ(m.unused185, 0) << "the audio pairs stop at their eighth byte";
    EXPECT_FALSE(unpackAudioPorts(m, std::span(six).first(7)));
}
