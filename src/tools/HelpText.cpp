#include "HelpText.h"

#include "CommandCatalogue.h"
#include "CtlOptions.h"
#include "QualityItems.h"
#include "SubCommand.h"
#include "core/link/InputCodes.h"
#include "core/link/ResolutionTable.h"

#include <algorithm>
#include <sstream>
#include <utility>
#include <vector>

namespace korvane::ctl {

namespace {
void optionLines(std::ostream& out) {
    const std::vector<std::pair<std::string, std::string_view>> rows = [] {
        std::vector<std::pair<std::string, std::string_view>> r;
        for (const auto& o : globalOptions()) {
            r.emplace_back(std::string(o.name) + " " + std::string(o.valueName), o.description);
        }
        r.emplace_back("--help", "show this help");
        r.emplace_back("--version", "show the version");
        return r;
    }();
    // Two spaces at least before every description, so that the manual page's generator
    // (and the eye) can tell the option from its text.
    std::size_t width = 0;
    for (const auto& row : rows) {
        width = std::max(width, row.first.size() + 2);
    }
    for (auto [head, description] : rows) {
        head.resize(width, ' ');
        out << "  " << head << description << '\n';
    }
}

std::string subCommandLine(const SubCommand& sub) {
    return std::string(sub.name) + (sub.synopsis.empty() ? "" : " ") + std::string(sub.synopsis);
}

void valueLists(std::ostream& out) {
    out << "\nPicture-quality items (ITEM):";
    for (const auto& row : qualityItems()) {
        out << ' ' << row.name;
        if (!row.gainIndex) {
            out << '=' << static_cast<int>(row.item);
        }
    }
    out << "\nInputs (INPUT):";
    for (const auto& row : inputCodeTable()) {
        out << ' ' << row.name << '=' << int{row.code};
    }
    out << "\nOutput resolutions (CODE):\n";
    for (const auto& r : resolutionTable()) {
        if (r.code != kCustomResolution) {
            out << "  " << int{r.code} << "  " << r.name << '\n';
        }
    }
}
} // namespace

std::string helpText() {
    std::ostringstream out;
    out << "Usage: korvanectl [OPTIONS] COMMAND [ARG...]\n"
           "Controls the video processor over its serial line or over UDP.\n\nOptions:\n";
    optionLines(out);
    out << "\nCommands:\n";
    for (const auto& sub : subCommands()) {
        out << "  " << subCommandLine(sub) << "\n      " << sub.description << '\n';
    }
    out << "\nCommands for send (NAME ARG...):\n";
    for (const auto& entry : catalogue()) {
        out << "  " << usageLine(entry) << "\n      " << entry.description << '\n';
    }
    valueLists(out);
    out << "\nNumbers are decimal or 0x-prefixed hexadecimal; ON-type flags are 0 or 1.\n"
           "Exit status: 0 success, 1 failure, 2 usage error.\n";
    return out.str();
}

std::string shortUsage() {
    std::ostringstream out;
    out << "Usage: korvanectl";
    for (const auto& o : globalOptions()) {
        out << " [" << o.name << ' ' << o.valueName << ']';
    }
    out << " COMMAND [ARG...]\nCommands:";
    for (const auto& sub : subCommands()) {
        out << "\n  " << subCommandLine(sub);
    }
    out << "\nTry 'korvanectl --help' for the full list.\n";
    return out.str();
}

} // namespace korvane::ctl
