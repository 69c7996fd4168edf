#include "core/commands/PlanTransfer.h"

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"

#include <algorithm>

namespace korvane {

int PlanListRead::run() {
    if (!linkOpen()) {
        return 0;
    }
    ctx_.link.purgeInput();
    if (ctx_.link.read(readtype::kPlanEntries, first_, last_) == 0) {
        report(MessageId::PlanListQueryFailed);
        return 0;
    }
    const auto& table = ctx_.link.planTable();
    std::copy(table.begin() + first_, table.begin() + last_ + 1, ctx_.mirror.plans + first_);
    return 1;
}

int PlanListSend::run() {
    if (!linkOpen()) {
        return 0;
    }
    const unsigned last = std::min<unsigned>(last_, kPlanEntryCount - 1);
    for (unsigned i = first_; i <= last; ++i) {
        const PlanEntry& e = ctx_.link.planTable()[i];
        if (e.index == kUnusedPlanEntry) {
            continue;
        }
        // A write the link fails (a line that has gone) ends the send: the rest would fail the
        // same way, and the caller must not be told that the processor has the plans.
        if (ctx_.facade.writePlanEntry(static_cast<std::uint8_t>(i), unpackPlanFields(e)) == 0) {
            report(MessageId::PlanSendFailed);
            return 0;
        }
        if (ctx_.link.lastFrameSent()) { // the pause paces entries that went out
            ctx_.link.pause(kPlanEntryPause);
        }
    }
    return 1;
}

int PlanHeaderSend::run() {
    if (!linkOpen()) {
        return 0;
    }
    const auto reply = ctx_.link.replyBuffer(readtype::kPlanHeader);
    ctx_.facade.setPlanState(reply[frame::kPayloadOffset], reply[frame::kPayloadOffset + 1]);
    return 1;
}

} // namespace korvane
