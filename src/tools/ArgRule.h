#pragma once

#include <array>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::ctl {

// What a command-line argument may hold and how it becomes a value.
enum class ArgKind {
    Number,      // min..max
    Bits,        // a number with no bit set outside `max`
    QualityItem, // a picture-quality item name or sub-code; the value is its row in qualityItems()
    InputCode,   // an input name or code 0..255
    Resolution,  // a code of the output resolution table, the custom entry excluded
    DateTime,    // "YYYY-MM-DD HH:MM:SS" or now; gives six values: year, month, day, h, min, s
};

struct ArgRule {
    std::string_view name;
    ArgKind kind = ArgKind::Number;
    long long min = 0;
    long long max = 0;
};

constexpr ArgRule numberArg(std::string_view name, long long min, long long max) {
    return {name, ArgKind::Number, min, max};
}
constexpr ArgRule flagArg(std::string_view name) {
    return numberArg(name, 0, 1);
}
constexpr ArgRule byteArg(std::string_view name) {
    return numberArg(name, 0, 0xFF);
}
constexpr ArgRule wordArg(std::string_view name) {
    return numberArg(name, 0, 0xFFFF);
}
constexpr ArgRule bitsArg(std::string_view name, long long mask) {
    return {name, ArgKind::Bits, 0, mask};
}
constexpr ArgRule kindArg(std::string_view name, ArgKind kind) {
    return {name, kind, 0, 0};
}

using ArgValues = std::vector<int>;
// The local time "now" stands for; replaceable so that parsing stays deterministic in tests.
using LocalTime = std::tm (*)();
std::tm currentLocalTime();

// Appends the value(s) `text` stands for; false when it is not acceptable for `rule`.
bool parseArg(const ArgRule& rule, std::string_view text, LocalTime now, ArgValues& values);
// What `rule` accepts, for messages ("a number in 0..255").
std::string expectation(const ArgRule& rule);

// "YYYY-MM-DD HH:MM:SS" (a 'T' may stand for the space) or now: a valid date and time with the
// year in minYear..maxYear, as year, month, day, hour, minute, second.
std::optional<std::array<int, 6>> parseDateTime(std::string_view text, LocalTime now, int minYear,
                                                int maxYear);

// A decimal or 0x-prefixed hexadecimal integer, the whole text and nothing else.
std::optional<long long> parseInteger(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace korvane::ctl
