#include "core/link/DeviceLink.h"

#include "core/link/CommLog.h"
#include "core/link/ReadInProgress.h"

#include <algorithm>
#include <exception>
#include <thread>

namespace korvane {

namespace {
// The outcome of the last send per thread: the worker that sent a command is the one that
// decides whether to wait for the processor to act on it.
thread_local const DeviceLink* lastSendLink = nullptr;
thread_local bool lastSendWentOut = false;

bool carriesIdentity(std::span<const std::uint8_t> reply) {
    return reply.size() >= frame::kPayloadOffset + sizeof kIdentity &&
           std::equal(std::begin(kIdentity), std::end(kIdentity),
                      reply.begin() + frame::kPayloadOffset);
}
} // namespace

DeviceLink::TransportMakers DeviceLink::realTransports() {
    return {[](const SerialSettings& s) { return std::make_unique<SerialLink>(s); },
            [](const NetworkSettings& s, MessageSink* messages) {
                return std::make_unique<UdpLink>(s, messages);
            }};
}

DeviceLink::DeviceLink(CommLog* log, MessageSink* messages)
    : DeviceLink(realTransports(), log, messages) {}

DeviceLink::DeviceLink(TransportMakers makers, CommLog* log, MessageSink* messages)
    : DeviceLink(makers.serial(SerialSettings{}), log, messages) {
    udp_ = makers.network(NetworkSettings{}, messages);
    makers_ = std::move(makers);
}

DeviceLink::DeviceLink(std::unique_ptr<ByteTransport> serial, CommLog* log, MessageSink* messages)
    : makers_{nullptr, realTransports().network}, serial_(std::move(serial)), log_(log),
      messages_(messages),
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
    makers_.network = nullptr;
    replace(udp_, std::move(udp));
}

SerialSettings DeviceLink::serialSettings() const {
    std::lock_guard lock(settingsMutex_);
    return serialSettings_;
}

NetworkSettings DeviceLink::networkSettings() const {
    std::lock_guard lock(settingsMutex_);
    return networkSettings_;
}

ByteTransport* DeviceLink::activeTransport() const {
    return networkMode() != 0 ? udp_.get() : serial_.get();
}

int DeviceLink::open() {
    std::lock_guard lock(exchange_);
    ByteTransport* t = activeTransport();
    lineChanging(t);
    const int result = t != nullptr ? t->open() : 0;
    opened(result);
    return result;
}

void DeviceLink::replace(std::unique_ptr<ByteTransport>& current,
                         std::unique_ptr<ByteTransport> made) {
    lineChanging(current.get());
    if (current != nullptr) {
        current->close();
    }
    if (healthTransport_ == current.get()) {
        healthTransport_ = made.get();
    }
    // isOpen() asks without the exchange lock; the old transport goes once nobody can ask it.
    std::lock_guard lock(transportMutex_);
    current.swap(made);
}

int DeviceLink::configureSerialAndOpen(const SerialSettings& settings) {
    std::lock_guard lock(exchange_);
    {
        std::lock_guard settingsLock(settingsMutex_);
        serialSettings_ = settings;
    }
    if (makers_.serial) {
        replace(serial_, makers_.serial(settings));
    } else {
        lineChanging(serial_.get());
    }
    const int result = serial_->open();
    if (networkMode() == 0) {
        opened(result);
    }
    return result;
}

int DeviceLink::configureNetworkAndOpen(const NetworkSettings& settings) {
    std::lock_guard lock(exchange_);
    {
        std::lock_guard settingsLock(settingsMutex_);
        networkSettings_ = settings;
    }
    if (makers_.network) {
        replace(udp_, makers_.network(settings, messages_));
    } else if (udp_ == nullptr) {
        return 0;
    }
    const int result = udp_->open();
    if (networkMode() != 0) {
        opened(result);
    }
    return result;
}

void DeviceLink::close() {
    std::lock_guard lock(exchange_);
    if (ByteTransport* t = activeTransport()) {
        lineChanging(t);
        t->close();
        if (t == healthTransport_) {
            closed();
        }
    }
}

int DeviceLink::isOpen() const {
    std::lock_guard lock(transportMutex_);
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

bool DeviceLink::lastFrameSent() const {
    return lastSendLink == this && lastSendWentOut;
}

int DeviceLink::sendFrame(std::span<std::uint8_t> bytes) {
    std::lock_guard lock(exchange_);
    return sendLocked(bytes) != SendOutcome::Failed ? 1 : 0;
}

DeviceLink::SendOutcome DeviceLink::sendLocked(std::span<std::uint8_t> bytes) {
    lastSendLink = this;
    lastSendWentOut = false;
    if (sendSwitch() == 0) {
        return SendOutcome::Dropped;
    }
    if (bytes.size() < 3 || refuseWhileLost()) {
        return SendOutcome::Failed;
    }
    try {
        frame::storeChecksum(bytes);
        ByteTransport* t = activeTransport();
        const int sent = t != nullptr ? t->writeAll(bytes.data(), bytes.size()) : -1;
        if (sent != static_cast<int>(bytes.size())) {
            writeFailed();
            return SendOutcome::Failed;
        }
        lastSendWentOut = true;
        if (bytes[0] == frame::kHeader1 && bytes[1] == frame::kHeader2) {
            log(true, bytes);
        }
    } catch (const std::exception&) {
        return SendOutcome::Failed;
    }
    return SendOutcome::Sent;
}

int DeviceLink::receiveFrame(std::span<std::uint8_t> buffer) {
    std::lock_guard lock(exchange_);
    return receiveLocked(buffer);
}

int DeviceLink::receiveLocked(std::span<std::uint8_t> buffer,
                              std::optional<std::chrono::milliseconds> within) {
    try {
        ByteTransport* t = activeTransport();
        const int got = t == nullptr ? -1
                        : within     ? t->readAllWithin(buffer.data(), buffer.size(), *within)
                                     : t->readAll(buffer.data(), buffer.size());
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
    return sendLocked(frame_) != SendOutcome::Failed ? 1 : 0;
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
    switch (sendLocked(frame_)) {
    case SendOutcome::Failed:
        return 0;
    case SendOutcome::Dropped:
        return readNotSent(type, first, last);
    case SendOutcome::Sent:
        break;
    }
    sleep_(kReadWait);
    const auto info = readTypeInfo(type);
    if (!info) {
        return 0; // a type that never answers: no answer was expected, none is counted
    }
    if (type == readtype::kPlanEntries) {
        const int result = readPlanEntries(first, last);
        answered(result != 0, last >= first);
        return result;
    }
    if (info->extraWait.count() > 0) {
        sleep_(info->extraWait);
    }
    auto& buffer = replies_[type];
    std::fill(buffer.begin(), buffer.end(), 0);
    const int result =
        receiveLocked(buffer) != 0 && (type != readtype::kIdentity || carriesIdentity(buffer)) ? 1
                                                                                               : 0;
    answered(result != 0, true);
    return result;
}

int DeviceLink::readNotSent(std::uint8_t type, std::uint8_t first, std::uint8_t last) {
    if (!readTypeInfo(type)) {
        return 0;
    }
    auto& buffer = replies_[type];
    if (type == readtype::kPlanEntries) {
        if (last < first) {
            return 0;
        }
        std::fill(buffer.begin(), buffer.end(), 0);
        if (messages_ != nullptr) {
            messages_->report(MessageId::RecvFail); // as the first entry's missing reply would
        }
        return 0;
    }
    std::fill(buffer.begin(), buffer.end(), 0);
    return 0;
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
    if (sendLocked(probe) != SendOutcome::Sent) {
        return ProbeOutcome::NoAnswer; // failed, or dropped by the send switch: none can come
    }
    sleep_(kProbeWait);
    auto& buffer = replies_[readtype::kIdentity];
    std::fill(buffer.begin(), buffer.end(), 0);
    const bool valid = receiveLocked(buffer) != 0 && carriesIdentity(buffer);
    answered(valid, true);
    return valid ? ProbeOutcome::Answered : ProbeOutcome::NoAnswer;
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
