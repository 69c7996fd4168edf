#pragma once

#include "core/base/Messages.h"
#include "core/link/ByteTransport.h"
#include "core/link/CommandCodes.h"
#include "core/link/Frame.h"
#include "core/link/PlanEntry.h"
#include "core/link/ReadTypes.h"
#include "core/link/SerialLink.h"
#include "core/link/UdpLink.h"
#include "core/store/NetworkSettings.h"

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
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

    // A link over the real serial port, with a UdpLink for network mode.
    explicit DeviceLink(CommLog* log = nullptr, MessageSink* messages = nullptr);
    // A link over another byte transport in place of the serial port (tests, in-memory peers).
    DeviceLink(std::unique_ptr<ByteTransport> serial, CommLog* log, MessageSink* messages);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // The UDP transport used while the network mode flag is 1.
    void setUdpTransport(std::unique_ptr<ByteTransport> udp);
    ByteTransport* udpTransport() { return udp_.get(); }
    // The UDP link, or null when another transport (or none) stands in for it.
    UdpLink* udpLink();
    // The serial link, or null when another transport stands in for it.
    SerialLink* serialLink();
    void setMessageSink(MessageSink* messages);
    // Replaces the pacing sleeps (tests over in-memory peers).
    void setSleeper(Sleeper s) { sleep_ = std::move(s); }

    // The two process-wide flags: 1 = UDP, 0 = serial; while the send switch is 0 sends are
    // dropped and reported as sent.
    int networkMode() const { return networkMode_.load(); }
    void setNetworkMode(int on) { networkMode_.store(on); }
    int sendSwitch() const { return sendSwitch_.load(); }
    void setSendSwitch(int on) { sendSwitch_.store(on); }
    int readInProgress() const { return readInProgress_.load(); }

    int open();
    int configureSerialAndOpen(const SerialSettings& settings);
    // Stores the settings in the UDP link (made here when there is no UDP transport yet) and
    // opens it; later Opens in network mode reuse them.
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

private:
    ByteTransport* activeTransport() const;
    int sendLocked(std::span<std::uint8_t> bytes);
    int receiveLocked(std::span<std::uint8_t> buffer);
    int readPlanEntries(std::uint8_t first, std::uint8_t last);
    void log(bool send, std::span<const std::uint8_t> bytes);

    std::unique_ptr<ByteTransport> serial_;
    std::unique_ptr<ByteTransport> udp_;
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
};

} // namespace korvane
