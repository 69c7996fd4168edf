#include "core/store/IniFile.h"

#include "core/store/AtomicFile.h"
#include "core/store/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <system_error>
#include <unistd.h>

namespace korvane {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kLf = "\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// 0x1A is the old end-of-file mark, which the Windows reader also skips as a blank.
constexpr std::string_view kBlanks = " \t\r\v\f\x1A";

// Writers in one process take turns, so that two read-modify-write cycles cannot lose one of
// the two changes.
std::mutex gWriteMutex;

bool isBlank(char c) {
    return kBlanks.find(c) != std::string_view::npos;
}

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

// One line of the file: [begin, end) without its line end, `next` where the following starts.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

enum class LineKind { Other, Section, Key };

struct Parsed {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::size_t valueBegin = 0; // offsets into the file, for keys
    std::size_t valueEnd = 0;
};

Line lineAt(std::string_view text, std::size_t begin) {
    const auto lf = text.find('\n', begin);
    if (lf == std::string_view::npos) {
        return {begin, text.size(), text.size()};
    }
    const std::size_t end = lf > begin && text[lf - 1] == '\r' ? lf - 1 : lf;
    return {begin, end, lf + 1};
}

Parsed parse(std::string_view text, const Line& line) {
    std::size_t begin = line.begin;
    if (begin == 0 && text.starts_with(kUtf8Bom)) {
        begin = kUtf8Bom.size();
    }
    const std::string_view raw = text.substr(begin, line.end - begin);
    const auto first = raw.find_first_not_of(kBlanks);
    if (first == std::string_view::npos || raw[first] == ';') {
        return {};
    }
    if (raw[first] == '[') {
        const auto close = raw.rfind(']');
        if (close == std::string_view::npos || close < first) {
            return {};
        }
        return {LineKind::Section, trimmed(raw.substr(first + 1, close - first - 1)), 0, 0};
    }
    const auto eq = raw.find('=');
    if (eq == std::string_view::npos) {
        return {};
    }
    const std::string_view name = trimmed(raw.substr(0, eq));
    if (name.empty()) {
        return {};
    }
    std::size_t valueBegin = begin + eq + 1;
    std::size_t valueEnd = line.end;
    while (valueBegin < valueEnd && isBlank(text[valueBegin])) {
        ++valueBegin;
    }
    while (valueEnd > valueBegin && isBlank(text[valueEnd - 1])) {
        --valueEnd;
    }
    return {LineKind::Key, name, valueBegin, valueEnd};
}

// Where a key stands, or where a new one would go.
struct Location {
    std::optional<Parsed> key;         // the first matching key
    std::optional<std::size_t> insert; // after the last key of the first matching section
    std::size_t keyLineEnd = 0;        // end of the matching key's line
};

Location locate(std::string_view text, std::string_view section, std::string_view key) {
    Location where;
    bool inFirstSection = false;
    for (std::size_t pos = 0; pos < text.size();) {
        const Line line = lineAt(text, pos);
        const Parsed p = parse(text, line);
        if (p.kind == LineKind::Section) {
            inFirstSection = sameName(p.name, section) && !where.insert;
            if (inFirstSection) {
                where.insert = line.next;
            }
        } else if (p.kind == LineKind::Key && inFirstSection) {
            // A later section of the same name is not merged into the first one.
            where.insert = line.next;
            if (!where.key && sameName(p.name, key)) {
                where.key = p;
                where.keyLineEnd = line.end;
            }
        }
        pos = line.next;
    }
    return where;
}

std::string_view valueText(std::string_view text, const Parsed& key) {
    std::string_view value = text.substr(key.valueBegin, key.valueEnd - key.valueBegin);
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    // What follows a NUL byte would never reach a caller of the Windows function.
    return value.substr(0, value.find('\0'));
}

std::string_view lineEndOf(std::string_view text) {
    const auto lf = text.find('\n');
    if (lf == std::string_view::npos) {
        return kCrLf; // a new or one-line file: the style the Windows functions write
    }
    return lf > 0 && text[lf - 1] == '\r' ? kCrLf : kLf;
}

// The whole file; a missing file is empty content with ENOENT. Anything but a regular file
// within the size limit reads as empty with an error, so that it is never written over.
std::error_code readWhole(const std::filesystem::path& file, std::string& out) {
    return readRegularFile(file, filelimit::kSettings, out);
}

bool hasAny(std::string_view s, std::string_view chars) {
    return s.find_first_of(chars) != std::string_view::npos;
}

bool hasOuterBlanks(std::string_view s) {
    return !s.empty() && (isBlank(s.front()) || isBlank(s.back()));
}

const std::string_view kLineBreaks{"\r\n\0", 3};

bool storableSection(std::string_view s) {
    return !s.empty() && !hasAny(s, kLineBreaks) && !hasAny(s, "]") && !hasOuterBlanks(s);
}

bool storableKey(std::string_view s) {
    return !s.empty() && !hasAny(s, kLineBreaks) && !hasAny(s, "=") && s.front() != '[' &&
           s.front() != ';' && !hasOuterBlanks(s);
}

} // namespace

int IniFile::profileInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t total = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        total = total * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (negative) {
        total = 0u - total;
    }
    return static_cast<int>(total); // two's complement, as the Windows caller's cast gives
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view absent, std::size_t maxLength) const {
    try {
        std::string text;
        readWhole(file_, text);
        const Location where = locate(text, section, key);
        const std::string_view value = where.key ? valueText(text, *where.key) : absent;
        return std::string(value.substr(0, std::min(maxLength, value.size())));
    } catch (const std::exception&) {
        return std::string(absent.substr(0, std::min(maxLength, absent.size())));
    }
}

int IniFile::readInt(std::string_view section, std::string_view key, int absent) const {
    const std::string text = readString(section, key, {}, kNumberTextLength);
    return text.empty() ? absent : profileInteger(text);
}

bool IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    if (!storableSection(section) || !storableKey(key) || hasAny(value, kLineBreaks)) {
        return false;
    }
    try {
        std::lock_guard lock(gWriteMutex);
        std::string text;
        if (const auto ec = readWhole(file_, text);
            ec && ec != std::errc::no_such_file_or_directory) {
            return false; // replacing a file we cannot read would lose what it holds
        }
        const Location where = locate(text, section, key);
        const std::string_view eol = lineEndOf(text);
        std::string updated;
        if (where.key) {
            // Keep the key's own spelling and the blanks around '='; replace only the value.
            const std::size_t begin = where.key->valueBegin;
            const std::size_t end = where.keyLineEnd;
            if (std::string_view(text).substr(begin, end - begin) == value) {
                return true;
            }
            updated = text.substr(0, begin);
            updated.append(value).append(text, end);
        } else {
            std::string added;
            const std::size_t at = where.insert.value_or(text.size());
            if (at > 0 && text[at - 1] != '\n') {
                added.append(eol);
            }
            if (!where.insert) {
                added.append("[").append(section).append("]").append(eol);
            }
            added.append(key).append("=").append(value).append(eol);
            updated = text;
            updated.insert(at, added);
        }
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(updated.data());
        return !writeFileAtomically(file_, {bytes, updated.size()});
    } catch (const std::exception&) {
        return false;
    }
}

bool IniFile::writeInt(std::string_view section, std::string_view key, int value) {
    return writeString(section, key, std::to_string(value));
}

} // namespace korvane
