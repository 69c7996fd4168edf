#include "core/link/Frame.h"

namespace korvane::frame {

CommandFrame resetFrame() {
    CommandFrame f{};
    f.fill(kPad);
    f[0] = kHeader1;
    f[1] = kHeader2;
    f[2] = kAddress;
    return f;
}

std::uint8_t sum8(std::span<const std::uint8_t> bytes, std::size_t from, std::size_t to) {
    unsigned sum = 0;
    for (std::size_t i = from; i < to && i < bytes.size(); ++i) {
        sum += bytes[i];
    }
    return static_cast<std::uint8_t>(sum & 0xFFu);
}

void storeChecksum(std::span<std::uint8_t> frame) {
    if (frame.size() < 3) {
        return;
    }
    frame[frame.size() - 1] = sum8(frame, 2, frame.size() - 1);
}

CommandFrame buildCommand(std::uint8_t code, const DataBytes& data) {
    CommandFrame f = resetFrame();
    f[kCodeOffset] = code;
    for (std::size_t i = 0; i < kDataCount; ++i) {
        f[kDataOffset + i] = data[i];
    }
    storeChecksum(f);
    return f;
}

bool acceptReply(std::span<const std::uint8_t> frame) {
    const std::size_t length = frame.size();
    if (length < kReplyOverhead || frame[0] != kHeader1 || frame[1] != kHeader2) {
        return false;
    }
    // The length byte must name exactly the payload the frame carries: a smaller one would
    // leave payload bytes unchecked and the reply unread.
    const std::size_t n = frame[kReplyLengthOffset];
    if (n + kReplyOverhead != length) {
        return false;
    }
    return sum8(frame, 2, kPayloadOffset + n) == frame[length - 1];
}

std::size_t buildReply(std::uint8_t kind, std::span<const std::uint8_t> payload,
                       std::span<std::uint8_t> out) {
    const std::size_t length = payload.size() + kReplyOverhead;
    if (out.size() < length || payload.size() > 0xFF) {
        return 0;
    }
    out[0] = kHeader1;
    out[1] = kHeader2;
    out[2] = kAddress;
    out[kReplyKindOffset] = kind;
    out[kReplyLengthOffset] = static_cast<std::uint8_t>(payload.size());
    for (std::size_t i = 0; i < payload.size(); ++i) {
        out[kPayloadOffset + i] = payload[i];
    }
    out[length - 1] = sum8(out.first(length), 2, length - 1);
    return length;
}

} // namespace korvane::frame
