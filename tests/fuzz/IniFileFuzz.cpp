// The settings-file reader and writer over any file content. The input's first line names
// "section|key|value|other section|other key"; the rest is the file. Reads must not fail on
// anything, a write must change only its own key, and what was written must read back.

#include "FuzzSupport.h"
#include "core/store/IniFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using korvane::IniFile;

// The reader only reads files: one file per process, rewritten for each input, in a folder
// removed at exit. Memory-backed when possible, since every write syncs the file.
class ScratchFile {
public:
    ScratchFile() {
        std::error_code ec;
        folder_ =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        folder_ /= "korvane-ini-fuzz-" + std::to_string(::getpid());
        fs::create_directories(folder_);
        file_ = folder_ / "korvaneapp.ini";
    }
    ~ScratchFile() {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const fs::path& path() const { return file_; }

private:
    fs::path folder_;
    fs::path file_;
};

const fs::path& scratchFile() {
    static const ScratchFile scratch;
    return scratch.path();
}

std::string fileText() {
    std::ifstream in(scratchFile(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    while (fields.size() < 4) {
        const auto bar = line.find('|');
        if (bar == std::string_view::npos) {
            break;
        }
        fields.push_back(line.substr(0, bar));
        line.remove_prefix(bar + 1);
    }
    fields.push_back(line);
    fields.resize(5);
    return fields;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// A value the reader gives back as written: no surrounding blanks or quotes to strip.
bool readsBackVerbatim(std::string_view v) {
    constexpr std::string_view kStripped = " \t\r\v\f\x1A\"'";
    return !v.empty() && v.size() <= IniFile::kTextLength &&
           kStripped.find(v.front()) == std::string_view::npos &&
           kStripped.find(v.back()) == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = korvane::fuzz::asText({data, size});
    const auto lf = input.find('\n');
    const std::string_view header = input.substr(0, lf);
    const std::string_view content =
        lf == std::string_view::npos ? std::string_view{} : input.substr(lf + 1);
    const auto f = fieldsOf(header);
    const std::string_view section = f[0], key = f[1], value = f[2], otherSection = f[3],
                           otherKey = f[4];
    {
        std::ofstream out(scratchFile(), std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }

    IniFile ini(scratchFile());
    const std::string old = ini.readString(section, key, "absent");
    FUZZ_CHECK(old.size() <= IniFile::kTextLength);
    (void)ini.readInt(section, key, -1);
    const std::string otherBefore = ini.readString(otherSection, otherKey, "absent");

    const bool written = ini.writeString(section, key, value);
    const std::string after = fileText();
    if (!written) {
        FUZZ_CHECK(after == content);
        return 0;
    }
    if (readsBackVerbatim(value)) {
        FUZZ_CHECK(ini.readString(section, key) == value);
    }
    if (!sameNameIgnoringCase(section, otherSection) || !sameNameIgnoringCase(key, otherKey)) {
        FUZZ_CHECK(ini.readString(otherSection, otherKey, "absent") == otherBefore);
    }

    // Any int goes through its decimal text and back.
    const int number = static_cast<int>(std::hash<std::string_view>{}(input));
    FUZZ_CHECK(ini.writeInt(section, key, number));
    FUZZ_CHECK(ini.readInt(section, key, number == 0 ? 1 : 0) == number);
    return 0;
}
