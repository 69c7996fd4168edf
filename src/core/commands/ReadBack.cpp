#include "core/commands/ReadBack.h"

#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"

#include <algorithm>
#include <array>
#include <optional>

namespace korvane {

namespace {

using std::chrono::milliseconds;
using Apply = void (*)(ParameterMirror&, std::span<const std::uint8_t>);

struct ReadBackStep {
    ReadBackKind kind;
    milliseconds wait;
    bool checkBeforeWait; // the input reads check the link first, then wait
    bool purge;
    std::uint8_t type;
    Apply apply;                      // null: nothing is copied
    std::optional<MessageId> failure; // null: fails silently
};

// Picture 2 read: the overlay fields of the reply are left alone.
void applyPicture2(ParameterMirror& m, std::span<const std::uint8_t> p) {
    ParameterMirror fresh = m;
    unpackPicture2(fresh, p);
    m.p2Source = fresh.p2Source;
    m.pipOn = fresh.pipOn;
    m.transparency = fresh.transparency;
    m.autoSwitch = fresh.autoSwitch;
    m.p2X = fresh.p2X;
    m.p2Y = fresh.p2Y;
    m.p2Width = fresh.p2Width;
    m.p2Height = fresh.p2Height;
}

template <std::size_t First, std::size_t Last>
void applyPictureQualityRange(ParameterMirror& m, std::span<const std::uint8_t> p) {
    ParameterMirror fresh = m;
    unpackMain(fresh, p);
    std::copy(fresh.pq + First, fresh.pq + Last + 1, m.pq + First);
}

template <bool (*Unpack)(ParameterMirror&, std::span<const std::uint8_t>)>
void applyWhole(ParameterMirror& m, std::span<const std::uint8_t> p) {
    Unpack(m, p);
}

const std::array<ReadBackStep, 12> kSteps{{
    {ReadBackKind::Picture2, milliseconds{0}, false, true, readtype::kPicture2, applyPicture2,
     MessageId::SyncPicture2OutputFailed},
    {ReadBackKind::PictureQuality, milliseconds{100}, false, true, readtype::kMain,
     applyPictureQualityRange<pq::kImageMode, pq::kDviEnhancement>, MessageId::SyncFailed},
    {ReadBackKind::Gains, milliseconds{100}, false, true, readtype::kMain,
     applyPictureQualityRange<pq::kRedGain, pq::kBlueGain>, MessageId::SyncFailed},
    {ReadBackKind::Picture1Input, milliseconds{500}, true, false, readtype::kPicture1Input,
     applyWhole<unpackPicture1Input>, MessageId::SyncFailed},
    {ReadBackKind::Picture2Input, milliseconds{1000}, true, false, readtype::kPicture2Input,
     applyWhole<unpackPicture2Input>, MessageId::SyncFailed},
    {ReadBackKind::PlanHeader, milliseconds{0}, false, true, readtype::kPlanHeader,
     applyWhole<unpackPlanHeader>, MessageId::PlanListQueryFailed},
    {ReadBackKind::Clock, milliseconds{0}, false, true, readtype::kClock, applyWhole<unpackClock>,
     MessageId::ClockQueryFailed},
    {ReadBackKind::SwitchQuery, milliseconds{200}, false, true, readtype::kSwitchState,
     applyWhole<unpackSwitchState>, MessageId::SwitchQueryFailed},
    {ReadBackKind::SwitchQueryLongWait, milliseconds{2000}, false, true, readtype::kSwitchState,
     applyWhole<unpackSwitchState>, MessageId::SwitchQueryFailed},
    {ReadBackKind::InputSettings, milliseconds{500}, false, true, readtype::kInputSettings, nullptr,
     MessageId::SyncInputSettingsFailed},
    {ReadBackKind::DeviceInfo, milliseconds{100}, false, true, readtype::kDeviceInfo,
     applyWhole<unpackDeviceInfo>, std::nullopt},
    {ReadBackKind::Identity, milliseconds{50}, false, true, readtype::kIdentity, nullptr,
     std::nullopt},
}};

const ReadBackStep& stepOf(ReadBackKind kind) {
    return *std::find_if(kSteps.begin(), kSteps.end(),
                         [kind](const ReadBackStep& s) { return s.kind == kind; });
}

} // namespace

int ReadBack::run() {
    const ReadBackStep& step = stepOf(kind_);
    if (step.checkBeforeWait && !linkOpen()) {
        return 0;
    }
    // The wait gives the processor time before the request; a request that cannot go out
    // (sending off, link closed) needs none.
    if (step.wait.count() > 0 && ctx_.link.transmits()) {
        ctx_.link.pause(step.wait);
    }
    if (!step.checkBeforeWait && !linkOpen()) {
        return 0;
    }
    if (step.purge) {
        ctx_.link.purgeInput();
    }
    if (ctx_.link.read(step.type) == 0) {
        if (step.failure) {
            report(*step.failure);
        }
        return 0;
    }
    if (step.apply != nullptr) {
        step.apply(ctx_.mirror, replyPayload(ctx_.link.replyBuffer(step.type)));
    }
    return 1;
}

} // namespace korvane
