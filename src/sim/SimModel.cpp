#include "SimModel.h"

#include "SimReplies.h"
#include "SimWrites.h"
#include "core/link/CommandCodes.h"
#include "core/link/PlanEntry.h"
#include "core/link/ReadTypes.h"

#include <algorithm>
#include <cstring>

namespace korvane::sim {

namespace {
namespace slotaction {
constexpr std::uint8_t kStore = 0;
constexpr std::uint8_t kRecall = 1;
} // namespace slotaction

bool startsFrame(std::span<const std::uint8_t> bytes, std::size_t at) {
    // A header split across two reads is kept until its second byte arrives.
    return bytes[at] == frame::kHeader1 &&
           (at + 1 == bytes.size() || bytes[at + 1] == frame::kHeader2);
}

bool wellFormed(std::span<const std::uint8_t, frame::kCommandLength> f) {
    return f[0] == frame::kHeader1 && f[1] == frame::kHeader2 && f[2] == frame::kAddress &&
           frame::sum8(f, 2, frame::kChecksumOffset) == f[frame::kChecksumOffset];
}
} // namespace

SimModel::SimModel(SimClock::TimeSource now) : clock_(std::move(now)), state_(factoryState()) {}

bool SimModel::hungUp() const {
    return faults_.hangUpAfter && received_.size() >= *faults_.hangUpAfter;
}

bool SimModel::silent() const {
    return silenceBegan_ && steadyNow_() < *silenceBegan_ + faults_.silentFor;
}

void SimModel::startSilenceWhenDue() {
    if (!silenceBegan_ && faults_.silentAfter && received_.size() >= *faults_.silentAfter) {
        silenceBegan_ = steadyNow_();
    }
}

std::vector<SimModel::Reply> SimModel::feed(std::span<const std::uint8_t> bytes) {
    std::vector<Reply> out;
    startSilenceWhenDue();
    if (hungUp() || silent()) {
        pending_.clear();
        return out;
    }
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    const std::span<const std::uint8_t> buffer(pending_);
    std::size_t pos = 0;
    while (pos < buffer.size() && !hungUp() && !silent()) {
        if (!startsFrame(buffer, pos)) {
            ++pos;
            continue;
        }
        if (buffer.size() - pos < frame::kCommandLength) {
            break;
        }
        const auto candidate = buffer.subspan(pos).first<frame::kCommandLength>();
        if (!wellFormed(candidate)) {
            // Resynchronise on the next header, which may lie inside the rejected bytes.
            ++pos;
            continue;
        }
        frame::CommandFrame f{};
        std::copy(candidate.begin(), candidate.end(), f.begin());
        pos += frame::kCommandLength;
        handle(f, out);
        startSilenceWhenDue();
    }
    if (hungUp() || silent()) {
        pending_.clear();
    } else {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(pos));
    }
    return out;
}

void SimModel::handle(const frame::CommandFrame& f, std::vector<Reply>& out) {
    received_.push_back(f);
    const std::uint8_t code = f[frame::kCodeOffset];
    frame::DataBytes d{};
    std::copy_n(f.begin() + frame::kDataOffset, frame::kDataCount, d.begin());
    switch (static_cast<CommandCode>(code)) {
    case CommandCode::ReadBlock:
        answerRead(d, out);
        break;
    case CommandCode::TemplateSlot:
        templateSlot(d);
        break;
    case CommandCode::FactoryReset:
        factoryReset();
        break;
    case CommandCode::SetClock:
        clock_.set(std::span(d).first<6>());
        std::copy_n(d.begin(), sizeof state_.mirror.clock, state_.mirror.clock);
        break;
    default:
        applyWrite(state_, code, d);
        break;
    }
}

void SimModel::answerRead(const frame::DataBytes& d, std::vector<Reply>& out) const {
    const std::uint8_t type = d[0];
    if (faults_.noReply.contains(type)) {
        return;
    }
    if (type == readtype::kPlanEntries) {
        const std::uint8_t first = d[1];
        const std::uint8_t last = d[2];
        if (last < first || last >= kPlanEntryCount) {
            return;
        }
        for (std::size_t i = first; i <= last; ++i) {
            const auto payload = planPayloadFromEntry(state_.mirror.plans[i]);
            out.push_back(makeReply(type, payload));
        }
        return;
    }
    if (const auto payload = readPayload(state_, clock_.bytes(), type)) {
        out.push_back(makeReply(type, *payload));
    }
}

SimModel::Reply SimModel::makeReply(std::uint8_t type,
                                    std::span<const std::uint8_t> payload) const {
    Reply r(payload.size() + frame::kReplyOverhead);
    frame::buildReply(kReplyKind, payload, r);
    if (faults_.shortLengthByte.contains(type) && !payload.empty()) {
        const std::size_t n = payload.size() - 1;
        r[frame::kReplyLengthOffset] = static_cast<std::uint8_t>(n);
        r.back() = frame::sum8(r, 2, frame::kPayloadOffset + n);
    }
    if (faults_.badChecksumAll || faults_.badChecksum.contains(type)) {
        r.back() = static_cast<std::uint8_t>(r.back() + 1);
    }
    if (faults_.shortReply.contains(type)) {
        r.pop_back();
    }
    return r;
}

void SimModel::templateSlot(const frame::DataBytes& d) {
    const std::uint8_t slot = d[1];
    if (slot < 1 || slot > kTemplateSlots) {
        return;
    }
    auto& stored = slots_[slot - 1];
    if (d[0] == slotaction::kStore) {
        stored = state_;
        return;
    }
    if (d[0] != slotaction::kRecall || !stored) {
        return;
    }
    // A template holds picture settings only: offline plans recall templates, so recalling one
    // must not touch the plans, the clock or what the device is.
    const SimState keep = state_;
    state_ = *stored;
    ParameterMirror& m = state_.mirror;
    std::memcpy(m.clock, keep.mirror.clock, sizeof m.clock);
    std::memcpy(m.deviceInfo, keep.mirror.deviceInfo, sizeof m.deviceInfo);
    std::memcpy(m.plans, keep.mirror.plans, sizeof m.plans);
    std::memcpy(m.planHeader, keep.mirror.planHeader, sizeof m.planHeader);
}

void SimModel::factoryReset() {
    // The clock keeps running; settings, plans and stored templates are gone.
    const SimState keep = state_;
    state_ = factoryState();
    std::memcpy(state_.mirror.clock, keep.mirror.clock, sizeof state_.mirror.clock);
    slots_.fill(std::nullopt);
}

} // namespace korvane::sim
