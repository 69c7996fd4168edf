#pragma once

#include "SubCommand.h"

namespace korvane::ctl {

// `sync [--save FILE.kvt]`: synchronise all, print the state read, optionally save it.
Prepared prepareSync(std::span<const std::string> operands, LocalTime now);
// `load FILE.kvt`: the template load sequence (after a synchronisation that gives the input
// window limits and the values a short file does not hold, as the desktop program has them).
Prepared prepareLoad(std::span<const std::string> operands, LocalTime now);
// `recall N` / `store N`: the processor's own template slots 1..10.
Prepared prepareRecall(std::span<const std::string> operands, LocalTime now);
Prepared prepareStore(std::span<const std::string> operands, LocalTime now);

// What synchronise-all read, as printed by `sync`.
void printSynchronised(Session& s);
// Loads a template file as the desktop program does; the exit status.
int loadTemplate(Session& s, const std::string& path);

} // namespace korvane::ctl
