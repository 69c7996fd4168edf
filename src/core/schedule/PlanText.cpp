#include "core/schedule/PlanText.h"

#include "core/link/InputCodes.h"
#include "core/schedule/DateTime.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <vector>

namespace korvane {

namespace {
constexpr std::string_view kHeader = "# slot mode interval date time action template channel\n";
constexpr char kCommentMark = '#';
constexpr std::string_view kBlanks = " \t";
constexpr std::size_t kTokensPerLine = 8;
constexpr int kMaxYear = 9999;
// The modes and actions whose editor text stands for exactly one value.
constexpr int kLastNamedMode = planmode::kIntervalContinuous;
constexpr int kLastNamedAction = planaction::kRecallTemplate;

std::string modeToken(int mode) {
    if (mode >= 0 && mode <= kLastNamedMode) {
        return std::string(planModeText(mode));
    }
    return std::to_string(mode);
}

std::string actionToken(int action) {
    if (action >= 0 && action <= kLastNamedAction) {
        return std::string(planActionText(action));
    }
    return std::to_string(action);
}

std::string channelToken(int channel) {
    if (channel >= 0 && channel <= 0xFF) {
        if (const auto name = inputName(static_cast<std::uint8_t>(channel))) {
            return std::string(*name);
        }
    }
    return std::to_string(channel);
}

std::optional<int> number(std::string_view token) {
    if (token.empty()) {
        return std::nullopt;
    }
    for (const char c : token) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    int value = 0;
    const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc{}) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> boundedNumber(std::string_view token, int max) {
    const auto v = number(token);
    if (!v || *v > max) {
        return std::nullopt;
    }
    return v;
}

std::optional<int> modeValue(std::string_view token) {
    for (int mode = 0; mode <= kLastNamedMode; ++mode) {
        if (token == planModeText(mode)) {
            return mode;
        }
    }
    return boundedNumber(token, planFieldMax(planbits::kMode));
}

std::optional<int> actionValue(std::string_view token) {
    for (int action = 0; action <= kLastNamedAction; ++action) {
        if (token == planActionText(action)) {
            return action;
        }
    }
    return boundedNumber(token, planFieldMax(planbits::kAction));
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<int> channelValue(std::string_view token) {
    for (const InputCodeRow& row : inputCodeTable()) {
        if (equalIgnoringAsciiCase(token, row.name)) {
            return row.code;
        }
    }
    return boundedNumber(token, planFieldMax(planbits::kChannel));
}

std::vector<std::string_view> tokensOf(std::string_view line) {
    std::vector<std::string_view> tokens;
    while (true) {
        const std::size_t start = line.find_first_not_of(kBlanks);
        if (start == std::string_view::npos) {
            return tokens;
        }
        line.remove_prefix(start);
        const std::size_t end = std::min(line.find_first_of(kBlanks), line.size());
        tokens.push_back(line.substr(0, end));
        line.remove_prefix(end);
    }
}

// One value checked against the largest its field holds.
struct Bounded {
    int value;
    int max;
    std::string_view name;
};

// The fault of one line, or nothing when `item` was filled.
std::optional<std::string> parseLine(const std::vector<std::string_view>& t, std::size_t& slot,
                                     PlanItem& item) {
    if (t.size() != kTokensPerLine) {
        return "expected " + std::to_string(kTokensPerLine) + " fields, found " +
               std::to_string(t.size());
    }
    const auto slotValue = boundedNumber(t[0], static_cast<int>(kPlanEntryCount) - 1);
    if (!slotValue) {
        return "slot '" + std::string(t[0]) + "' is not 0.." + std::to_string(kPlanEntryCount - 1);
    }
    slot = static_cast<std::size_t>(*slotValue);
    const auto mode = modeValue(t[1]);
    if (!mode) {
        return "unknown mode '" + std::string(t[1]) + "'";
    }
    const auto interval = boundedNumber(t[2], planFieldMax(planbits::kInterval));
    if (!interval) {
        return "interval '" + std::string(t[2]) + "' is not 0.." +
               std::to_string(planFieldMax(planbits::kInterval));
    }
    const auto date = parseDate(t[3]);
    if (!date) {
        return "date '" + std::string(t[3]) + "' is not YYYY-MM-DD";
    }
    const auto time = parseTime(t[4]);
    if (!time) {
        return "time '" + std::string(t[4]) + "' is not HH:MM:SS";
    }
    const auto action = actionValue(t[5]);
    if (!action) {
        return "unknown action '" + std::string(t[5]) + "'";
    }
    const auto templateNumber = boundedNumber(t[6], planFieldMax(planbits::kTemplate));
    if (!templateNumber) {
        return "template '" + std::string(t[6]) + "' is not 0.." +
               std::to_string(planFieldMax(planbits::kTemplate));
    }
    const auto channel = channelValue(t[7]);
    if (!channel) {
        return "unknown channel '" + std::string(t[7]) + "'";
    }
    const std::array<Bounded, 6> parts{{
        {date->year, kMaxYear, "year"},
        {date->month, planFieldMax(planbits::kMonth), "month"},
        {date->day, planFieldMax(planbits::kDay), "day"},
        {time->hour, planFieldMax(planbits::kHour), "hour"},
        {time->minute, planFieldMax(planbits::kMinute), "minute"},
        {time->second, planFieldMax(planbits::kSecond), "second"},
    }};
    for (const Bounded& b : parts) {
        if (b.value > b.max) {
            return std::string(b.name) + " " + std::to_string(b.value) + " is not 0.." +
                   std::to_string(b.max);
        }
    }
    item = PlanItem{date->year, date->month, date->day, time->hour, time->minute,   time->second,
                    *mode,      *interval,   *channel,  *action,    *templateNumber};
    return std::nullopt;
}
} // namespace

std::string formatPlanText(const PlanItems& items) {
    std::string text(kHeader);
    for (std::size_t k = 0; k < items.size(); ++k) {
        const PlanItem& p = items[k];
        text += std::to_string(k) + ' ' + modeToken(p.mode) + ' ' + std::to_string(p.interval) +
                ' ' + formatDate(p.year, p.month, p.day) + ' ' +
                formatTime(p.hour, p.minute, p.second) + ' ' + actionToken(p.action) + ' ' +
                std::to_string(p.templateNumber) + ' ' + channelToken(p.channel) + '\n';
    }
    return text;
}

PlanTextParse parsePlanText(std::string_view text) {
    PlanTextParse result;
    std::array<bool, kPlanEntryCount> seen{};
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const auto tokens = tokensOf(line);
        if (tokens.empty() || tokens.front().front() == kCommentMark) {
            continue;
        }
        std::size_t slot = 0;
        PlanItem item;
        auto fault = parseLine(tokens, slot, item);
        if (!fault && seen[slot]) {
            fault = "slot " + std::to_string(slot) + " given twice";
        }
        if (fault) {
            result.items = {};
            result.errorLine = lineNumber;
            result.error = "line " + std::to_string(lineNumber) + ": " + *fault;
            return result;
        }
        seen[slot] = true;
        result.items[slot] = item;
        result.lineOfSlot[slot] = lineNumber;
    }
    result.ok = true;
    return result;
}

namespace {
bool leapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int year, int month) {
    constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

std::optional<std::string> editorFault(const PlanItem& p) {
    if (p.year < 1 || p.month < 1 || p.month > 12 || p.day < 1 ||
        p.day > daysInMonth(p.year, p.month)) {
        return "date " + formatDate(p.year, p.month, p.day) + " is not in the calendar";
    }
    if (p.hour > 23 || p.minute > 59 || p.second > 59) {
        return "time " + formatTime(p.hour, p.minute, p.second) + " is past 23:59:59";
    }
    const bool byMinutes =
        p.mode >= planmode::kIntervalFor24Hours && p.mode <= planmode::kIntervalContinuous;
    if (byMinutes && (p.interval < kMinPlanInterval || p.interval > kMaxPlanInterval)) {
        return "interval " + std::to_string(p.interval) + " is not " +
               std::to_string(kMinPlanInterval) + ".." + std::to_string(kMaxPlanInterval);
    }
    return std::nullopt;
}
} // namespace

std::vector<std::string> planSendFaults(const PlanTextParse& parsed) {
    std::vector<std::pair<std::size_t, std::string>> faults;
    for (std::size_t slot = 0; slot < parsed.items.size(); ++slot) {
        const std::size_t line = parsed.lineOfSlot[slot];
        // A skipped entry never runs, whatever it holds: a read-back's unused slots are such.
        if (line == 0 || parsed.items[slot].mode == planmode::kSkip) {
            continue;
        }
        if (auto fault = editorFault(parsed.items[slot])) {
            faults.emplace_back(line, "line " + std::to_string(line) + ": " + *fault);
        }
    }
    std::sort(faults.begin(), faults.end());
    std::vector<std::string> texts;
    for (auto& f : faults) {
        texts.push_back(std::move(f.second));
    }
    return texts;
}

} // namespace korvane
