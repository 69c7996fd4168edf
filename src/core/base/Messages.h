#pragma once

#include <string_view>

namespace korvane {

// Operator-facing messages of the core. The texts are the system's own (Chinese source texts;
// the desktop program translates them).
enum class MessageId {
    RecvFail,
    OpenPortFailed,
    SyncFailed,
    SyncPicture1InputFailed,
    SyncPicture2InputFailed,
    SyncPicture1OutputFailed,
    SyncPicture2OutputFailed,
    SyncFadeFailed,
    SwitchQueryFailed,
    SyncInputSettingsFailed,
    SyncSoundFailed,
    PlanListQueryFailed,
    ClockQueryFailed,
    UdpSocketError,
    UdpSendFailed,
    UdpReceiveFailed,
    // The communication log could not be written and switched itself off for this run.
    LogWriteFailed,
    // Another program on this computer already talks to a processor from the same UDP port.
    UdpPortTaken,
    // A write of the offline plan list failed; the rest was not sent.
    PlanSendFailed,
};
inline constexpr MessageId kLastMessageId = MessageId::PlanSendFailed;

std::string_view messageText(MessageId id);

// Receives the messages the core reports to the operator. The desktop program shows them in a
// message box on the UI thread, korvanectl prints them, tests record them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void report(MessageId id) = 0;
};

} // namespace korvane
