#pragma once

#include "core/base/Messages.h"
#include "core/link/ByteTransport.h"
#include "core/link/CommandCodes.h"
#include "core/link/Frame.h"
#include "core/link/LinkStatus.h"
#include "core/link/PlanEntry.h"
#include "core/link/ReadTypes.h"
#include "core/link/SerialLink.h"
#include "core/link/UdpLink.h"
#include "core/store/NetworkSettings.h"

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace korvane {

class CommLog;

// How an identity probe ended.
enum class ProbeOutcome {
    NotRun,   // another exchange held the line; nothing was sent
    Answered, // the processor gave its identity
    NoAnswer, // the request could not be sent, or no valid identity came back
};

// The frame layer: builds command frames, moves them over the serial or UDP transport, receives
// the fixed-length replies into one buffer per read type and keeps the offline plan table.
// One exchange runs at a time; the link serialises them itself.
class DeviceLink {
public:
    using Sleeper = std::function<void(std::chrono::milliseconds)>;

    // Each makes a transport from the settings it is to use, as the link is configured: a change
    // of settings makes a new transport, so none is ever reconfigured in place.
    struct TransportMakers {
        std::function<std::unique_ptr<ByteTransport>(const SerialSettings&)> serial;
        std::function<std::unique_ptr<ByteTransport>(const NetworkSettings&, MessageSink*)> network;
    };
    // SerialLink and UdpLink.
    static TransportMakers realTransports();

    // A link over the real serial port and UDP socket.
    explicit DeviceLink(CommLog* log = nullptr, MessageSink* messages = nullptr);
    // A link whose transports are made by `makers` (tests that watch or wrap the real ones).
    DeviceLink(TransportMakers makers, CommLog* log, MessageSink* messages);
    // A link over one byte transport in place of the serial port (tests, in-memory peers); it is
    // opened as it is, whatever the serial settings. A UDP link is made when network settings
    // come.
    DeviceLink(std::unique_ptr<ByteTransport> serial, CommLog* log, MessageSink* messages);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // A UDP transport of the caller's own, opened as it is whatever the network settings.
    void setUdpTransport(std::unique_ptr<ByteTransport> udp);
    ByteTransport* udpTransport() { return udp_.get(); }
    ByteTransport* serialTransport() { return serial_.get(); }
    // The settings of the last configureSerialAndOpen / configureNetworkAndOpen.
    SerialSettings serialSettings() const;
    NetworkSettings networkSettings() const;
    // Replaces the pacing sleeps (tests over in-memory peers).
    void setSleeper(Sleeper s) { sleep_ = std::move(s); }

    // The two process-wide flags: 1 = UDP, 0 = serial; while the send switch is 0 sends are
    // dropped and reported as sent.
    int networkMode() const { return networkMode_.load(); }
    void setNetworkMode(int on) { networkMode_.store(on); }
    int sendSwitch() const { return sendSwitch_.load(); }
    void setSendSwitch(int on) { sendSwitch_.store(on); }
    int readInProgress() const { return readInProgress_.load(); }
    // Whether a frame handed over now would go out: the send switch is on and the link open.
    bool transmits() const { return sendSwitch() != 0 && isOpen() != 0; }
    // Whether the last frame the calling thread handed to this link really went out, rather
    // than being dropped by the send switch or failed by the link. A pause that only lets the
    // processor act on that frame is skipped when it did not.
    bool lastFrameSent() const;

    // Opens the transport of the mode in use again, with the settings it was made with.
    int open();
    // Closes the serial transport, makes a new one from `settings` and opens it; later Opens in
    // serial mode reuse it. A transport of the caller's own is opened again instead.
    int configureSerialAndOpen(const SerialSettings& settings);
    // The same for the UDP transport; later Opens in network mode reuse it.
    int configureNetworkAndOpen(const NetworkSettings& settings);
    void close();
    int isOpen() const;
    int purgeInput();

    // Checksums and sends `bytes` (a whole command frame); 1 = sent or dropped by the switch.
    int sendFrame(std::span<std::uint8_t> bytes);
    // Receives exactly `buffer.size()` bytes and accepts them as a reply.
    int receiveFrame(std::span<std::uint8_t> buffer);
    // One read request and its reply (type 15: entries first..last into the plan table).
    int read(std::uint8_t type, std::uint8_t first = 0, std::uint8_t last = 0);
    // Asks the processor for its identity, unless another exchange holds the line.
    ProbeOutcome probeIdentity();
    // The write builder: resets the command frame, stores code and data bytes, sends.
    int write(CommandCode code, const frame::DataBytes& data);

    // The last reply of a read type (the whole frame; zero-filled before each read of it).
    std::span<const std::uint8_t> replyBuffer(std::uint8_t type) const;
    // Writable for the plan dialog, which puts the plan header to send into the type-16 reply.
    std::span<std::uint8_t> replyBuffer(std::uint8_t type);
    // The plan table read from the processor; the plan editors edit it before sending it back.
    const std::array<PlanEntry, kPlanEntryCount>& planTable() const { return plans_; }
    std::array<PlanEntry, kPlanEntryCount>& planTable() { return plans_; }
    // The pacing sleep, also used by the operations between their steps.
    void pause(std::chrono::milliseconds d) const { sleep_(d); }
    // The frame the last builder or read prepared.
    const frame::CommandFrame& commandFrame() const { return frame_; }

    // ---- Link health: state, counters and hooks for the watcher (core/link/LinkWatcher.h) ----
    // While health is on (a watcher is attached), a failed write or three unanswered exchanges
    // in a row mark the link lost, and commands are not sent while it is lost. Off by default, so
    // that a bare link behaves as the frame layer always did.
    void setHealthEnabled(bool on);
    bool healthEnabled() const { return healthEnabled_.load(); }
    LinkStatus linkStatus() const;
    // Listeners see every state change and the first refused command of each loss. The id is
    // for removeLinkListener.
    int addLinkListener(LinkListener listener);
    void removeLinkListener(int id);
    // For callers that would start a whole device operation: true when the link is lost, in
    // which case the operation is counted as a refused command (listeners hear of the first of
    // each loss) and must not run.
    bool holdBackWhileLost() { return countRefusalIfLost(); }
    // Exchanges in a row that got no valid answer (reads that expect none do not count).
    int unansweredInARow() const { return unanswered_.load(); }
    // When the last valid reply arrived (the epoch when none has).
    std::chrono::steady_clock::time_point lastAnswer() const;

    // What the watcher watches: the open serial descriptor (-1 when none, or over UDP) and the
    // generation of the opened line, which changes at every open and close.
    struct WatchTarget {
        int fd = -1;
        std::uint64_t generation = 0;
        bool network = false;
        std::string where;
    };
    WatchTarget watchTarget() const;
    // The watcher saw the line of `generation` hang up or its path go: closes a serial line
    // (so that it can be opened again) and marks the link lost. False when the line changed
    // in between or the link was not connected.
    bool lineLost(LossReason why, std::uint64_t generation);
    // Called (with the exchange lock held) before the watched descriptor of `generation` is
    // closed: a watcher must stop polling it first, for while a poll holds the descriptor the
    // device stays locked and cannot be opened again.
    void setLineChangeHook(std::function<void(std::uint64_t generation)> hook);
    // One identity exchange with a deadline of its own, for the watcher: on an idle link only,
    // taken from the device's input directly without the read's fixed pause. NotRun while
    // another exchange or an operation runs, or the link is not connected. Counts like any
    // exchange: the third unanswered in a row marks the link lost.
    ProbeOutcome keepAliveProbe(std::chrono::milliseconds deadline);
    // One try to get a lost link back: a serial line is opened again at the same path, then
    // probed; true (and Connected) when the processor answered. Marks the link Reconnecting.
    bool reconnectOnce(std::chrono::milliseconds deadline);
    // True while a device operation runs (see OperationScope); the watcher then keeps away.
    bool operationRunning() const { return operations_.load() > 0; }
    // The transport of the current mode is the one in use from now on (after the mode flag was
    // switched over an already open or closed transport): the state, the place and the watched
    // line become that transport's.
    void adoptActiveTransport();
    // Asks the watcher to try to reconnect now rather than at the end of its back-off (the
    // operator's "open" while the link is lost). Nothing happens without a watcher.
    void retryNow();
    // The watcher's side of retryNow(); an empty function detaches it.
    void setRetryHook(std::function<void()> hook);

    // Marks a multi-step device operation as running for its lifetime.
    class OperationScope {
    public:
        explicit OperationScope(DeviceLink& link) : link_(link) { ++link_.operations_; }
        ~OperationScope() { --link_.operations_; }
        OperationScope(const OperationScope&) = delete;
        OperationScope& operator=(const OperationScope&) = delete;

    private:
        DeviceLink& link_;
    };

private:
    enum class SendOutcome { Failed, Sent, Dropped };

    ByteTransport* activeTransport() const;
    // Closes `current` and puts `made` in its place. With the exchange lock held.
    void replace(std::unique_ptr<ByteTransport>& current, std::unique_ptr<ByteTransport> made);
    // Health hooks, all called with the exchange lock held.
    void opened(int result);
    void closed();
    void answered(bool valid, bool expectsAnswer);
    void writeFailed();
    // True (and counted) when a command must not go out because the link is lost; the
    // watcher's own exchanges (exchange lock held) go out regardless.
    bool refuseWhileLost();
    bool countRefusalIfLost();
    // `error` is kept for OpenFailed when not given and cleared for every other reason.
    void setStatus(LinkState state, LossReason reason, std::optional<int> error = std::nullopt);
    void notify(const LinkStatus& status);
    // A new line (or none): the descriptor to watch and a new generation.
    void newLine(int fd);
    void lineChanging(const ByteTransport* t);
    std::string whereText();
    // Sends the identity request and takes the reply within `deadline`; true when valid.
    bool probeLocked(std::chrono::milliseconds deadline);
    SendOutcome sendLocked(std::span<std::uint8_t> bytes);
    // A read whose request did not go out: nothing can answer it, so nothing is awaited. The
    // reply buffer ends as a failed receive leaves it.
    int readNotSent(std::uint8_t type, std::uint8_t first, std::uint8_t last);
    // `within`: a deadline of its own for the reply in place of the configured time-out.
    int receiveLocked(std::span<std::uint8_t> buffer,
                      std::optional<std::chrono::milliseconds> within = std::nullopt);
    int readPlanEntries(std::uint8_t first, std::uint8_t last);
    void log(bool send, std::span<const std::uint8_t> bytes);

    TransportMakers makers_;
    // Replaced only with both the exchange lock and this one held.
    mutable std::mutex transportMutex_;
    std::unique_ptr<ByteTransport> serial_;
    std::unique_ptr<ByteTransport> udp_;
    mutable std::mutex settingsMutex_;
    SerialSettings serialSettings_;
    NetworkSettings networkSettings_;
    CommLog* log_;
    MessageSink* messages_;
    Sleeper sleep_;
    std::atomic<int> networkMode_{0};
    std::atomic<int> sendSwitch_{0};
    std::atomic<int> readInProgress_{0};
    std::mutex exchange_;
    frame::CommandFrame frame_;
    std::array<std::vector<std::uint8_t>, readtype::kLast + 1> replies_;
    std::array<PlanEntry, kPlanEntryCount> plans_{};

    std::atomic<bool> healthEnabled_{false};
    std::atomic<int> unanswered_{0};
    std::atomic<int> operations_{0};
    std::atomic<std::int64_t> lastAnswerTicks_{0};
    // Set while the watcher's own exchanges run, which are let through while lost.
    bool probing_ = false;
    // The transport whose state linkStatus() tells: the one opened last.
    ByteTransport* healthTransport_ = nullptr;
    mutable std::mutex statusMutex_;
    LinkStatus status_;
    int watchFd_ = -1;
    std::uint64_t generation_ = 0;
    std::map<int, LinkListener> listeners_;
    std::function<void(std::uint64_t)> lineChangeHook_;
    std::function<void()> retryHook_;
    // The place last announced: a new place is announced even in the same state.
    std::string announcedWhere_;
    // Held while listeners are called, so that a removed listener is never called afterwards.
    std::mutex notifyMutex_;
    int nextListener_ = 1;
};

} // namespace korvane
