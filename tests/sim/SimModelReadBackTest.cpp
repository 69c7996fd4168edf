#include "SimTestSupport.h"
#include "core/link/InputCodes.h"
#include "core/link/PayloadLayout.h"
#include "core/link/PlanEntry.h"
#include "sim/SimReplies.h"

#include <cstring>
#include <string>

namespace korvane::sim::test {
namespace {

// Writes go in through frames, come back out through reads and are unpacked with the program's
// own unpack functions, so both sides of every layout are exercised.
class SimModelReadBack : public testing::Test {
protected:
    void send(const frame::CommandFrame& f) { write(model, f); }
    ParameterMirror unpacked(std::uint8_t type,
                             bool (*unpack)(ParameterMirror&, std::span<const std::uint8_t>)) {
        ParameterMirror m{};
        const Bytes p = readPayloadOf(model, type);
        EXPECT_TRUE(unpack(m, p)) << "type " << int{type};
        return m;
    }

    std::shared_ptr<ManualTime> time = std::make_shared<ManualTime>();
    SimModel model = modelAt(time);
};

TEST_F(SimModelReadBack, MainParameters) {
    struct Quality {
        PictureQualityItem item;
        std::size_t index;
    };
    const Quality single[] = {
        {PictureQualityItem::Brightness, pq::kBrightness},
        {PictureQualityItem::Contrast, pq::kContrast},
        {PictureQualityItem::Colour, pq::kColour},
        {PictureQualityItem::Sharpness, pq::kSharpness},
        {PictureQualityItem::NoiseReduction3D, pq::kNoiseReduction3D},
        {PictureQualityItem::VgaEnhancement, pq::kVgaEnhancement},
        {PictureQualityItem::SceneMode, pq::kSceneMode},
        {PictureQualityItem::BlackExtension, pq::kBlackExtension},
        {PictureQualityItem::DviEnhancement, pq::kDviEnhancement},
        {PictureQualityItem::ImageMode, pq::kImageMode},
        {PictureQualityItem::Gamma, pq::kGamma},
    };
    std::uint8_t value = 101;
    for (const auto& q : single) {
        send(command(CommandCode::SetPictureQuality,
                     {static_cast<std::uint8_t>(q.item), 0, value++}));
    }
    send(command(
        CommandCode::SetPictureQuality,
        {static_cast<std::uint8_t>(PictureQualityItem::ColourTemperature), 0, 3, 61, 62, 63}));
    send(command(CommandCode::SetOutputResolution, {11}));
    send(command(CommandCode::SetSeamlessSwitch, {1}));
    send(command(CommandCode::SetAudio, {0, 77}));
    send(command(CommandCode::SetFreezeArea, {0}));

    const ParameterMirror m = unpacked(readtype::kMain, unpackMain);
    value = 101;
    for (const auto& q : single) {
        EXPECT_EQ(m.pq[q.index], value++) << "sub-code " << int{static_cast<std::uint8_t>(q.item)};
    }
    EXPECT_EQ(m.pq[pq::kColourTemperature], 3);
    EXPECT_EQ(m.pq[pq::kRedGain], 61);
    EXPECT_EQ(m.pq[pq::kGreenGain], 62);
    EXPECT_EQ(m.pq[pq::kBlueGain], 63);
    EXPECT_EQ(m.pq[pq::kOutputResolution], 11);
    EXPECT_EQ(m.seamless, 1);
    EXPECT_EQ(m.soundOn, 0);
    EXPECT_EQ(m.volume, 77);
    EXPECT_EQ(m.freezeArea, 0);
}

TEST_F(SimModelReadBack, CustomOutputResolutionIsKept) {
    send(command(CommandCode::SetOutputResolution,
                 {kCustomResolutionCode, 1, hi(1920), lo(1920), hi(1200), lo(1200), 0, 50}));
    EXPECT_EQ(unpacked(readtype::kMain, unpackMain).pq[pq::kOutputResolution],
              kCustomResolutionCode);
    EXPECT_EQ(model.state().customWidth, 1920);
    EXPECT_EQ(model.state().customHeight, 1200);
    EXPECT_EQ(model.state().customRefresh, 50);
}

TEST_F(SimModelReadBack, InputWindowsAndCaptureMode) {
    send(command(CommandCode::SetPicture1InputWindow,
                 {hi(300), lo(300), 0, 2, hi(1600), lo(1600), hi(900), lo(900)}));
    send(command(CommandCode::SetPicture2InputWindow,
                 {0, 5, hi(260), lo(260), hi(640), lo(640), hi(480), lo(480)}));
    send(command(CommandCode::SetCaptureMode, {1, 0x55, 0x55, 0x55, 0}));

    const ParameterMirror m1 = unpacked(readtype::kPicture1Input, unpackPicture1Input);
    EXPECT_EQ(m1.p1InX, 300);
    EXPECT_EQ(m1.p1InY, 2);
    EXPECT_EQ(m1.p1InWidth, 1600);
    EXPECT_EQ(m1.p1InHeight, 900);
    EXPECT_EQ(m1.captureMode, 1);

    const ParameterMirror m2 = unpacked(readtype::kPicture2Input, unpackPicture2Input);
    EXPECT_EQ(m2.p2InX, 5);
    EXPECT_EQ(m2.p2InY, 260);
    EXPECT_EQ(m2.p2InWidth, 640);
    EXPECT_EQ(m2.p2InHeight, 480);
}

struct LimitCase {
    std::uint8_t input;
    int width;
    int height;
};

class SimModelInputLimits : public testing::TestWithParam<LimitCase> {};

TEST_P(SimModelInputLimits, ReadsReportTheResolutionOfTheSelectedInput) {
    const auto& c = GetParam();
    SimModel model;
    write(model, command(CommandCode::SelectInput, {0, c.input}));
    write(model, command(CommandCode::SelectInput, {1, c.input}));
    for (const std::uint8_t type : {readtype::kPicture1Input, readtype::kPicture2Input}) {
        const InputWindowLimits limits = inputWindowLimits(readPayloadOf(model, type));
        EXPECT_EQ(limits.horizontal, c.width) << "type " << int{type};
        EXPECT_EQ(limits.vertical, c.height) << "type " << int{type};
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, SimModelInputLimits,
                         testing::Values(LimitCase{input::kAv1, 720, 576},
                                         LimitCase{input::kAv2, 720, 576},
                                         LimitCase{input::kVga, 1024, 768},
                                         LimitCase{input::kHdmi, 1920, 1080},
                                         LimitCase{input::kDp, 1920, 1080},
                                         LimitCase{input::kDvi, 1920, 1080}, LimitCase{5, 0, 0}));

TEST_F(SimModelReadBack, PictureOneOutputAndSource) {
    send(command(CommandCode::SetPicture1OutputWindow,
                 {0, 10, hi(300), lo(300), hi(1920), lo(1920), hi(1080), lo(1080)}));
    send(command(CommandCode::SelectInput, {0, input::kDvi}));
    const ParameterMirror m = unpacked(readtype::kPicture1Output, unpackPicture1Output);
    EXPECT_EQ(m.p1OutX, 10);
    EXPECT_EQ(m.p1OutY, 300);
    EXPECT_EQ(m.p1OutWidth, 1920);
    EXPECT_EQ(m.p1OutHeight, 1080);
    EXPECT_EQ(m.pq[pq::kPicture1Source], input::kDvi);
}

TEST_F(SimModelReadBack, PictureTwoPipAndOverlay) {
    send(command(CommandCode::SetPipMode, {1, 3, 2}));
    send(command(CommandCode::SelectInput, {1, input::kHdmi}));
    send(command(CommandCode::SetPicture2OutputWindow,
                 {0, 100, 0, 200, hi(640), lo(640), hi(480), lo(480)}));
    send(command(CommandCode::SetOverlay, {0, 2, 1, 1, 10, 20, 30}));
    const ParameterMirror m = unpacked(readtype::kPicture2, unpackPicture2);
    EXPECT_EQ(m.pipOn, 1);
    EXPECT_EQ(m.transparency, 3);
    EXPECT_EQ(m.autoSwitch, 2);
    EXPECT_EQ(m.p2Source, input::kHdmi);
    EXPECT_EQ(m.p2X, 100);
    EXPECT_EQ(m.p2Y, 200);
    EXPECT_EQ(m.p2Width, 640);
    EXPECT_EQ(m.p2Height, 480);
    EXPECT_EQ(m.overlayOn, 0);
    EXPECT_EQ(m.overlayMode, 2);
    EXPECT_EQ(m.overlayAboveBelow, 1);
    EXPECT_EQ(m.overlayAndOr, 1);
    EXPECT_EQ(m.overlayRed, 10);
    EXPECT_EQ(m.overlayGreen, 20);
    EXPECT_EQ(m.overlayBlue, 30);
}

TEST_F(SimModelReadBack, SwitchStateFollowsInputsTopLayerAndPictureSwitch) {
    send(command(CommandCode::SelectInput, {0, input::kVga}));
    send(command(CommandCode::SelectInput, {1, input::kDvi}));
    send(command(CommandCode::SetTopLayer, {0, 0, 0x55, 0x55, 0x55, 0x55, 0x55, 0}));
    ParameterMirror m = unpacked(readtype::kSwitchState, unpackSwitchState);
    EXPECT_EQ(m.switchState[sw::kPicture1Input], input::kVga);
    EXPECT_EQ(m.switchState[sw::kPicture2Input], input::kDvi);
    EXPECT_EQ(m.switchState[sw::kTopLayer], 0);

    send(command(CommandCode::SetSwitchEffect, {switcheffect::kEffectChoice, 1, 3}));
    EXPECT_EQ(unpacked(readtype::kSwitchState, unpackSwitchState).switchState[sw::kTopLayer], 0);
    send(command(CommandCode::SetSwitchEffect, {switcheffect::kPictureSwitch, 1, 3}));
    EXPECT_EQ(unpacked(readtype::kSwitchState, unpackSwitchState).switchState[sw::kTopLayer], 1);
    EXPECT_EQ(model.mirror().switchEffectMode, switcheffect::kPictureSwitch);
    EXPECT_EQ(model.mirror().switchEffectValue, 1);
    EXPECT_EQ(model.state().fadeTime, 3);
}

TEST_F(SimModelReadBack, IdentityDeviceInformationAndAudioPorts) {
    const Bytes identity = readPayloadOf(model, readtype::kIdentity);
    EXPECT_EQ(std::string(identity.begin(), identity.end()), "TRS");

    const ParameterMirror info = unpacked(readtype::kDeviceInfo, unpackDeviceInfo);
    const std::uint8_t expected[] = {14, 'A', 3, 14, 22};
    EXPECT_EQ(std::memcmp(info.deviceInfo, expected, sizeof expected), 0);

    send(command(CommandCode::SetAudioPorts,
                 {input::kAv1, 1, input::kAv2, 2, input::kVga, 3, input::kDvi, 0}));
    const ParameterMirror m = unpacked(readtype::kAudioPorts, unpackAudioPorts);
    const std::uint8_t ports[] = {input::kAv1, 1, input::kAv2, 2, input::kVga, 3, input::kDvi, 0};
    EXPECT_EQ(std::memcmp(m.audioPorts, ports, sizeof ports), 0);
}

TEST_F(SimModelReadBack, InputSettingsCarryOptionsAndPictureTwoCapture) {
    EXPECT_EQ(readPayloadOf(model, readtype::kInputSettings), (Bytes{0, 0, 0, 0}));
    send(command(CommandCode::SetInputOptions, {1, 1}));
    send(command(CommandCode::SetCaptureMode, {0, 0x55, 0x55, 0x55, 1}));
    EXPECT_EQ(readPayloadOf(model, readtype::kInputSettings), (Bytes{1, 1, 1, 0}));
}

TEST_F(SimModelReadBack, UnusedTypesAndFadeAreZeroOfTheRightLength) {
    for (const std::uint8_t type : {readtype::kUnused5, readtype::kUnused7, readtype::kFade}) {
        const Bytes p = readPayloadOf(model, type);
        EXPECT_EQ(p, Bytes(readTypeInfo(type)->replyLength - frame::kReplyOverhead, 0))
            << "type " << int{type};
    }
    ParameterMirror m{};
    EXPECT_TRUE(unpackFade(m, readPayloadOf(model, readtype::kFade)));
}

TEST_F(SimModelReadBack, PlanHeader) {
    EXPECT_EQ(readPayloadOf(model, readtype::kPlanHeader), (Bytes{0, 0}));
    send(command(CommandCode::SetPlanState, {0, 1}));
    const ParameterMirror m = unpacked(readtype::kPlanHeader, unpackPlanHeader);
    EXPECT_EQ(m.planHeader[0], 0);
    EXPECT_EQ(m.planHeader[1], 1);
}

TEST(SimModelReads, EveryTypeIsAnsweredWithItsLengthOrNotAtAll) {
    SimModel model;
    for (int t = 0; t <= 255; ++t) {
        const auto type = static_cast<std::uint8_t>(t);
        if (type == readtype::kPlanEntries) {
            continue; // answered per entry, see the plan tests
        }
        const auto replies = model.feed(readRequest(type));
        const auto info = readTypeInfo(type);
        if (!info) {
            EXPECT_TRUE(replies.empty()) << "type " << t;
            continue;
        }
        ASSERT_EQ(replies.size(), 1u) << "type " << t;
        EXPECT_EQ(replies[0].size(), info->replyLength) << "type " << t;
        EXPECT_TRUE(frame::acceptReply(replies[0])) << "type " << t;
        EXPECT_NE(replies[0][frame::kReplyKindOffset], frame::kUnloggedReplyKind) << "type " << t;
    }
}

} // namespace
} // namespace korvane::sim::test
