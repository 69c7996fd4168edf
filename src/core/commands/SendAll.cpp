#include "commands/SendAll.h"

#include "commands/CommandFacade.h"
#include "link/DeviceLink.h"
#include "link/ParameterMirror.h"

namespace korvane {

namespace {
using std::chrono::milliseconds;
constexpr milliseconds kBeforeRecall{100};
constexpr milliseconds kSettle{2000};
constexpr std::uint8_t kRecallAction = 1;

// The order in which the picture-quality settings go out; gamma is not sent.
constexpr PictureQualityItem kPictureQualityOrder[] = {
    PictureQualityItem::ImageMode,         PictureQualityItem::Brightness,
    PictureQualityItem::Contrast,          PictureQualityItem::Colour,
    PictureQualityItem::Sharpness,         PictureQualityItem::NoiseReduction3D,
    PictureQualityItem::VgaEnhancement,    PictureQualityItem::SceneMode,
    PictureQualityItem::ColourTemperature, PictureQualityItem::BlackExtension,
    PictureQualityItem::DviEnhancement,
};

Rect rectOf(int x, int y, int width, int height) {
    return {x, y, wrappingSum(x, width), wrappingSum(y, height)};
}
} // namespace

int SendAll::run() {
    if (ctx_.link.open() == 0) {
        report(MessageId::OpenPortFailed);
        return 0;
    }
    if (mode_ == Mode::EveryParameter) {
        sendEveryParameter();
    } else {
        ctx_.link.pause(kBeforeRecall);
        const int slot = slot_ < kFirstSlot || slot_ > kLastSlot ? kFirstSlot : slot_;
        ctx_.facade.templateSlot(kRecallAction, static_cast<std::uint8_t>(slot));
    }
    ctx_.link.pause(kSettle);
    return 1;
}

// Each value goes out from the mirror through its own operation, which stores it again
// unchanged; the individual results do not decide the outcome.
void SendAll::sendEveryParameter() {
    ParameterMirror& m = ctx_.mirror;
    CommandFacade& f = ctx_.facade;
    ctx_.link.purgeInput();
    f.setOutputResolution(m.pq[pq::kOutputResolution]);
    f.setSeamlessSwitch(m.seamless);
    f.selectInput(Picture::One, m.pq[pq::kPicture1Source]);
    f.setSoundOn(m.soundOn);
    f.setPicture1OutputWindow(rectOf(m.p1OutX, m.p1OutY, m.p1OutWidth, m.p1OutHeight));
    for (const auto item : kPictureQualityOrder) {
        f.setPictureQuality(item, m.pq[CommandFacade::mirrorIndexOf(item)]);
    }
    f.setPipOn(m.pipOn);
    f.selectInput(Picture::Two, m.p2Source);
    f.setPicture2OutputWindow(rectOf(m.p2X, m.p2Y, m.p2Width, m.p2Height));
    f.setSwitchEffect(m.switchEffectMode, m.switchEffectValue, 0);
    f.setOverlay(m.overlayOn, m.overlayMode, m.overlayAboveBelow, m.overlayAndOr, m.overlayRed,
                 m.overlayGreen, m.overlayBlue);
    const auto limits1 =
        inputWindowLimits(replyPayload(ctx_.link.replyBuffer(readtype::kPicture1Input)));
    f.setPicture1InputWindow(rectOf(m.p1InX, m.p1InY, m.p1InWidth, m.p1InHeight),
                             limits1.horizontal, limits1.vertical);
    f.setFreezeArea(m.freezeArea);
    f.setCaptureMode(m.captureMode, m.pipOn);
    const auto limits2 =
        inputWindowLimits(replyPayload(ctx_.link.replyBuffer(readtype::kPicture2Input)));
    f.setPicture2InputWindow(rectOf(m.p2InX, m.p2InY, m.p2InWidth, m.p2InHeight),
                             limits2.horizontal, limits2.vertical);
    f.setInputOptions();
    f.setAudioPorts(m.audioPorts[1], m.audioPorts[3], m.audioPorts[5], m.audioPorts[7]);
}

} // namespace korvane
