#include "core/link/DeviceLink.h"

#include "core/link/CommLog.h"

#include <algorithm>
#include <exception>
#include <thread>

namespace korvane {

namespace {
// Holds the read-in-progress flag for the whole of a read, whatever its outcome.
class ReadInProgress {
public:
    explicit ReadInProgress(std::atomic<int>& flag) : flag_(flag) { flag_.store(1); }
    ~ReadInProgress() { flag_.store(0); }
    ReadInProgress(const ReadInProgress&) = delete;
    ReadInProgress& operator=(const ReadInProgress&) = delete;

private:
    std::atomic<int>& flag_;
};

bool carriesIdentity(std::span<const std::uint8_t> reply) {
    return reply.size() >= frame::kPayloadOffset + sizeof kIdentity &&
           std::equal(std::begin(kIdentity), std::end(kIdentity),
                      reply.begin() + frame::kPayloadOffset);
}
} // namespace

DeviceLink::DeviceLink(CommLog* log, MessageSink* messages)
    : DeviceLink(std::make_unique<SerialLink>(), log, messages) {
    udp_ = std::make_unique<UdpLink>(messages);
}

DeviceLink::DeviceLink(std::unique_ptr<ByteTransport> serial, CommLog* log, MessageSink* messages)
    : serial_(std::move(serial)), log_(log), messages_(messages),
      sleep_([](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); }),
      frame_(frame::resetFrame()) {
    for (std::uint8_t t = 0; t <= readtype::kLast; ++t) {
        if (const auto info = readTypeInfo(t)) {
            replies_[t].assign(info->replyLength, 0);
        }
    }
}

DeviceLink::~DeviceLink() = default;

void DeviceLink::setUdpTransport(std::unique_ptr<ByteTransport> udp) {
    std::lock_guard lock(exchange_);
    udp_ = std::move(udp);
}

UdpLink* DeviceLink::udpLink() {
    return dynamic_cast<UdpLink*>(udp_.get());
}

void DeviceLink::setMessageSink(MessageSink* messages) {
    messages_ = messages;
    if (UdpLink* u = udpLink()) {
        u->setMessageSink(messages);
    }
}

SerialLink* DeviceLink::serialLink() {
    return dynamic_cast<SerialLink*>(serial_.get());
}

ByteTransport* DeviceLink::activeTransport() const {
    return networkMode() != 0 ? udp_.get() : serial_.get();
}

int DeviceLink::open() {
    std::lock_guard lock(exchange_);
    ByteTransport* t = activeTransport();
    return t != nullptr ? t->open() : 0;
}

int DeviceLink::configureSerialAndOpen(const SerialSettings& settings) {
    std::lock_guard lock(exchange_);
    if (SerialLink* s = serialLink()) {
        s->setSettings(settings);
    }
    return serial_->open();
}

int DeviceLink::configureNetworkAndOpen(const NetworkSettings& settings) {
    std::lock_guard lock(exchange_);
    if (udp_ == nullptr) {
        udp_ = std::make_unique<UdpLink>(messages_);
    }
    if (UdpLink* u = udpLink()) {
        u->setSettings(settings);
    }
    return udp_->open();
}

void DeviceLink::close() {
    std::lock_guard lock(exchange_);
    if (ByteTransport* t = activeTransport()) {
        t->close();
    }
}

int DeviceLink::isOpen() const {
    const ByteTransport* t = activeTransport();
    return t != nullptr ? t->isOpen() : 0;
}

int DeviceLink::purgeInput() {
    std::lock_guard lock(exchange_);
    if (networkMode() != 0) {
        return udp_ != nullptr ? udp_->purgeInput() : 1;
    }
    return serial_->purgeInput();
}

void DeviceLink::log(bool send, std::span<const std::uint8_t> bytes) {
    if (log_ != nullptr) {
        log_->append(send ? CommLog::Direction::Send : CommLog::Direction::Receive, bytes);
    }
}

int DeviceLink::sendFrame(std::span<std::uint8_t> bytes) {
    std::lock_guard lock(exchange_);
    return sendLocked(bytes);
}

int DeviceLink::sendLocked(std::span<std::uint8_t> bytes) {
    if (sendSwitch() == 0) {
        return 1;
    }
    if (bytes.size() < 3) {
        return 0;
    }
    try {
        frame::storeChecksum(bytes);
        ByteTransport* t = activeTransport();
        const int sent = t != nullptr ? t->writeAll(bytes.data(), bytes.size()) : -1;
        if (sent != static_cast<int>(bytes.size())) {
            return 0;
        }
        if (bytes[0] == frame::kHeader1 && bytes[1] == frame::kHeader2) {
            log(true, bytes);
        }
    } catch (const std::exception&) {
        return 0;
    }
    return 1;
}

int DeviceLink::receiveFrame(std::span<std::uint8_t> buffer) {
    std::lock_guard lock(exchange_);
    return receiveLocked(buffer);
}

int DeviceLink::receiveLocked(std::span<std::uint8_t> buffer) {
    try {
        ByteTransport* t = activeTransport();
        const int got = t != nullptr ? t->readAll(buffer.data(), buffer.size()) : -1;
        if (got != static_cast<int>(buffer.size()) || !frame::acceptReply(buffer)) {
            return 0;
        }
        if (buffer[frame::kReplyKindOffset] != frame::kUnloggedReplyKind) {
            log(false, buffer);
        }
    } catch (const std::exception&) {
        return 0;
    }
    return 1;
}

int DeviceLink::write(CommandCode code, const frame::DataBytes& data) {
    std::lock_guard lock(exchange_);
    frame_ = frame::resetFrame();
    frame_[frame::kCodeOffset] = static_cast<std::uint8_t>(code);
    std::copy(data.begin(), data.end(), frame_.begin() + frame::kDataOffset);
    return sendLocked(frame_);
}

int DeviceLink::read(std::uint8_t type, std::uint8_t first, std::uint8_t last) {
    // The plan table has 64 entries; an index beyond it would be written out of bounds.
    if (type == readtype::kPlanEntries && (first >= kPlanEntryCount || last >= kPlanEntryCount)) {
        return 0;
    }
    std::lock_guard lock(exchange_);
    ReadInProgress busy(readInProgress_);
    frame_ = frame::resetFrame();
    frame_[frame::kCodeOffset] = static_cast<std::uint8_t>(CommandCode::ReadBlock);
    frame_[frame::kDataOffset] = type;
    if (type == readtype::kPlanEntries) {
        frame_[frame::kDataOffset + 1] = first;
        frame_[frame::kDataOffset + 2] = last;
    }
    if (sendLocked(frame_) == 0) {
        return 0;
    }
    sleep_(kReadWait);
    const auto info = readTypeInfo(type);
    if (!info) {
        return 0;
    }
    if (type == readtype::kPlanEntries) {
        return readPlanEntries(first, last);
    }
    if (info->extraWait.count() > 0) {
        sleep_(info->extraWait);
    }
    auto& buffer = replies_[type];
    std::fill(buffer.begin(), buffer.end(), 0);
    if (receiveLocked(buffer) == 0) {
        return 0;
    }
    if (type == readtype::kIdentity) {
        return carriesIdentity(buffer) ? 1 : 0;
    }
    return 1;
}

int DeviceLink::readPlanEntries(std::uint8_t first, std::uint8_t last) {
    if (last < first) {
        return 0;
    }
    auto& buffer = replies_[readtype::kPlanEntries];
    for (unsigned i = first; i <= last; ++i) {
        std::fill(buffer.begin(), buffer.end(), 0);
        if (receiveLocked(buffer) == 0) {
            if (messages_ != nullptr) {
                messages_->report(MessageId::RecvFail);
            }
            return 0;
        }
        plans_[i] = planEntryFromPayload(std::span<const std::uint8_t, kPlanPayloadLength>(
            buffer.data() + frame::kPayloadOffset, kPlanPayloadLength));
        sleep_(kPlanEntryPause);
    }
    return 1;
}

ProbeOutcome DeviceLink::probeIdentity() {
    if (readInProgress() != 0) {
        return ProbeOutcome::NotRun;
    }
    std::unique_lock lock(exchange_, std::try_to_lock);
    if (!lock.owns_lock()) {
        return ProbeOutcome::NotRun; // another exchange holds the line
    }
    frame::CommandFrame probe = frame::resetFrame();
    probe[frame::kCodeOffset] = static_cast<std::uint8_t>(CommandCode::ReadBlock);
    probe[frame::kDataOffset] = readtype::kIdentity;
    if (sendLocked(probe) != 1) {
        return ProbeOutcome::NoAnswer;
    }
    sleep_(kProbeWait);
    auto& buffer = replies_[readtype::kIdentity];
    std::fill(buffer.begin(), buffer.end(), 0);
    if (receiveLocked(buffer) == 0) {
        return ProbeOutcome::NoAnswer;
    }
    return carriesIdentity(buffer) ? ProbeOutcome::Answered : ProbeOutcome::NoAnswer;
}

std::span<const std::uint8_t> DeviceLink::replyBuffer(std::uint8_t type) const {
    if (type > readtype::kLast) {
        return {};
    }
    return replies_[type];
}

std::span<std::uint8_t> DeviceLink::replyBuffer(std::uint8_t type) {
    if (type > readtype::kLast) {
        return {};
    }
    return replies_[type];
}

} // namespace korvane
