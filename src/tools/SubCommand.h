#pragma once

#include "ArgRule.h"

#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace korvane {
class CommandFacade;
class DeviceLink;
struct ParameterMirror;
} // namespace korvane

namespace korvane::ctl {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// What a sub-command works with once the link is open.
struct Session {
    DeviceLink& link;
    ParameterMirror& mirror;
    CommandFacade& commands;
    std::ostream& out;
    std::ostream& err;
};

// Operands checked and ready to run; the result is the exit status.
using Action = std::function<int(Session&)>;

struct Prepared {
    Action action;     // empty when the operands were refused
    std::string error; // names the sub-command or command and the operand
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

} // namespace korvane::ctl
