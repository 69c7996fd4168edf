#pragma once

#include "ArgRule.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {
class CommandFacade;
struct ParameterMirror;
} // namespace korvane

namespace korvane::ctl {

// Sends one command through the facade; the mirror is there for the commands that send several
// mirror fields at once. The result is the facade's.
using CommandHandler = int (*)(CommandFacade&, ParameterMirror&, const ArgValues&);

// One command korvanectl can send: its arguments (which also give the synopsis and the
// arity), what it does, and how it is sent.
struct CatalogueEntry {
    std::string_view name;
    std::vector<ArgRule> args;
    // The last `optional` arguments are given all together or not at all.
    std::size_t optional;
    std::string_view description;
    CommandHandler handler;
};

const std::vector<CatalogueEntry>& catalogue();
// By name, in any case; null when there is none.
const CatalogueEntry* findCommand(std::string_view name);
// The arguments as --help shows them: "X Y W H [HLIMIT VLIMIT]".
std::string synopsis(const CatalogueEntry& entry);
// The name followed by the synopsis.
std::string usageLine(const CatalogueEntry& entry);

struct ParsedCommand {
    const CatalogueEntry* entry = nullptr; // null when the words were refused
    ArgValues values;
    std::string error; // names the command and the argument
};

// `words` = command name followed by its arguments.
ParsedCommand parseCommand(std::span<const std::string> words, LocalTime now = currentLocalTime);

} // namespace korvane::ctl
