#include "ArgRule.h"

#include "QualityItems.h"
#include "core/link/CommandCodes.h"
#include "core/link/InputCodes.h"
#include "core/link/ResolutionTable.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <chrono>

namespace korvane::ctl {

namespace {
constexpr int kLastClockYear = kClockYearBase + 0xFF;

bool validDateTime(const std::array<int, 6>& v, int minYear, int maxYear) {
    using namespace std::chrono;
    const year_month_day date{year{v[0]}, month{static_cast<unsigned>(v[1])},
                              day{static_cast<unsigned>(v[2])}};
    return v[0] >= minYear && v[0] <= maxYear && v[1] >= 1 && v[2] >= 1 && date.ok() && v[3] >= 0 &&
           v[3] <= 23 && v[4] >= 0 && v[4] <= 59 && v[5] >= 0 && v[5] <= 59;
}

// "YYYY-MM-DD HH:MM:SS"; a 'T' may stand for the space so that the shell needs no quoting.
std::optional<std::array<int, 6>> parseDateTimeText(std::string_view text) {
    static constexpr char kSeparators[] = {'-', '-', ' ', ':', ':'};
    std::array<int, 6> v{};
    const char* p = text.data();
    const char* const end = p + text.size();
    for (std::size_t i = 0; i < v.size(); ++i) {
        const auto [next, ec] = std::from_chars(p, end, v[i]);
        if (ec != std::errc{} || next == p) {
            return std::nullopt;
        }
        p = next;
        if (i + 1 < v.size()) {
            if (p == end || (*p != kSeparators[i] && !(i == 2 && *p == 'T'))) {
                return std::nullopt;
            }
            ++p;
        }
    }
    if (p != end) {
        return std::nullopt;
    }
    return v;
}

std::optional<long long> inputCode(std::string_view text) {
    for (const auto& row : inputCodeTable()) {
        if (equalsIgnoringCase(row.name, text)) {
            return row.code;
        }
    }
    const auto n = parseInteger(text);
    return n && *n >= 0 && *n <= 0xFF ? n : std::nullopt;
}

bool isPlainResolution(long long code) {
    return code >= 0 && code <= 0xFF && code != kCustomResolution &&
           findResolution(static_cast<std::uint8_t>(code)).has_value();
}

std::optional<long long> singleValue(const ArgRule& rule, std::string_view text) {
    switch (rule.kind) {
    case ArgKind::Number: {
        const auto n = parseInteger(text);
        return n && *n >= rule.min && *n <= rule.max ? n : std::nullopt;
    }
    case ArgKind::Bits: {
        const auto n = parseInteger(text);
        return n && *n >= 0 && (*n & ~rule.max) == 0 ? n : std::nullopt;
    }
    case ArgKind::QualityItem: {
        const QualityItemName* row = findQualityItem(text);
        return row != nullptr ? std::optional<long long>(row - qualityItems().data())
                              : std::nullopt;
    }
    case ArgKind::InputCode:
        return inputCode(text);
    case ArgKind::Resolution: {
        const auto n = parseInteger(text);
        return n && isPlainResolution(*n) ? n : std::nullopt;
    }
    case ArgKind::DateTime:
        break;
    }
    return std::nullopt;
}

std::string inputNames() {
    std::string names;
    for (const auto& row : inputCodeTable()) {
        names += names.empty() ? "" : ", ";
        names += row.name;
    }
    return names;
}
} // namespace

std::tm currentLocalTime() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&t, &local);
    return local;
}

bool parseArg(const ArgRule& rule, std::string_view text, LocalTime now, ArgValues& values) {
    if (rule.kind == ArgKind::DateTime) {
        const auto v = parseDateTime(text, now, kClockYearBase, kLastClockYear);
        if (v) {
            values.insert(values.end(), v->begin(), v->end());
        }
        return v.has_value();
    }
    const auto v = singleValue(rule, text);
    if (v) {
        values.push_back(static_cast<int>(*v));
    }
    return v.has_value();
}

std::string expectation(const ArgRule& rule) {
    switch (rule.kind) {
    case ArgKind::Number:
        return "a number in " + std::to_string(rule.min) + ".." + std::to_string(rule.max);
    case ArgKind::Bits: {
        char mask[16];
        const auto end = std::to_chars(mask, mask + sizeof mask, rule.max, 16).ptr;
        return "a number with no bit set outside 0x" + std::string(mask, end);
    }
    case ArgKind::QualityItem:
        return "a picture-quality item name or sub-code (see --help)";
    case ArgKind::InputCode:
        return "an input (" + inputNames() + ") or an input code 0..255";
    case ArgKind::Resolution:
        return "an output resolution code (see --help)";
    case ArgKind::DateTime:
        return "a date and time YYYY-MM-DD HH:MM:SS (years " + std::to_string(kClockYearBase) +
               ".." + std::to_string(kLastClockYear) + ") or now";
    }
    return {};
}

std::optional<std::array<int, 6>> parseDateTime(std::string_view text, LocalTime now, int minYear,
                                                int maxYear) {
    std::optional<std::array<int, 6>> v;
    if (equalsIgnoringCase(text, "now")) {
        const std::tm t = now();
        v = std::array<int, 6>{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                               t.tm_hour,        t.tm_min,     t.tm_sec};
    } else {
        v = parseDateTimeText(text);
    }
    return v && validDateTime(*v, minYear, maxYear) ? v : std::nullopt;
}

std::optional<long long> parseInteger(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    long long value = 0;
    const char* const end = text.data() + text.size();
    const auto [next, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc{} || next != end) {
        return std::nullopt;
    }
    return value;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace korvane::ctl
