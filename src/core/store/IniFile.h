#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvane {

// A settings file of the initialisation kind, read and written key by key the way the Windows
// private-profile functions do it, so that files move between installations unchanged:
// - every call reads the file afresh (nothing is cached);
// - section and key names compare case-insensitively (ASCII); the first matching key of the
//   first section of that name wins (a later section of the same name is not read);
// - values lose surrounding blanks and one pair of matching single or double quotes;
// - lines starting with ';' are comments; lines without '=' and text before the first section
//   are not keys;
// - a write changes only the one line it concerns (or adds one line, or a section at the end);
//   every other byte of the file stays as it was, including its line-end style (CR LF or LF);
// - a write replaces the file atomically, so a crash leaves the old or the new file, never half.
// A missing, unreadable or garbage file reads as one without the key; so does anything but a
// regular file of at most 4 MiB, which is never written over.
class IniFile {
public:
    // Text values come back in at most this many characters (a 260-character buffer).
    static constexpr std::size_t kTextLength = 259;
    // The Windows integer read takes its digits from a 30-character buffer.
    static constexpr std::size_t kNumberTextLength = 29;

    explicit IniFile(std::filesystem::path file) : file_(std::move(file)) {}
    const std::filesystem::path& path() const { return file_; }

    // The key's value, or `absent` when the key is missing; either cut to `maxLength`
    // characters. A present key with an empty value gives the empty text.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view absent = {}, std::size_t maxLength = kTextLength) const;
    // The key's value as an integer by profileInteger(), or `absent` when the key is missing or
    // its value is empty.
    int readInt(std::string_view section, std::string_view key, int absent) const;

    // Sets the key, creating the file and the section when missing. False, with the file
    // untouched, for a name or value that cannot be stored on one line (line breaks, NUL, '='
    // or a leading '[' or ';' in a key, ']' in a section, surrounding blanks in a name) and
    // for a file that exists but cannot be read or replaced.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    // The value as decimal text ("%d").
    bool writeInt(std::string_view section, std::string_view key, int value);

    // The Windows conversion: blanks are skipped, then one optional '+' or '-', then decimal
    // digits up to the first other character; no digits gives 0 ("abc" -> 0, "12abc" -> 12).
    // Negative values are kept ("-1" -> -1); the arithmetic is modulo 2^32, so values beyond
    // the int range wrap ("4294967297" -> 1) exactly as they do on Windows NT.
    static int profileInteger(std::string_view text);

private:
    std::filesystem::path file_;
};

} // namespace korvane
