#pragma once

#include "ArgRule.h"
#include "CtlOptions.h"
#include "core/schedule/LocalTime.h"
#include "core/schedule/ScheduleExecutor.h"

#include <chrono>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace korvane {
class CommandFacade;
class DeviceLink;
class MessageSink;
struct OperationContext;
struct ParameterMirror;
} // namespace korvane

namespace korvane::ctl {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Time as the headless schedule runner sees it; tests step the clock and shorten the tick.
struct ScheduleTiming {
    LocalClock clock = systemLocalTime;
    std::chrono::milliseconds tickPeriod = kScheduleTickPeriod;
    // How often `schedule run` probes an idle link (0 = never; a serial hang-up is seen anyway).
    std::chrono::milliseconds keepAlive{5000};
};

// What a sub-command works with once the link is open.
struct Session {
    DeviceLink& link;
    ParameterMirror& mirror;
    CommandFacade& commands;
    // Where the core's operations report their failures (printed on `err`).
    MessageSink& messages;
    std::ostream& out;
    std::ostream& err;
    const ScheduleTiming& schedule;

    OperationContext context();
};

// What a sub-command that needs no processor works with.
struct OfflineSession {
    const LinkOptions& link;
    std::ostream& out;
    std::ostream& err;
};

// Operands checked and ready to run; the result is the exit status.
using Action = std::function<int(Session&)>;
using OfflineAction = std::function<int(OfflineSession&)>;

// Exactly one of the two actions is set when the operands were accepted.
struct Prepared {
    Action action;
    OfflineAction offline;
    std::string error; // names the sub-command or command and the operand
    // The exit status of a refusal: a usage error, unless a file named on the line was refused.
    int refusalStatus = kExitUsage;
};

// Operands are checked before the link opens, so that a refused line touches no device.
struct SubCommand {
    std::string_view name;
    std::string_view synopsis;
    std::string_view description;
    Prepared (*prepare)(std::span<const std::string> operands, LocalTime now);
};

std::span<const SubCommand> subCommands();
const SubCommand* findSubCommand(std::string_view name);

// A refusal naming the sub-command: "<command>: <what>".
Prepared refuse(std::string_view command, const std::string& what);
// A file named on the line that cannot be used: "<command>: <what>", a failure (not a usage
// error).
Prepared refuseFile(std::string_view command, const std::string& what);
// "<command>: wrong number of arguments; usage: <command> <synopsis>"
Prepared wrongArity(std::string_view command, std::string_view synopsis);
// Checks one operand against `rule` and appends its value(s); false with `error` set when it is
// refused ("<command>: NAME must be ..., got '...'").
bool takeOperand(std::string_view command, const ArgRule& rule, const std::string& text,
                 LocalTime now, ArgValues& values, std::string& error);

} // namespace korvane::ctl
