#include "core/commands/SendAll.h"

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"

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
        if (!sendEveryParameter()) {
            return 0;
        }
    } else {
        if (ctx_.link.transmits()) {
            ctx_.link.pause(kBeforeRecall);
        }
        const int slot = slot_ < kFirstSlot || slot_ > kLastSlot ? kFirstSlot : slot_;
        if (ctx_.facade.templateSlot(kRecallAction, static_cast<std::uint8_t>(slot)) == 0) {
            return 0;
        }
    }
    // The processor settles after what it was sent; frames dropped by the send switch gave it
    // nothing to settle.
    if (ctx_.link.lastFrameSent()) {
        ctx_.link.pause(kSettle);
    }
    return 1;
}

// Each value goes out from the mirror through its own operation, which stores it again
// unchanged. A send the link fails (a line that has gone) ends the run: the rest would fail the
// same way, and the caller must not be told that the processor has the set-up.
bool SendAll::sendEveryParameter() {
    ParameterMirror& m = ctx_.mirror;
    CommandFacade& f = ctx_.facade;
    int sent = 1;
    const auto step = [&sent](auto&& send) {
        if (sent != 0) {
            sent = send();
        }
    };
    ctx_.link.purgeInput();
    step([&] { return f.setOutputResolution(m.pq[pq::kOutputResolution]); });
    step([&] { return f.setSeamlessSwitch(m.seamless); });
    step([&] { return f.selectInput(Picture::One, m.pq[pq::kPicture1Source]); });
    step([&] { return f.setSoundOn(m.soundOn); });
    step([&] {
        return f.setPicture1OutputWindow(rectOf(m.p1OutX, m.p1OutY, m.p1OutWidth, m.p1OutHeight));
    });
    for (const auto item : kPictureQualityOrder) {
        step([&] { return f.setPictureQuality(item, m.pq[CommandFacade::mirrorIndexOf(item)]); });
    }
    step([&] { return f.setPipOn(m.pipOn); });
    step([&] { return f.selectInput(Picture::Two, m.p2Source); });
    step([&] { return f.setPicture2OutputWindow(rectOf(m.p2X, m.p2Y, m.p2Width, m.p2Height)); });
    step([&] { return f.setSwitchEffect(m.switchEffectMode, m.switchEffectValue, 0); });
    step([&] {
        return f.setOverlay(m.overlayOn, m.overlayMode, m.overlayAboveBelow, m.overlayAndOr,
                            m.overlayRed, m.overlayGreen, m.overlayBlue);
    });
    step([&] {
        const auto limits =
            inputWindowLimits(replyPayload(ctx_.link.replyBuffer(readtype::kPicture1Input)));
        return f.setPicture1InputWindow(rectOf(m.p1InX, m.p1InY, m.p1InWidth, m.p1InHeight),
                                        limits.horizontal, limits.vertical);
    });
    step([&] { return f.setFreezeArea(m.freezeArea); });
    step([&] { return f.setCaptureMode(m.captureMode, m.pipOn); });
    step([&] {
        const auto limits =
            inputWindowLimits(replyPayload(ctx_.link.replyBuffer(readtype::kPicture2Input)));
        return f.setPicture2InputWindow(rectOf(m.p2InX, m.p2InY, m.p2InWidth, m.p2InHeight),
                                        limits.horizontal, limits.vertical);
    });
    step([&] { return f.setInputOptions(); });
    step([&] {
        return f.setAudioPorts(m.audioPorts[1], m.audioPorts[3], m.audioPorts[5], m.audioPorts[7]);
    });
    return sent != 0;
}

} // namespace korvane
