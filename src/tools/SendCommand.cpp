#include "SendCommand.h"

#include "CommandCatalogue.h"
#include "HexText.h"
#include "core/link/DeviceLink.h"

namespace korvane::ctl {

namespace {
int runSend(const ParsedCommand& parsed, Session& s) {
    const std::string name(parsed.entry->name);
    const frame::CommandFrame before = s.link.commandFrame();
    if (parsed.entry->handler(s.commands, s.mirror, parsed.values) == 0) {
        s.err << "korvanectl: " << name << ": sending failed\n";
        return kExitFailure;
    }
    // Each run sends at most one frame, so an unchanged frame means nothing went out: the
    // facade keeps an input window outside its limits without sending it.
    if (s.link.commandFrame() == before) {
        s.err << "korvanectl: " << name
              << ": not sent, the window does not fit within HLIMIT and VLIMIT\n";
        return kExitFailure;
    }
    s.out << hexBytes(s.link.commandFrame()) << '\n';
    return kExitOk;
}
} // namespace

Prepared prepareSend(std::span<const std::string> operands, LocalTime now) {
    ParsedCommand parsed = parseCommand(operands, now);
    if (parsed.entry == nullptr) {
        return {{}, {}, std::move(parsed.error)};
    }
    return {[parsed = std::move(parsed)](Session& s) { return runSend(parsed, s); }, {}, {}};
}

} // namespace korvane::ctl
