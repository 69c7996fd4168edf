#include "CompletionScript.h"

#include "CommandCatalogue.h"
#include "CtlOptions.h"
#include "QualityItems.h"
#include "SubCommand.h"
#include "core/link/InputCodes.h"
#include "core/link/ResolutionTable.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

namespace korvane::ctl {

namespace {

constexpr std::string_view kBaudRates = "9600 19200 38400 57600 115200";

bool isKeyword(std::string_view word) {
    return !word.empty() && std::ranges::all_of(word, [](char c) {
        return std::islower(static_cast<unsigned char>(c)) != 0 || c == '-';
    });
}

std::vector<std::string> words(std::string_view text) {
    std::string cleaned;
    for (const char c : text) {
        cleaned += (c == '[' || c == ']' || c == '|' || c == '"') ? ' ' : c;
    }
    std::istringstream in(cleaned);
    std::vector<std::string> out;
    for (std::string w; in >> w;) {
        out.push_back(w);
    }
    return out;
}

// What a sub-command's synopsis offers: the first word of each alternative ("read | send FILE"),
// keywords further on ("auto", "now"), its options and the kind of file it takes.
struct SubCommandWords {
    std::string first;
    std::string later;
    std::string options;
    std::string files; // "kvt", "kss", "any" or empty
};

// Adds `word` to a space-separated list unless it is there already.
void append(std::string& list, std::string_view word) {
    if ((" " + list + " ").find(" " + std::string(word) + " ") == std::string::npos) {
        list += (list.empty() ? "" : " ") + std::string(word);
    }
}

SubCommandWords subCommandWords(std::string_view synopsis) {
    SubCommandWords w;
    std::size_t start = 0;
    while (start <= synopsis.size()) {
        const std::size_t bar = synopsis.find(" | ", start);
        const auto alternative = synopsis.substr(
            start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
        const auto tokens = words(alternative);
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            const std::string& t = tokens[i];
            if (t.starts_with("--")) {
                append(w.options, t);
            } else if (isKeyword(t)) {
                append(i == 0 ? w.first : w.later, t);
            } else if (t == "FILE.kvt" || t == "FILE.kss") {
                w.files = t.substr(5);
            } else if (t == "FILE" && w.files.empty()) {
                w.files = "any";
            }
        }
        if (bar == std::string_view::npos) {
            break;
        }
        start = bar + 3;
    }
    return w;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

// The values an argument can be completed with; empty for plain numbers.
std::string argValues(const ArgRule& rule) {
    std::string out;
    switch (rule.kind) {
    case ArgKind::InputCode:
        for (const auto& row : inputCodeTable()) {
            append(out, row.name);
        }
        break;
    case ArgKind::QualityItem:
        for (const auto& row : qualityItems()) {
            append(out, row.name);
        }
        break;
    case ArgKind::Resolution:
        for (const auto& r : resolutionTable()) {
            if (r.code != kCustomResolution) {
                append(out, std::to_string(r.code));
            }
        }
        break;
    case ArgKind::Number:
        if (rule.min == 0 && rule.max == 1) {
            out = "0 1";
        }
        break;
    default:
        break;
    }
    return out;
}

void writeSendArguments(std::ostream& out) {
    // The values of argument $2 (from 0) of command $1, in any case.
    out << "_korvanectl_send_values() {\n"
           "    case \"${1,,}:$2\" in\n";
    for (const auto& entry : catalogue()) {
        for (std::size_t i = 0; i < entry.args.size(); ++i) {
            if (const std::string values = argValues(entry.args[i]); !values.empty()) {
                out << "    " << lower(entry.name) << ':' << i << ") echo \"" << values
                    << "\" ;;\n";
            }
        }
    }
    out << "    esac\n"
           "}\n";
}

} // namespace

std::string bashCompletion() {
    std::ostringstream out;
    std::string valueOptions;
    std::string flagOptions;
    for (const auto& o : globalOptions()) {
        append(o.valueName.empty() ? flagOptions : valueOptions, o.name);
    }
    std::string subNames;
    for (const auto& sub : subCommands()) {
        append(subNames, sub.name);
    }
    std::string commandNames;
    for (const auto& entry : catalogue()) {
        append(commandNames, entry.name);
    }

    out << "# bash completion for korvanectl; generated from its option and command tables.\n"
           "_korvanectl() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local value_options=\""
        << valueOptions
        << "\"\n"
           "    local i=1 sub= at=0\n"
           "    # The sub-command is the first word that is neither an option nor its value.\n"
           "    while [ $i -lt $COMP_CWORD ]; do\n"
           "        local w=${COMP_WORDS[i]}\n"
           "        if [[ \" $value_options \" == *\" $w \"* ]]; then\n"
           "            i=$((i + 2)); continue\n"
           "        elif [[ $w == -* ]]; then\n"
           "            i=$((i + 1)); continue\n"
           "        fi\n"
           "        sub=$w; at=$i; break\n"
           "    done\n"
           "    COMPREPLY=()\n"
           "    if [ -z \"$sub\" ]; then\n"
           "        case $prev in\n"
           "        --device)\n"
           "            COMPREPLY=($(compgen -f -- \"${cur:-/dev/}\"))\n"
           "            [ -n \"$cur\" ] || COMPREPLY=($(compgen -G '/dev/serial/by-id/*'; "
           "compgen -G '/dev/tty[UA][SC][BM]*'))\n"
           "            return ;;\n"
           "        --baud) COMPREPLY=($(compgen -W \""
        << kBaudRates
        << "\" -- \"$cur\")); return ;;\n"
           "        --timeout|--udp|--broadcast) return ;;\n"
           "        esac\n"
           "        COMPREPLY=($(compgen -W \"$value_options "
        << flagOptions << " --help --version " << subNames
        << "\" -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    local pos=$((COMP_CWORD - at))\n"
           "    if [ \"$sub\" = send ]; then\n"
           "        if [ $pos -eq 1 ]; then\n"
           "            COMPREPLY=($(compgen -W \""
        << commandNames
        << "\" -- \"$cur\"))\n"
           "        else\n"
           "            COMPREPLY=($(compgen -W \"$(_korvanectl_send_values "
           "\"${COMP_WORDS[at+1]}\" $((pos - 2)))\" -- \"$cur\"))\n"
           "        fi\n"
           "        return\n"
           "    fi\n"
           "    local first= later= options= files=\n"
           "    case $sub in\n";
    for (const auto& sub : subCommands()) {
        const SubCommandWords w = subCommandWords(sub.synopsis);
        if (w.first.empty() && w.later.empty() && w.options.empty() && w.files.empty()) {
            continue;
        }
        out << "    " << sub.name << ") first=\"" << w.first << "\" later=\"" << w.later
            << "\" options=\"" << w.options << "\" files=" << w.files << " ;;\n";
    }
    out << "    esac\n"
           "    if [ $pos -eq 1 ] && [ -n \"$first\" ]; then\n"
           "        COMPREPLY=($(compgen -W \"$first $options\" -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    COMPREPLY=($(compgen -W \"$later $options\" -- \"$cur\"))\n"
           "    case $files in\n"
           "    kvt|kss) COMPREPLY+=($(compgen -d -- \"$cur\") "
           "$(compgen -f -X \"!*.$files\" -- \"$cur\")) ;;\n"
           "    any) COMPREPLY+=($(compgen -f -- \"$cur\")) ;;\n"
           "    esac\n"
           "}\n";
    writeSendArguments(out);
    out << "complete -F _korvanectl korvanectl\n";
    return out.str();
}

} // namespace korvane::ctl
