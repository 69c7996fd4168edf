#include "core/schedule/ScheduleFileReader.h"

#include "core/store/InputFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace korvane {

namespace {
constexpr std::string_view kSeparators = ",'";

// The characters the C library's isspace accepts in the "C" locale.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// atoi over at most kMaxScheduleNumberChars characters, which keeps the value within 32 bits.
std::int32_t readNumber(std::string_view text) {
    text = text.substr(0, kMaxScheduleNumberChars);
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int32_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

std::string readPath(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.size() > kMaxSchedulePathBytes) {
        return {};
    }
    return std::string(text);
}
} // namespace

ScheduleTask parseScheduleLine(std::string_view line) {
    ScheduleTask task;
    std::size_t pos = 0;
    for (std::size_t field = 0; field < kScheduleFieldCount && pos < line.size(); ++field) {
        const std::size_t end = line.find_first_of(kSeparators, pos);
        const std::string_view text =
            line.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (text.empty()) {
            break;
        }
        if (field < kScheduleNumericFieldCount) {
            task.invalid = task.invalid || text.size() > kMaxScheduleNumberChars;
            scheduleNumericField(task, field) = readNumber(text);
        } else {
            task.path = readPath(text);
        }
        if (end == std::string_view::npos) {
            break;
        }
        pos = end + 1;
    }
    return task;
}

std::vector<ScheduleTask> parseScheduleText(std::string_view bytes) {
    std::vector<ScheduleTask> tasks;
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        bytes = lf == std::string_view::npos ? std::string_view{} : bytes.substr(lf + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        tasks.push_back(parseScheduleLine(line));
    }
    return tasks;
}

std::optional<std::vector<ScheduleTask>> readScheduleFile(const std::string& path,
                                                          std::string* error) {
    std::string bytes;
    if (const auto ec = readRegularFile(path, filelimit::kSchedule, bytes)) {
        if (error != nullptr) {
            *error = inputFileErrorText(ec, filelimit::kSchedule);
        }
        return std::nullopt;
    }
    const auto lineEnds = static_cast<std::size_t>(std::ranges::count(bytes, '\n'));
    const std::size_t lines = lineEnds + (!bytes.empty() && bytes.back() != '\n' ? 1 : 0);
    if (lines > kMaxScheduleTasks) {
        if (error != nullptr) {
            *error = "more than " + std::to_string(kMaxScheduleTasks) + " lines";
        }
        return std::nullopt;
    }
    return parseScheduleText(bytes);
}

} // namespace korvane
