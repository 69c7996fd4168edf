// The simulator's frame parser. The input is a script of pieces: raw bytes, or a command frame
// (code and data bytes) that gets its checksum here so that every command handler is reached.
// The same stream goes to one model in one piece and to another in the pieces of the script: the
// two must act and answer alike, whatever the split.

#include "FuzzSupport.h"
#include "core/link/Frame.h"
#include "sim/SimModel.h"

#include <chrono>
#include <cstring>
#include <vector>

namespace {

using namespace korvane;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kFrameFlag = 0x80;
constexpr std::uint8_t kSplitFlag = 0x40;
constexpr std::uint8_t kRawLengthMask = 0x3F;

sim::SimModel fixedClockModel() {
    return sim::SimModel([] { return std::chrono::sys_seconds{std::chrono::hours{24 * 20000}}; });
}

Bytes flatten(const std::vector<sim::SimModel::Reply>& replies) {
    Bytes all;
    for (const auto& r : replies) {
        all.insert(all.end(), r.begin(), r.end());
    }
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvane::fuzz::ByteReader in(data, size);
    Bytes stream;
    std::vector<std::size_t> splits;
    std::vector<frame::CommandFrame> built;
    bool rawBytes = false;
    while (!in.empty()) {
        const std::uint8_t op = in.byte();
        if ((op & kFrameFlag) != 0) {
            const std::uint8_t code = in.byte();
            frame::DataBytes d = frame::padData();
            const auto given = in.bytes(frame::kDataCount);
            std::copy(given.begin(), given.end(), d.begin());
            built.push_back(frame::buildCommand(code, d));
            stream.insert(stream.end(), built.back().begin(), built.back().end());
        } else {
            const auto raw = in.bytes(op & kRawLengthMask);
            rawBytes = rawBytes || !raw.empty();
            stream.insert(stream.end(), raw.begin(), raw.end());
        }
        if ((op & kSplitFlag) != 0) {
            splits.push_back(stream.size());
        }
    }

    sim::SimModel whole = fixedClockModel();
    const auto wholeReplies = whole.feed(stream);

    sim::SimModel pieces = fixedClockModel();
    std::vector<sim::SimModel::Reply> pieceReplies;
    std::size_t from = 0;
    splits.push_back(stream.size());
    for (const std::size_t to : splits) {
        const auto got = pieces.feed(std::span(stream).subspan(from, to - from));
        pieceReplies.insert(pieceReplies.end(), got.begin(), got.end());
        from = to;
    }

    FUZZ_CHECK(flatten(wholeReplies) == flatten(pieceReplies));
    FUZZ_CHECK(whole.receivedFrames() == pieces.receivedFrames());
    FUZZ_CHECK(std::memcmp(&whole.mirror(), &pieces.mirror(), sizeof(ParameterMirror)) == 0);
    for (const auto& reply : wholeReplies) {
        FUZZ_CHECK(frame::acceptReply(reply));
    }
    for (const auto& f : whole.receivedFrames()) {
        FUZZ_CHECK(f[0] == frame::kHeader1 && f[1] == frame::kHeader2 && f[2] == frame::kAddress);
        FUZZ_CHECK(frame::sum8(f, 2, frame::kChecksumOffset) == f[frame::kChecksumOffset]);
    }
    // Without stray bytes every frame given is taken, in order.
    if (!rawBytes) {
        FUZZ_CHECK(whole.receivedFrames() == built);
    }
    return 0;
}
