#include "SubCommand.h"

#include "DeviceReadCommand.h"
#include "DiscoverCommand.h"
#include "InputAdjustCommand.h"
#include "PlanCommand.h"
#include "ReadCommand.h"
#include "ScheduleCommand.h"
#include "SendCommand.h"
#include "TemplateCommand.h"
#include "core/commands/DeviceOperation.h"

#include <algorithm>
#include <array>

namespace korvane::ctl {

namespace {
using enum ReadBackKind;

const std::array<SubCommand, 20> kSubCommands{{
    {"send", "NAME [ARG...]", "send one command of the list below; prints the frame sent",
     prepareSend},
    {"read", "TYPE [FIRST LAST]",
     "one read request (TYPE 0..255); prints the reply frame. Type 15 reads plan entries "
     "FIRST..LAST (0..63, default all) and prints the stored entries, 10 bytes a line",
     prepareRead},
    {"sync", "[--save FILE.kvt]",
     "read the processor's whole state and print it; with --save also write it as a template "
     "file",
     prepareSync},
    {"load", "FILE.kvt",
     "synchronise, then load a template file: every parameter is sent, then everything is "
     "read back",
     prepareLoad},
    {"recall", "N", "recall the processor's template N (1..10); prints the frame sent",
     prepareRecall},
    {"store", "N", "store the current settings as the processor's template N (1..10)",
     prepareStore},
    {"picture-quality", "", "read and print the picture-quality settings",
     prepareDeviceRead<PictureQuality>},
    {"gains", "", "read and print the red, green and blue gains", prepareDeviceRead<Gains>},
    {"picture1-input", "", "read and print picture 1's input window and the input's limits",
     prepareDeviceRead<Picture1Input>},
    {"picture2-input", "", "read and print picture 2's input window and the input's limits",
     prepareDeviceRead<Picture2Input>},
    {"picture2", "", "read and print picture 2: input, PIP, transparency, window",
     prepareDeviceRead<Picture2>},
    {"switch-query", "[--long-wait]",
     "read and print the inputs shown and the top layer (--long-wait: after 2 s, not 0.2 s)",
     prepareDeviceRead<SwitchQuery>},
    {"input-settings", "", "read and print the input settings reply",
     prepareDeviceRead<InputSettings>},
    {"device-info", "", "read and print the model, version and factory date",
     prepareDeviceRead<DeviceInfo>},
    {"identity", "", "read and print the processor's identity", prepareDeviceRead<Identity>},
    {"input-adjust", "PICTURE auto | PICTURE X Y W H",
     "send picture 1's or 2's input window: auto = at 0,0 with the size the processor reports; "
     "otherwise only if it fits the input's limits; prints the frame sent",
     prepareInputAdjust},
    {"plan", "read | send FILE | header | enable | disable",
     "the 64 offline plan entries as the plan editor shows them (read), sent back from that "
     "text (send: all 64 entries go out, those not in the file empty; nothing is sent while a "
     "line holds a date, time or interval the editor refuses); the plan header read, or sent "
     "to run (enable) or stop (disable) the plans",
     preparePlan},
    {"clock", "read | set [now|\"YYYY-MM-DD HH:MM:SS\"]",
     "read the processor's clock, or set it (default now, this computer's local time)",
     prepareClock},
    {"schedule",
     "show FILE.kss | due FILE.kss --at DATETIME [--last N [--ran DATETIME]] | run FILE.kss",
     "the runner's list of a schedule file, invalid lines and skipped tasks marked (show); the "
     "task the runner would start at a moment, given the last task run and when it ran (due; "
     "--ran defaults to --at); run the schedule headless, ticking every 2 s and printing each "
     "task run, skipped tasks on stderr, until SIGINT, SIGTERM or SIGHUP (run, needs the "
     "processor; a "
     "lost link is printed and reconnected, and what fell due meanwhile runs when it is back)",
     prepareSchedule},
    {"discover", "--port P",
     "broadcast an identity request to --broadcast ADDR on port P; prints each processor that "
     "answered as ADDRESS:PORT (needs neither --device nor --udp)",
     prepareDiscover},
}};
} // namespace

OperationContext Session::context() {
    return {link, mirror, commands, &messages};
}

std::span<const SubCommand> subCommands() {
    return kSubCommands;
}

const SubCommand* findSubCommand(std::string_view name) {
    const auto it = std::ranges::find(kSubCommands, name, &SubCommand::name);
    return it != kSubCommands.end() ? &*it : nullptr;
}

Prepared refuse(std::string_view command, const std::string& what) {
    return {{}, {}, std::string(command) + ": " + what};
}

Prepared refuseFile(std::string_view command, const std::string& what) {
    return {{}, {}, std::string(command) + ": " + what, kExitFailure};
}

Prepared wrongArity(std::string_view command, std::string_view synopsis) {
    const std::string usage =
        std::string(command) + (synopsis.empty() ? "" : " ") + std::string(synopsis);
    return refuse(command, "wrong number of arguments; usage: " + usage);
}

bool takeOperand(std::string_view command, const ArgRule& rule, const std::string& text,
                 LocalTime now, ArgValues& values, std::string& error) {
    if (parseArg(rule, text, now, values)) {
        return true;
    }
    error = std::string(command) + ": " + std::string(rule.name) + " must be " + expectation(rule) +
            ", got '" + text + "'";
    return false;
}

} // namespace korvane::ctl
