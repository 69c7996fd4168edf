#include "CommandCatalogue.h"

#include "QualityItems.h"
#include "core/commands/CommandFacade.h"
#include "core/link/ReadTypes.h"

#include <algorithm>

namespace korvane::ctl {

namespace {
std::uint8_t u8(int v) {
    return static_cast<std::uint8_t>(v);
}

// X Y W H starting at `at`, as the rectangle the facade takes.
Rect windowAt(const ArgValues& v, std::size_t at) {
    return {v[at], v[at + 1], v[at] + v[at + 2], v[at + 1] + v[at + 3]};
}

std::vector<ArgRule> windowArgs() {
    return {wordArg("X"), wordArg("Y"), wordArg("W"), wordArg("H")};
}

std::vector<ArgRule> inputWindowArgs() {
    auto args = windowArgs();
    args.push_back(wordArg("HLIMIT"));
    args.push_back(wordArg("VLIMIT"));
    return args;
}

int setPictureQuality(CommandFacade& f, ParameterMirror&, const ArgValues& v) {
    const QualityItemName& row = qualityItems()[static_cast<std::size_t>(v[0])];
    return row.gainIndex ? f.setColourTemperatureOrGain(*row.gainIndex, u8(v[1]))
                         : f.setPictureQuality(row.item, u8(v[1]));
}

int setPicture1InputWindow(CommandFacade& f, ParameterMirror&, const ArgValues& v) {
    return v.size() > 4 ? f.setPicture1InputWindow(windowAt(v, 0), v[4], v[5])
                        : f.setPicture1InputWindow(windowAt(v, 0));
}

int setPicture2InputWindow(CommandFacade& f, ParameterMirror&, const ArgValues& v) {
    return v.size() > 4 ? f.setPicture2InputWindow(windowAt(v, 0), v[4], v[5])
                        : f.setPicture2InputWindow(windowAt(v, 0));
}

int writePlanEntry(CommandFacade& f, ParameterMirror&, const ArgValues& v) {
    const PlanFields fields{u8(v[1]),
                            u8(v[2]),
                            u8(v[3]),
                            u8(v[4]),
                            u8(v[5]),
                            u8(v[6]),
                            static_cast<std::uint16_t>(v[7]),
                            u8(v[8]),
                            u8(v[9]),
                            u8(v[10]),
                            u8(v[11])};
    return f.writePlanEntry(u8(v[0]), fields);
}

std::vector<CatalogueEntry> buildCatalogue() {
    // PIP mode, audio and input options send several mirror fields in one frame: the fields
    // the facade operation does not take are stored first, so one command sends all of them.
    return {
        {"TemplateSlot",
         {flagArg("ACTION"), numberArg("SLOT", 1, 10)},
         0,
         "Recall (ACTION 1) or store (ACTION 0) the processor's template SLOT",
         [](auto& f, auto&, const auto& v) { return f.templateSlot(u8(v[0]), u8(v[1])); }},
        {"SetOutputResolution",
         {kindArg("CODE", ArgKind::Resolution)},
         0,
         "Set the output resolution to a code of the resolution list",
         [](auto& f, auto&, const auto& v) { return f.setOutputResolution(u8(v[0])); }},
        {"SetOutputResolutionCustom",
         {numberArg("W", 1, 0xFFFF), numberArg("H", 1, 0xFFFF), numberArg("HZ", 1, 0xFFFF)},
         0,
         "Set a custom output resolution of W x H pixels at HZ",
         [](auto& f, auto&, const auto& v) {
             return f.setCustomOutputResolution(v[0], v[1], v[2]);
         }},
        {"SetPictureQuality",
         {kindArg("ITEM", ArgKind::QualityItem), byteArg("VALUE")},
         0,
         "Set one picture-quality item (colour temperature and gains go out together)",
         setPictureQuality},
        {"SetPicture1OutputWindow", windowArgs(), 0, "Place picture 1 on the output",
         [](auto& f, auto&, const auto& v) { return f.setPicture1OutputWindow(windowAt(v, 0)); }},
        {"SetPicture2OutputWindow", windowArgs(), 0, "Place picture 2 on the output",
         [](auto& f, auto&, const auto& v) { return f.setPicture2OutputWindow(windowAt(v, 0)); }},
        {"SetPipMode",
         {flagArg("ON"), byteArg("TRANSPARENCY"), byteArg("AUTOSWITCH")},
         0,
         "Switch picture 2 on or off with its transparency and auto-switch priority",
         [](auto& f, auto& m, const auto& v) {
             m.transparency = v[1];
             m.autoSwitch = v[2];
             return f.setPipOn(u8(v[0]));
         }},
        {"SetSeamlessSwitch",
         {flagArg("ON")},
         0,
         "Switch seamless input switching on or off",
         [](auto& f, auto&, const auto& v) { return f.setSeamlessSwitch(u8(v[0])); }},
        {"SetAudio",
         {flagArg("SOUNDON"), byteArg("VOLUME")},
         0,
         "Set sound on (0 = muted) and the volume",
         [](auto& f, auto& m, const auto& v) {
             m.volume = u8(v[1]);
             return f.setSoundOn(u8(v[0]));
         }},
        {"SetCaptureMode",
         {flagArg("P1"), flagArg("P2")},
         0,
         "Switch capture of picture 1 and picture 2 on or off",
         [](auto& f, auto&, const auto& v) { return f.setCaptureMode(u8(v[0]), u8(v[1])); }},
        {"SetPicture1InputWindow", inputWindowArgs(), 2,
         "Set picture 1's input window; with limits it goes out only if it fits them, "
         "without them at X = Y = 0",
         setPicture1InputWindow},
        {"SetPicture2InputWindow", inputWindowArgs(), 2,
         "Set picture 2's input window (limits as for picture 1)", setPicture2InputWindow},
        {"SelectInput",
         {numberArg("PICTURE", 1, 2), kindArg("INPUT", ArgKind::InputCode)},
         0,
         "Select the input of picture 1 or 2",
         [](auto& f, auto&, const auto& v) {
             return f.selectInput(v[0] == 1 ? Picture::One : Picture::Two, u8(v[1]));
         }},
        {"AutoAdjust",
         {},
         0,
         "Adjust the input automatically",
         [](auto& f, auto&, const auto&) { return f.autoAdjust(); }},
        {"FactoryReset",
         {},
         0,
         "Restore the processor's factory settings",
         [](auto& f, auto&, const auto&) { return f.factoryReset(); }},
        {"SetOverlay",
         {flagArg("ON"), flagArg("MODE"), flagArg("ABOVEBELOW"), flagArg("ANDOR"), byteArg("R"),
          byteArg("G"), byteArg("B")},
         0,
         "Colour-key overlay: MODE 0/1 = mode 1/2, ABOVEBELOW 0 = above, ANDOR 0 = and, "
         "R G B thresholds",
         [](auto& f, auto&, const auto& v) {
             return f.setOverlay(u8(v[0]), u8(v[1]), u8(v[2]), u8(v[3]), v[4], v[5], v[6]);
         }},
        {"SetTopLayer",
         {byteArg("TOP")},
         0,
         "Choose the picture shown on top",
         [](auto& f, auto&, const auto& v) { return f.setTopLayer(u8(v[0])); }},
        {"SetFreezeArea",
         {flagArg("FULL")},
         0,
         "Freeze the full screen (1) or part of it (0)",
         [](auto& f, auto&, const auto& v) { return f.setFreezeArea(u8(v[0])); }},
        {"SetFreeze",
         {flagArg("ON")},
         0,
         "Freeze the picture (1) or release it (0)",
         [](auto& f, auto&, const auto& v) { return f.setFreeze(u8(v[0])); }},
        {"SetClock",
         {kindArg("DATETIME", ArgKind::DateTime)},
         0,
         "Set the processor's clock; DATETIME is \"YYYY-MM-DD HH:MM:SS\" (a T may replace the "
         "space) or now, this computer's local time",
         [](auto& f, auto&, const auto& v) {
             return f.setClock(v[0], v[1], v[2], v[3], v[4], v[5]);
         }},
        {"SetInputOptions",
         {flagArg("HDMIOVERSCANOFF"), byteArg("DVIANYMODE")},
         0,
         "Set HDMI overscan off and DVI any mode",
         [](auto& f, auto& m, const auto& v) {
             m.hdmiOverscanOff = u8(v[0]);
             m.dviAnyMode = u8(v[1]);
             return f.setInputOptions();
         }},
        {"SetSwitchEffect",
         {byteArg("MODE"), byteArg("VALUE"), numberArg("FADE", 0, 5)},
         1,
         "MODE 0: effect VALUE 0 = cut, 1 = fade; MODE 2: picture switch; FADE time 1..5",
         [](auto& f, auto&, const auto& v) {
             return f.setSwitchEffect(u8(v[0]), u8(v[1]), v.size() > 2 ? u8(v[2]) : 0);
         }},
        {"LocatePoint",
         {wordArg("A"), wordArg("B"), byteArg("MODE")},
         0,
         "Light one point of the wall at coordinates A, B",
         [](auto& f, auto&, const auto& v) { return f.locatePoint(v[0], v[1], u8(v[2])); }},
        {"SetAudioPorts",
         {byteArg("AV1"), byteArg("AV2"), byteArg("VGA"), byteArg("DVI")},
         0,
         "Choose the audio port that goes with each of the four video inputs",
         [](auto& f, auto&, const auto& v) {
             return f.setAudioPorts(u8(v[0]), u8(v[1]), u8(v[2]), u8(v[3]));
         }},
        {"WritePlanEntry",
         {numberArg("INDEX", 0, kPlanEntryCount - 1), numberArg("F1", 0, 15),
          numberArg("F2", 0, 15), numberArg("F3", 0, 31), numberArg("F4", 0, 31),
          numberArg("F5", 0, 63), numberArg("F6", 0, 63), bitsArg("F7", 0x0F1F),
          numberArg("F8", 0, 15), numberArg("F9", 0, 31), numberArg("F10", 0, 15),
          numberArg("F11", 0, 15)},
         0,
         "Write offline plan entry INDEX: year-2013, month, day, hour, minute, second, "
         "interval (high byte = minutes/32, low byte = minutes%32), mode, channel, action, "
         "template",
         writePlanEntry},
        {"SetPlanState",
         {byteArg("B0"), byteArg("B1")},
         0,
         "Write the plan header (B0 reserved, B1 = 1 runs the plans)",
         [](auto& f, auto&, const auto& v) { return f.setPlanState(u8(v[0]), u8(v[1])); }},
        {"ShowTestPattern",
         {byteArg("ACTION")},
         0,
         "Show or change the test pattern",
         [](auto& f, auto&, const auto& v) { return f.showTestPattern(u8(v[0])); }},
    };
}
} // namespace

const std::vector<CatalogueEntry>& catalogue() {
    static const std::vector<CatalogueEntry> entries = buildCatalogue();
    return entries;
}

const CatalogueEntry* findCommand(std::string_view name) {
    const auto& all = catalogue();
    const auto it = std::ranges::find_if(
        all, [&](const CatalogueEntry& e) { return equalsIgnoringCase(e.name, name); });
    return it != all.end() ? &*it : nullptr;
}

std::string synopsis(const CatalogueEntry& entry) {
    std::string text;
    const std::size_t required = entry.args.size() - entry.optional;
    for (std::size_t i = 0; i < entry.args.size(); ++i) {
        text += i == 0 ? "" : " ";
        text += i == required ? "[" : "";
        text += entry.args[i].name;
    }
    text += entry.optional > 0 ? "]" : "";
    return text;
}

std::string usageLine(const CatalogueEntry& entry) {
    const std::string args = synopsis(entry);
    return std::string(entry.name) + (args.empty() ? "" : " " + args);
}

ParsedCommand parseCommand(std::span<const std::string> words, LocalTime now) {
    ParsedCommand parsed;
    if (words.empty()) {
        parsed.error = "send: a command name is required (see --help)";
        return parsed;
    }
    const CatalogueEntry* entry = findCommand(words[0]);
    if (entry == nullptr) {
        parsed.error = "send: unknown command '" + words[0] + "' (see --help)";
        return parsed;
    }
    const auto args = words.subspan(1);
    const std::string name(entry->name);
    if (args.size() != entry->args.size() && args.size() != entry->args.size() - entry->optional) {
        parsed.error = name + ": wrong number of arguments (" + std::to_string(args.size()) +
                       "); usage: " + usageLine(*entry);
        return parsed;
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        const ArgRule& rule = entry->args[i];
        if (!parseArg(rule, args[i], now, parsed.values)) {
            parsed.error = name + ": " + std::string(rule.name) + " must be " + expectation(rule) +
                           ", got '" + args[i] + "'";
            parsed.values.clear();
            return parsed;
        }
    }
    parsed.entry = entry;
    return parsed;
}

} // namespace korvane::ctl
