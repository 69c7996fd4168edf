// Reply frames as the program receives them: the acceptance rule, the payload view, every read
// type's unpacking into the mirror, the plan-entry decoding, and one read through the frame layer
// with the input as what the line delivers.

#include "FuzzSupport.h"
#include "core/link/ByteTransport.h"
#include "core/link/DeviceLink.h"
#include "core/link/Frame.h"
#include "core/link/ParameterMirror.h"
#include "core/link/PlanEntry.h"
#include "core/link/ReadTypes.h"

#include <cstring>
#include <memory>

namespace {

using namespace korvane;
using Bytes = std::span<const std::uint8_t>;
using Unpack = bool (*)(ParameterMirror&, Bytes);

// Each unpacker beside the read type whose payload it takes; the payload length comes from the
// reply table, so the two cannot disagree unnoticed.
struct UnpackRow {
    std::uint8_t type;
    Unpack unpack;
};
constexpr UnpackRow kUnpacks[] = {
    {readtype::kMain, unpackMain},
    {readtype::kPicture1Input, unpackPicture1Input},
    {readtype::kPicture2Input, unpackPicture2Input},
    {readtype::kPicture1Output, unpackPicture1Output},
    {readtype::kPicture2, unpackPicture2},
    {readtype::kFade, unpackFade},
    {readtype::kClock, unpackClock},
    {readtype::kSwitchState, unpackSwitchState},
    {readtype::kDeviceInfo, unpackDeviceInfo},
    {readtype::kAudioPorts, unpackAudioPorts},
    {readtype::kPlanHeader, unpackPlanHeader},
};

bool sameBytes(const void* a, const void* b, std::size_t n) {
    return std::memcmp(a, b, n) == 0;
}

ParameterMirror defaultMirror() {
    ParameterMirror m{};
    applyMirrorDefaults(m, 6);
    return m;
}

// The reply rule written out on its own: header, a length byte naming exactly the bytes between
// it and the checksum, and the 8-bit sum of bytes 2 .. L-2 in the last byte.
bool wellFormed(Bytes frame) {
    if (frame.size() < frame::kReplyOverhead || frame[0] != 0xED || frame[1] != 0xCB ||
        frame[4] + std::size_t{6} != frame.size()) {
        return false;
    }
    unsigned sum = 0;
    for (std::size_t i = 2; i + 1 < frame.size(); ++i) {
        sum += frame[i];
    }
    return (sum & 0xFFu) == frame.back();
}

void checkAcceptance(Bytes frame) {
    if (frame::acceptReply(frame)) {
        FUZZ_CHECK(wellFormed(frame));
    }
    const Bytes payload = replyPayload(frame);
    if (!payload.empty()) {
        FUZZ_CHECK(payload.data() == frame.data() + frame::kPayloadOffset);
        FUZZ_CHECK(payload.size() <= frame[frame::kReplyLengthOffset]);
        FUZZ_CHECK(frame::kPayloadOffset + payload.size() < frame.size());
    }
    // What the processor would send for this payload is always accepted.
    if (payload.size() <= 0xFF) {
        std::vector<std::uint8_t> rebuilt(payload.size() + frame::kReplyOverhead);
        FUZZ_CHECK(frame::buildReply(0, payload, rebuilt) == rebuilt.size());
        FUZZ_CHECK(frame::acceptReply(rebuilt));
        FUZZ_CHECK(replyPayload(rebuilt).size() == payload.size());
    }
}

void checkUnpacking(Bytes payload) {
    const ParameterMirror base = defaultMirror();
    for (const UnpackRow& row : kUnpacks) {
        const std::size_t length = readTypeInfo(row.type)->replyLength - frame::kReplyOverhead;
        ParameterMirror m = base;
        const bool unpacked = row.unpack(m, payload);
        FUZZ_CHECK(unpacked == (payload.size() >= length));
        if (!unpacked) {
            FUZZ_CHECK(sameBytes(&m, &base, sizeof m));
            continue;
        }
        // Bytes past the type's payload are never read.
        ParameterMirror exact = base;
        FUZZ_CHECK(row.unpack(exact, payload.first(length)));
        FUZZ_CHECK(sameBytes(&m, &exact, sizeof m));
    }
    if (payload.size() >= kPlanPayloadLength) {
        const PlanEntry e = planEntryFromPayload(payload.first<kPlanPayloadLength>());
        const auto again = planPayloadFromEntry(e);
        const PlanEntry e2 = planEntryFromPayload(again);
        FUZZ_CHECK(sameBytes(&e, &e2, sizeof e));
        // A table read from the processor goes back bit for bit.
        const PlanEntry repacked = packPlanEntry(e.index, unpackPlanFields(e));
        FUZZ_CHECK(sameBytes(&e, &repacked, sizeof e));
    }
    (void)inputWindowLimits(payload);
}

// Serves the input as the bytes arriving on the line; reads past them fail like a time-out.
class LineTransport : public ByteTransport {
public:
    explicit LineTransport(Bytes incoming) : incoming_(incoming) {}
    int open() override { return 1; }
    void close() override {}
    int isOpen() const override { return 1; }
    int writeAll(const std::uint8_t*, std::size_t length) override {
        return static_cast<int>(length);
    }
    int readAll(std::uint8_t* buffer, std::size_t length) override {
        if (incoming_.size() < length) {
            incoming_ = {};
            return -1;
        }
        std::memcpy(buffer, incoming_.data(), length);
        incoming_ = incoming_.subspan(length);
        return static_cast<int>(length);
    }
    int purgeInput() override { return 1; }

private:
    Bytes incoming_;
};

void checkLinkRead(std::uint8_t type, std::uint8_t first, std::uint8_t last, Bytes line) {
    DeviceLink link(std::make_unique<LineTransport>(line), nullptr, nullptr);
    link.setSleeper([](std::chrono::milliseconds) {});
    link.setSendSwitch(1);
    const int result = link.read(type, first, last);
    const auto info = readTypeInfo(type);
    if (result == 0 || !info) {
        FUZZ_CHECK(result == 0);
        return;
    }
    if (type != readtype::kPlanEntries) {
        const Bytes reply = link.replyBuffer(type);
        FUZZ_CHECK(reply.size() == info->replyLength);
        // A successful read means the length byte equals the type's payload length.
        FUZZ_CHECK(reply[frame::kReplyLengthOffset] == info->replyLength - 6);
        FUZZ_CHECK(wellFormed(reply));
        FUZZ_CHECK(sameBytes(reply.data(), line.data(), reply.size()));
        return;
    }
    // Entry i came from the (i - first)-th reply on the line; the others stay as they were.
    for (std::size_t i = 0; i < kPlanEntryCount; ++i) {
        const PlanEntry& got = link.planTable()[i];
        PlanEntry expected{};
        if (i >= first && i <= last) {
            const Bytes reply = line.subspan((i - first) * info->replyLength, info->replyLength);
            FUZZ_CHECK(reply[frame::kReplyLengthOffset] == info->replyLength - 6);
            FUZZ_CHECK(wellFormed(reply));
            expected = planEntryFromPayload(
                reply.subspan(frame::kPayloadOffset).first<kPlanPayloadLength>());
        }
        FUZZ_CHECK(sameBytes(&got, &expected, sizeof got));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes all(data, size);
    checkAcceptance(all);
    checkUnpacking(replyPayload(all));
    checkUnpacking(all);

    korvane::fuzz::ByteReader in(data, size);
    // Types and plan indices a little past their ranges, so that refusals are reached too.
    const auto type = static_cast<std::uint8_t>(in.byte() % (readtype::kLast + 3));
    const auto first = static_cast<std::uint8_t>(in.byte() % (kPlanEntryCount + 4));
    const auto last = static_cast<std::uint8_t>(in.byte() % (kPlanEntryCount + 4));
    checkLinkRead(type, first, last, in.rest());
    return 0;
}
