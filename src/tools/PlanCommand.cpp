#include "PlanCommand.h"

#include "DeviceReadCommand.h"
#include "HexText.h"
#include "core/commands/CommandFacade.h"
#include "core/commands/PlanTransfer.h"
#include "core/link/DeviceLink.h"
#include "core/schedule/PlanItem.h"
#include "core/schedule/PlanText.h"
#include "core/store/InputFile.h"

#include <fstream>
#include <sstream>

namespace korvane::ctl {

namespace {
constexpr std::string_view kPlanSynopsis = "read | send FILE | header | enable | disable";
constexpr std::string_view kClockSynopsis = "read | set [now|\"YYYY-MM-DD HH:MM:SS\"]";
constexpr auto kLastSlot = static_cast<std::uint8_t>(kPlanEntryCount - 1);
// Header byte 0 is reserved and always sent as 0; byte 1 runs the plans.
constexpr std::uint8_t kHeaderReserved = 0;

int printFrame(Session& s) {
    s.out << hexBytes(s.link.commandFrame()) << '\n';
    return kExitOk;
}

int runPlanRead(Session& s) {
    if (PlanListRead(s.context(), 0, kLastSlot).run() == 0) {
        return kExitFailure;
    }
    // The editor's items start all zero; slots the processor marks unused leave theirs so.
    PlanItems items{};
    decodePlanTable(s.link.planTable(), items);
    s.out << formatPlanText(items);
    return kExitOk;
}

int runPlanSend(Session& s, const PlanItems& items) {
    packPlanItems(items, s.link.planTable());
    return PlanListSend(s.context(), 0, kLastSlot).run() != 0 ? kExitOk : kExitFailure;
}

int runPlanState(Session& s, bool enable) {
    // The header send takes its bytes from where the plan dialog leaves them.
    const auto header = s.link.replyBuffer(readtype::kPlanHeader);
    header[frame::kPayloadOffset] = kHeaderReserved;
    header[frame::kPayloadOffset + 1] = enable ? 1 : 0;
    if (PlanHeaderSend(s.context()).run() == 0) {
        return kExitFailure;
    }
    return printFrame(s);
}

Prepared preparePlanSend(const std::string& path) {
    std::string text;
    if (const auto ec = readRegularFile(path, filelimit::kPlanText, text)) {
        return refuseFile("plan send", "cannot read " + path + ": " +
                                           inputFileErrorText(ec, filelimit::kPlanText));
    }
    const PlanTextParse parsed = parsePlanText(text);
    if (!parsed.ok) {
        return refuseFile("plan send", path + ": " + parsed.error);
    }
    // Nothing goes out while any line holds what the editor would refuse.
    const auto faults = planSendFaults(parsed);
    if (!faults.empty()) {
        std::string what = path + ": nothing sent:";
        for (const std::string& f : faults) {
            what += "\n  " + f;
        }
        return refuseFile("plan send", what);
    }
    return {[items = parsed.items](Session& s) { return runPlanSend(s, items); }, {}, {}};
}

int runClockSet(Session& s, const ArgValues& v) {
    if (s.commands.setClock(v[0], v[1], v[2], v[3], v[4], v[5]) == 0) {
        s.err << "korvanectl: clock set: sending failed\n";
        return kExitFailure;
    }
    return printFrame(s);
}
} // namespace

Prepared preparePlan(std::span<const std::string> operands, LocalTime) {
    const std::string verb = operands.empty() ? "" : operands[0];
    if (operands.size() == 2 && verb == "send") {
        return preparePlanSend(operands[1]);
    }
    if (operands.size() == 1 && verb == "read") {
        return {runPlanRead, {}, {}};
    }
    if (operands.size() == 1 && verb == "header") {
        return deviceReadAction(ReadBackKind::PlanHeader);
    }
    if (operands.size() == 1 && (verb == "enable" || verb == "disable")) {
        const bool enable = verb == "enable";
        return {[enable](Session& s) { return runPlanState(s, enable); }, {}, {}};
    }
    return wrongArity("plan", kPlanSynopsis);
}

Prepared prepareClock(std::span<const std::string> operands, LocalTime now) {
    const std::string verb = operands.empty() ? "" : operands[0];
    if (operands.size() == 1 && verb == "read") {
        return deviceReadAction(ReadBackKind::Clock);
    }
    if ((operands.size() == 1 || operands.size() == 2) && verb == "set") {
        const std::string when = operands.size() == 2 ? operands[1] : "now";
        ArgValues v;
        std::string error;
        if (!takeOperand("clock set", kindArg("DATETIME", ArgKind::DateTime), when, now, v,
                         error)) {
            return {{}, {}, error};
        }
        return {[v](Session& s) { return runClockSet(s, v); }, {}, {}};
    }
    return wrongArity("clock", kClockSynopsis);
}

} // namespace korvane::ctl
