#include "remote/RemoteAction.h"

#include "core/commands/CommandFacade.h"
#include "core/commands/SendAll.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/ParameterMirror.h"
#include "tools/CommandCatalogue.h"
#include "tools/QualityItems.h"

#include <algorithm>

namespace korvane::remote {

namespace {
using Kind = RemoteAction::Kind;
constexpr std::uint8_t kStoreAction = 0;

std::uint8_t u8(int v) {
    return static_cast<std::uint8_t>(v);
}

std::string range(long long min, long long max) {
    return std::to_string(min) + ".." + std::to_string(max);
}

Checked refused(std::string text) {
    return {std::nullopt, std::move(text)};
}

Checked accepted(RemoteAction a) {
    return {std::move(a), {}};
}

int sliderValue(const ParameterMirror& m, const ctl::QualityItemName& q) {
    return m.pq[q.gainIndex.value_or(CommandFacade::mirrorIndexOf(q.item))];
}

int sendQuality(CommandFacade& f, const ctl::QualityItemName& q, int value) {
    return q.gainIndex ? f.setColourTemperatureOrGain(*q.gainIndex, u8(value))
                       : f.setPictureQuality(q.item, u8(value));
}

const char* kindName(Kind k) {
    switch (k) {
    case Kind::Recall:
        return "recall template";
    case Kind::Store:
        return "store template";
    case Kind::SelectInput:
        return "input";
    case Kind::Freeze:
        return "freeze";
    case Kind::FreezeArea:
        return "freeze area";
    case Kind::Quality:
    case Kind::QualityStep:
        return "";
    case Kind::Volume:
        return "volume";
    case Kind::Mute:
        return "mute";
    case Kind::TestPattern:
        return "test pattern";
    case Kind::Pip:
        return "picture 2";
    case Kind::Sync:
        return "synchronise";
    case Kind::Command:
        return "";
    }
    return "";
}
} // namespace

bool RemoteAction::needsToken() const {
    if (kind == Kind::Store) {
        return true;
    }
    if (kind != Kind::Command || command == nullptr) {
        return false;
    }
    const std::string_view n = command->name;
    if (n == "TemplateSlot") {
        return !args.empty() && args[0] == kStoreAction;
    }
    return n == "FactoryReset" || n == "SetClock" || n == "WritePlanEntry" || n == "SetPlanState";
}

std::string RemoteAction::describe() const {
    switch (kind) {
    case Kind::Recall:
    case Kind::Store:
        return std::string(kindName(kind)) + " " + std::to_string(slot);
    case Kind::SelectInput:
        return "picture " + std::to_string(picture) + " input " + std::to_string(value);
    case Kind::Quality:
        return std::string(quality->name) + " " + std::to_string(value);
    case Kind::QualityStep:
        return std::string(quality->name) + (value < 0 ? " " : " +") + std::to_string(value);
    case Kind::Sync:
        return kindName(kind);
    case Kind::Command:
        return std::string(command->name);
    default:
        return std::string(kindName(kind)) + " " + std::to_string(value);
    }
}

Checked slotAction(Kind kind, long long slot) {
    if (slot < limits::kFirstSlot || slot > limits::kLastSlot) {
        return refused("template must be " + range(limits::kFirstSlot, limits::kLastSlot));
    }
    RemoteAction a;
    a.kind = kind;
    a.slot = static_cast<int>(slot);
    return accepted(a);
}

Checked inputAction(long long picture, std::string_view input) {
    ctl::ArgValues v;
    if (!ctl::parseArg(ctl::kindArg("INPUT", ctl::ArgKind::InputCode), input, ctl::currentLocalTime,
                       v)) {
        return refused("input must be " +
                       ctl::expectation(ctl::kindArg("INPUT", ctl::ArgKind::InputCode)));
    }
    return inputAction(picture, v[0]);
}

Checked inputAction(long long picture, long long code) {
    if (picture != 1 && picture != 2) {
        return refused("picture must be 1 or 2");
    }
    if (code < 0 || code > limits::kMaxByte) {
        return refused("input must be " +
                       ctl::expectation(ctl::kindArg("INPUT", ctl::ArgKind::InputCode)));
    }
    RemoteAction a;
    a.kind = Kind::SelectInput;
    a.picture = static_cast<int>(picture);
    a.value = static_cast<int>(code);
    return accepted(a);
}

Checked flagAction(Kind kind, long long value) {
    if (value != 0 && value != 1) {
        return refused(std::string(kindName(kind)) + " must be 0 or 1");
    }
    RemoteAction a;
    a.kind = kind;
    a.value = static_cast<int>(value);
    return accepted(a);
}

int qualityMaximum(const ctl::QualityItemName& item) {
    if (item.gainIndex) {
        return limits::kMaxSliderQuality;
    }
    switch (item.item) {
    case PictureQualityItem::Brightness:
    case PictureQualityItem::Contrast:
    case PictureQualityItem::Colour:
    case PictureQualityItem::Sharpness:
        return limits::kMaxSliderQuality;
    default:
        return limits::kMaxByte;
    }
}

Checked qualityAction(std::string_view item, std::optional<long long> value,
                      std::optional<long long> step) {
    const ctl::QualityItemName* q = ctl::findQualityItem(item);
    if (q == nullptr) {
        return refused("unknown picture-quality item '" + std::string(item) + "'");
    }
    if (value.has_value() == step.has_value()) {
        return refused("give either a value or a step");
    }
    const int max = qualityMaximum(*q);
    RemoteAction a;
    a.quality = q;
    if (value) {
        if (*value < 0 || *value > max) {
            return refused(std::string(q->name) + " must be " + range(0, max));
        }
        a.kind = Kind::Quality;
        a.value = static_cast<int>(*value);
    } else {
        if (*step < -max || *step > max) {
            return refused("step must be " + range(-max, max));
        }
        a.kind = Kind::QualityStep;
        a.value = static_cast<int>(*step);
    }
    return accepted(a);
}

Checked volumeAction(long long value) {
    if (value < 0 || value > limits::kMaxVolume) {
        return refused("volume must be " + range(0, limits::kMaxVolume));
    }
    RemoteAction a;
    a.kind = Kind::Volume;
    a.value = static_cast<int>(value);
    return accepted(a);
}

Checked testPatternAction(long long pattern) {
    const bool ok = (pattern >= 0 && pattern <= limits::kLastTestPattern) ||
                    pattern == limits::kPatternDecrement || pattern == limits::kPatternIncrement;
    if (!ok) {
        return refused("pattern must be " + range(0, limits::kLastTestPattern) + ", " +
                       std::to_string(limits::kPatternDecrement) + " or " +
                       std::to_string(limits::kPatternIncrement));
    }
    RemoteAction a;
    a.kind = Kind::TestPattern;
    a.value = static_cast<int>(pattern);
    return accepted(a);
}

Checked commandAction(std::string_view name, const std::vector<std::string>& args) {
    if (ctl::findCommand(name) == nullptr) {
        return refused("unknown command '" + std::string(name) + "'");
    }
    std::vector<std::string> words{std::string(name)};
    words.insert(words.end(), args.begin(), args.end());
    ctl::ParsedCommand parsed = ctl::parseCommand(words);
    if (parsed.entry == nullptr) {
        return refused(parsed.error);
    }
    RemoteAction a;
    a.kind = Kind::Command;
    a.command = parsed.entry;
    a.args = std::move(parsed.values);
    return accepted(a);
}

int runOnCore(const OperationContext& ctx, const RemoteAction& a) {
    CommandFacade& f = ctx.facade;
    switch (a.kind) {
    case Kind::Recall: {
        if (SendAll(ctx, SendAll::Mode::RecallSlot, a.slot).run() == 0) {
            return 0;
        }
        // As after the operator's recall: the processor settles, then everything is read back.
        return SynchroniseAll(ctx, true).run();
    }
    case Kind::Store:
        return f.templateSlot(kStoreAction, u8(a.slot));
    case Kind::SelectInput:
        return f.selectInput(a.picture == 1 ? Picture::One : Picture::Two, u8(a.value));
    case Kind::Freeze:
        return f.setFreeze(u8(a.value));
    case Kind::FreezeArea:
        return f.setFreezeArea(u8(a.value));
    case Kind::Quality:
        return sendQuality(f, *a.quality, a.value);
    case Kind::QualityStep: {
        const int now = sliderValue(ctx.mirror, *a.quality);
        return sendQuality(f, *a.quality, std::clamp(now + a.value, 0, qualityMaximum(*a.quality)));
    }
    case Kind::Volume:
        return f.setVolume(u8(a.value));
    case Kind::Mute:
        return f.setSoundOn(a.value != 0 ? 0 : 1);
    case Kind::TestPattern:
        return f.showTestPattern(u8(a.value));
    case Kind::Pip:
        return f.setPipOn(u8(a.value));
    case Kind::Sync:
        return SynchroniseAll(ctx, false).run();
    case Kind::Command:
        return a.command->handler(f, ctx.mirror, a.args);
    }
    return 0;
}

} // namespace korvane::remote
