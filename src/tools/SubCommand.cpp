#include "SubCommand.h"

#include "ReadCommand.h"
#include "SendCommand.h"

#include <algorithm>
#include <array>

namespace korvane::ctl {

namespace {
constexpr std::array<SubCommand, 2> kSubCommands{{
    {"send", "NAME [ARG...]", "send one command of the list below; prints the frame sent",
     prepareSend},
    {"read", "TYPE [FIRST LAST]",
     "one read request (TYPE 0..255); prints the reply frame. Type 15 reads plan entries "
     "FIRST..LAST (0..63, default all) and prints the stored entries, 10 bytes a line",
     prepareRead},
}};
} // namespace

std::span<const SubCommand> subCommands() {
    return kSubCommands;
}

const SubCommand* findSubCommand(std::string_view name) {
    const auto it = std::ranges::find(kSubCommands, name, &SubCommand::name);
    return it != kSubCommands.end() ? &*it : nullptr;
}

} // namespace korvane::ctl
