// Sources the generated completion script in a real bash and asks it what the user would see
// after pressing TAB.
#include "CompletionScript.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using korvane::test::TempFolder;

// The completions bash offers for `line`; the last word (possibly empty) is being completed.
std::vector<std::string> complete(const TempFolder& folder, const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    if (line.ends_with(' ')) {
        words.emplace_back();
    }
    std::string array;
    for (const auto& w : words) {
        array += " '" + w + "'";
    }
    folder.write("line.sh", ". ./korvanectl.bash\nCOMP_WORDS=(" + array +
                                ")\nCOMP_CWORD=" + std::to_string(words.size() - 1) +
                                "\n_korvanectl\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n");
    const std::string command = "cd '" + folder.path().string() + "' && bash --norc line.sh";
    std::vector<std::string> out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return out;
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        std::string s(buffer);
        if (!s.empty() && s.back() == '\n') {
            s.pop_back();
        }
        if (!s.empty()) {
            out.push_back(s);
        }
    }
    ::pclose(pipe);
    std::sort(out.begin(), out.end());
    return out;
}

using Words = std::vector<std::string>;

TEST(Completion, OffersWhatTheTablesHoldAtEachPlaceOfTheLine) {
    TempFolder folder;
    folder.write("korvanectl.bash", korvane::ctl::bashCompletion());
    folder.write("show.kvt", "");
    folder.write("week.kss", "");
    folder.write("notes.txt", "");
    const struct {
        const char* line;
        Words expected;
    } rows[] = {
        {"korvanectl se", {"send"}},
        {"korvanectl --device /dev/ttyUSB0 --baud 9600 s",
         {"schedule", "send", "store", "switch-query", "sync"}},
        {"korvanectl --baud 1", {"115200", "19200"}},
        {"korvanectl --ver", {"--verbose", "--version"}},
        {"korvanectl --vers", {"--version"}},
        // An option without a value does not take the next word with it.
        {"korvanectl --verbose se", {"send"}},
        {"korvanectl send SelectI", {"SelectInput"}},
        {"korvanectl --udp 127.0.0.2:5000 send selectinput 2 ",
         {"AV1", "AV2", "DP", "DVI", "HDMI", "VGA"}},
        {"korvanectl send SetPictureQuality Bri", {"Brightness"}},
        {"korvanectl send SetPictureQuality Brightness ", {}},
        {"korvanectl send SetFreeze ", {"0", "1"}},
        {"korvanectl plan ", {"disable", "enable", "header", "read", "send"}},
        {"korvanectl clock set ", {"now"}},
        {"korvanectl load ", {"show.kvt"}},
        {"korvanectl schedule due ", {"--at", "--last", "--ran", "week.kss"}},
        {"korvanectl sync --", {"--save"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(complete(folder, row.line), row.expected) << row.line;
    }
}

} // namespace
