#include "core/schedule/DateTime.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace korvane {

namespace {
constexpr const char* kDateTimeFormat = "%04d-%02d-%02d %02d:%02d:%02d";
constexpr const char* kDateFormat = "%04d-%02d-%02d";
constexpr const char* kTimeFormat = "%02d:%02d:%02d";

// Room for six full-width ints with their signs and separators.
using TextBuffer = std::array<char, 96>;

std::string printed(const TextBuffer& buffer, int length) {
    return length < 0 ? std::string{} : std::string(buffer.data());
}

// Three digit groups separated by `separator`.
std::optional<std::array<int, 3>> parseTriple(std::string_view text, char separator) {
    std::array<int, 3> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t end = i + 1 < values.size() ? text.find(separator) : text.size();
        if (end == std::string_view::npos || end == 0) {
            return std::nullopt;
        }
        const std::string_view group = text.substr(0, end);
        for (const char c : group) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
        }
        const auto [ptr, ec] =
            std::from_chars(group.data(), group.data() + group.size(), values[i]);
        if (ec != std::errc{}) {
            return std::nullopt;
        }
        text = end < text.size() ? text.substr(end + 1) : std::string_view{};
    }
    return values;
}
} // namespace

std::string formatDateTime(const DateTime& t) {
    TextBuffer buffer{};
    const int n = std::snprintf(buffer.data(), buffer.size(), kDateTimeFormat, t.year, t.month,
                                t.day, t.hour, t.minute, t.second);
    return printed(buffer, n);
}

std::string formatDate(int year, int month, int day) {
    TextBuffer buffer{};
    const int n = std::snprintf(buffer.data(), buffer.size(), kDateFormat, year, month, day);
    return printed(buffer, n);
}

std::string formatTime(int hour, int minute, int second) {
    TextBuffer buffer{};
    const int n = std::snprintf(buffer.data(), buffer.size(), kTimeFormat, hour, minute, second);
    return printed(buffer, n);
}

std::optional<DateTime> parseDate(std::string_view text) {
    const auto v = parseTriple(text, '-');
    if (!v) {
        return std::nullopt;
    }
    DateTime t;
    t.year = (*v)[0];
    t.month = (*v)[1];
    t.day = (*v)[2];
    return t;
}

std::optional<DateTime> parseTime(std::string_view text) {
    const auto v = parseTriple(text, ':');
    if (!v) {
        return std::nullopt;
    }
    DateTime t;
    t.hour = (*v)[0];
    t.minute = (*v)[1];
    t.second = (*v)[2];
    return t;
}

} // namespace korvane
