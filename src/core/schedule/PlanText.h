#pragma once

#include "core/schedule/PlanItem.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// A text form of the 64 plan items, one line per slot, in the plan editor's words:
//
//   # slot mode interval date time action template channel
//   0 每天 1 2024-05-06 08:30:00 执行模板 3 HDMI
//
// Tokens are separated by blanks. The mode and the action are written as the editor's texts
// where those name exactly one value and as numbers otherwise (mode 7 shows "持续不断" in the
// editor but is written 7), the channel as its input name or as a number. Template and channel
// are both written, whatever the action: the entry carries both, so a table read from the
// processor goes back bit for bit.
//
// The parser skips blank lines and lines starting with '#'. Each other line needs all eight
// tokens; every value must fit its packed field (the year any of 0..9999, since only year - 2013
// modulo 16 is packed). A slot may appear once; slots not given stay all zero, as the editor's
// items are before a read. Any fault stops the parse with the line number.
std::string formatPlanText(const PlanItems& items);

struct PlanTextParse {
    bool ok = false;
    PlanItems items{};
    std::size_t errorLine = 0; // 1-based; 0 when ok
    std::string error;         // "line N: ..." when not ok
    // The line each slot was given on (1-based); 0 for a slot the text left out.
    std::array<std::size_t, kPlanEntryCount> lineOfSlot{};
};
PlanTextParse parsePlanText(std::string_view text);

// What the plan editor would refuse in a parsed text, one "line N: ..." per bad line: a date
// that is not in the calendar, a time past 23:59:59, an interval outside 1..480 for a period
// that repeats by minutes. A skipped entry (mode 0, as every unused slot of a
// read-back) never runs and passes.
std::vector<std::string> planSendFaults(const PlanTextParse& parsed);

} // namespace korvane
