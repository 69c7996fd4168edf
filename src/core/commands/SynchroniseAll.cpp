#include "core/commands/SynchroniseAll.h"

#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"

#include <array>

namespace korvane {

namespace {

using Unpack = bool (*)(ParameterMirror&, std::span<const std::uint8_t>);

struct SyncRead {
    std::uint8_t type;
    MessageId failure;
    Unpack unpack; // null: validated only
};

// In reading order; the first failure ends the operation with its message.
constexpr std::array<SyncRead, 9> kReads{{
    {readtype::kMain, MessageId::SyncFailed, unpackMain},
    {readtype::kPicture1Input, MessageId::SyncPicture1InputFailed, unpackPicture1Input},
    {readtype::kPicture2Input, MessageId::SyncPicture2InputFailed, unpackPicture2Input},
    {readtype::kPicture1Output, MessageId::SyncPicture1OutputFailed, unpackPicture1Output},
    {readtype::kPicture2, MessageId::SyncPicture2OutputFailed, unpackPicture2},
    {readtype::kFade, MessageId::SyncFadeFailed, unpackFade},
    {readtype::kSwitchState, MessageId::SwitchQueryFailed, unpackSwitchState},
    {readtype::kInputSettings, MessageId::SyncInputSettingsFailed, nullptr},
    {readtype::kAudioPorts, MessageId::SyncSoundFailed, unpackAudioPorts},
}};

constexpr std::chrono::milliseconds kInitialWait{2000};

} // namespace

int SynchroniseAll::run() {
    // The wait lets the processor settle before it is asked; reads that cannot go out (sending
    // off, link closed) ask nothing.
    if (initialWait_ && ctx_.link.transmits()) {
        ctx_.link.pause(kInitialWait);
    }
    if (!linkOpen()) {
        return 0;
    }
    ctx_.link.purgeInput();
    for (const auto& r : kReads) {
        if (ctx_.link.read(r.type) == 0) {
            report(r.failure);
            return 0;
        }
    }
    ctx_.link.read(readtype::kIdentity); // the result does not matter here
    for (const auto& r : kReads) {
        if (r.unpack != nullptr) {
            r.unpack(ctx_.mirror, replyPayload(ctx_.link.replyBuffer(r.type)));
        }
    }
    return 1;
}

} // namespace korvane
