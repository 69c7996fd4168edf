#include "MirrorText.h"

#include "HexText.h"
#include "QualityItems.h"
#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/InputCodes.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "core/schedule/DeviceClock.h"

#include <array>
#include <cstdio>
#include <span>
#include <string>

namespace korvane::ctl {

namespace {
enum class Format { Number, Input, Resolution };

struct Field {
    std::string_view name;
    Format format;
    int (*get)(const ParameterMirror&);
};

std::string valueText(Format format, int value) {
    std::string text = std::to_string(value);
    if (value < 0 || value > 0xFF) {
        return text;
    }
    const auto code = static_cast<std::uint8_t>(value);
    if (format == Format::Input) {
        if (const auto name = inputName(code)) {
            text += " (" + std::string(*name) + ")";
        }
    } else if (format == Format::Resolution) {
        if (const auto r = findResolution(code)) {
            text += " (" + std::string(r->name) + ")";
        }
    }
    return text;
}

void printFields(std::ostream& out, std::span<const Field> fields, const ParameterMirror& m) {
    for (const auto& f : fields) {
        printLine(out, f.name, valueText(f.format, f.get(m)));
    }
}

// Picture-quality indices first..last, named as the command line names the items.
void printQuality(std::ostream& out, const ParameterMirror& m, std::size_t first,
                  std::size_t last) {
    for (std::size_t index = first; index <= last; ++index) {
        for (const auto& row : qualityItems()) {
            if (row.gainIndex.value_or(CommandFacade::mirrorIndexOf(row.item)) == index) {
                printLine(out, row.name, std::to_string(m.pq[index]));
                break;
            }
        }
    }
}

void printLimits(std::ostream& out, std::string_view prefix, const DeviceLink& link,
                 std::uint8_t type) {
    const auto limits = inputWindowLimits(replyPayload(link.replyBuffer(type)));
    printLine(out, std::string(prefix) + "HLimit", std::to_string(limits.horizontal));
    printLine(out, std::string(prefix) + "VLimit", std::to_string(limits.vertical));
}

// The About box's texts: empty while the version number is 99 or more (never read).
void printDeviceInfo(std::ostream& out, const ParameterMirror& m) {
    constexpr int kFirstUnreadVersion = 99;
    constexpr int kFactoryYearBase = 2000;
    const auto* d = m.deviceInfo;
    printLine(out, "Model", std::to_string(d[0]));
    std::string version;
    std::string factoryDate;
    if (d[2] < kFirstUnreadVersion) {
        char text[32];
        std::snprintf(text, sizeof text, "%c%d", static_cast<char>(d[1]), d[2]);
        version = text;
        std::snprintf(text, sizeof text, "%d%02d", kFactoryYearBase + d[3], d[4]);
        factoryDate = text;
    }
    printLine(out, "Version", version);
    printLine(out, "FactoryDate", factoryDate);
}

void printAudioPorts(std::ostream& out, const ParameterMirror& m) {
    std::string text;
    for (std::size_t i = 0; i + 1 < std::size(m.audioPorts); i += 2) {
        const auto name = inputName(m.audioPorts[i]);
        text += text.empty() ? "" : " ";
        text += name ? std::string(*name) : std::to_string(m.audioPorts[i]);
        text += ":" + std::to_string(m.audioPorts[i + 1]);
    }
    printLine(out, "AudioPorts", text);
}

// The identity as text when it is printable, as bytes otherwise.
void printIdentity(std::ostream& out, const DeviceLink& link) {
    const auto payload = replyPayload(link.replyBuffer(readtype::kIdentity));
    std::string text;
    for (const auto b : payload) {
        if (b < 0x20 || b > 0x7E) {
            printLine(out, "Identity", hexBytes(payload));
            return;
        }
        text += static_cast<char>(b);
    }
    printLine(out, "Identity", text);
}

const Field kMainFields[] = {
    {"SeamlessSwitch", Format::Number, [](const ParameterMirror& m) { return int{m.seamless}; }},
    {"SoundOn", Format::Number, [](const ParameterMirror& m) { return int{m.soundOn}; }},
    {"Volume", Format::Number, [](const ParameterMirror& m) { return int{m.volume}; }},
    {"FreezeArea", Format::Number, [](const ParameterMirror& m) { return int{m.freezeArea}; }},
};

const Field kPicture1InputFields[] = {
    {"Picture1InX", Format::Number, [](const ParameterMirror& m) { return m.p1InX; }},
    {"Picture1InY", Format::Number, [](const ParameterMirror& m) { return m.p1InY; }},
    {"Picture1InWidth", Format::Number, [](const ParameterMirror& m) { return m.p1InWidth; }},
    {"Picture1InHeight", Format::Number, [](const ParameterMirror& m) { return m.p1InHeight; }},
    {"CaptureMode", Format::Number, [](const ParameterMirror& m) { return int{m.captureMode}; }},
};

const Field kPicture2InputFields[] = {
    {"Picture2InX", Format::Number, [](const ParameterMirror& m) { return m.p2InX; }},
    {"Picture2InY", Format::Number, [](const ParameterMirror& m) { return m.p2InY; }},
    {"Picture2InWidth", Format::Number, [](const ParameterMirror& m) { return m.p2InWidth; }},
    {"Picture2InHeight", Format::Number, [](const ParameterMirror& m) { return m.p2InHeight; }},
};

const Field kPicture1OutputFields[] = {
    {"Picture1Source", Format::Input,
     [](const ParameterMirror& m) { return int{m.pq[pq::kPicture1Source]}; }},
    {"Picture1OutX", Format::Number, [](const ParameterMirror& m) { return m.p1OutX; }},
    {"Picture1OutY", Format::Number, [](const ParameterMirror& m) { return m.p1OutY; }},
    {"Picture1OutWidth", Format::Number, [](const ParameterMirror& m) { return m.p1OutWidth; }},
    {"Picture1OutHeight", Format::Number, [](const ParameterMirror& m) { return m.p1OutHeight; }},
};

const Field kPicture2Fields[] = {
    {"Picture2Source", Format::Input, [](const ParameterMirror& m) { return int{m.p2Source}; }},
    {"PipOn", Format::Number, [](const ParameterMirror& m) { return int{m.pipOn}; }},
    {"Transparency", Format::Number, [](const ParameterMirror& m) { return m.transparency; }},
    {"AutoSwitch", Format::Number, [](const ParameterMirror& m) { return m.autoSwitch; }},
    {"Picture2OutX", Format::Number, [](const ParameterMirror& m) { return m.p2X; }},
    {"Picture2OutY", Format::Number, [](const ParameterMirror& m) { return m.p2Y; }},
    {"Picture2OutWidth", Format::Number, [](const ParameterMirror& m) { return m.p2Width; }},
    {"Picture2OutHeight", Format::Number, [](const ParameterMirror& m) { return m.p2Height; }},
};

const Field kOverlayFields[] = {
    {"OverlayOn", Format::Number, [](const ParameterMirror& m) { return int{m.overlayOn}; }},
    {"OverlayMode", Format::Number, [](const ParameterMirror& m) { return int{m.overlayMode}; }},
    {"OverlayAboveBelow", Format::Number,
     [](const ParameterMirror& m) { return int{m.overlayAboveBelow}; }},
    {"OverlayAndOr", Format::Number, [](const ParameterMirror& m) { return int{m.overlayAndOr}; }},
    {"OverlayRed", Format::Number, [](const ParameterMirror& m) { return m.overlayRed; }},
    {"OverlayGreen", Format::Number, [](const ParameterMirror& m) { return m.overlayGreen; }},
    {"OverlayBlue", Format::Number, [](const ParameterMirror& m) { return m.overlayBlue; }},
};

const Field kFadeFields[] = {
    {"Fade0", Format::Number, [](const ParameterMirror& m) { return int{m.fade[0]}; }},
    {"Fade1", Format::Number, [](const ParameterMirror& m) { return int{m.fade[1]}; }},
};

const Field kSwitchFields[] = {
    {"Picture1Input", Format::Input,
     [](const ParameterMirror& m) { return int{m.switchState[sw::kPicture1Input]}; }},
    {"Picture1Lit", Format::Number,
     [](const ParameterMirror& m) { return int{m.switchState[sw::kPicture1Lit]}; }},
    {"Picture2Input", Format::Input,
     [](const ParameterMirror& m) { return int{m.switchState[sw::kPicture2Input]}; }},
    {"Picture2Lit", Format::Number,
     [](const ParameterMirror& m) { return int{m.switchState[sw::kPicture2Lit]}; }},
    {"SwitchByte4", Format::Number,
     [](const ParameterMirror& m) { return int{m.switchState[sw::kFurther]}; }},
    {"TopLayer", Format::Number,
     [](const ParameterMirror& m) { return int{m.switchState[sw::kTopLayer]}; }},
};

const Field kPlanHeaderFields[] = {
    {"PlanHeaderByte0", Format::Number,
     [](const ParameterMirror& m) { return int{m.planHeader[0]}; }},
    {"PlansEnabled", Format::Number, [](const ParameterMirror& m) { return int{m.planHeader[1]}; }},
};
} // namespace

void printLine(std::ostream& out, std::string_view name, std::string_view value) {
    out << name << " = " << value << '\n';
}

void printGroup(std::ostream& out, MirrorGroup group, const ParameterMirror& m,
                const DeviceLink& link) {
    switch (group) {
    case MirrorGroup::Main:
        printLine(out, "OutputResolution",
                  valueText(Format::Resolution, m.pq[pq::kOutputResolution]));
        printQuality(out, m, pq::kImageMode, pq::kGamma);
        printFields(out, kMainFields, m);
        break;
    case MirrorGroup::PictureQuality:
        printQuality(out, m, pq::kImageMode, pq::kDviEnhancement);
        break;
    case MirrorGroup::Gains:
        printQuality(out, m, pq::kRedGain, pq::kBlueGain);
        break;
    case MirrorGroup::Picture1Input:
        printFields(out, kPicture1InputFields, m);
        printLimits(out, "Picture1In", link, readtype::kPicture1Input);
        break;
    case MirrorGroup::Picture2Input:
        printFields(out, kPicture2InputFields, m);
        printLimits(out, "Picture2In", link, readtype::kPicture2Input);
        break;
    case MirrorGroup::Picture1Output:
        printFields(out, kPicture1OutputFields, m);
        break;
    case MirrorGroup::Picture2:
        printFields(out, kPicture2Fields, m);
        break;
    case MirrorGroup::Overlay:
        printFields(out, kOverlayFields, m);
        break;
    case MirrorGroup::Fade:
        printFields(out, kFadeFields, m);
        break;
    case MirrorGroup::SwitchState:
        printFields(out, kSwitchFields, m);
        break;
    case MirrorGroup::InputSettings:
        printLine(out, "InputSettings",
                  hexBytes(replyPayload(link.replyBuffer(readtype::kInputSettings))));
        break;
    case MirrorGroup::DeviceInfo:
        printDeviceInfo(out, m);
        break;
    case MirrorGroup::Identity:
        printIdentity(out, link);
        break;
    case MirrorGroup::Clock:
        printLine(out, "Clock", formatClock(std::span<const std::uint8_t, 6>(m.clock)));
        break;
    case MirrorGroup::AudioPorts:
        printAudioPorts(out, m);
        break;
    case MirrorGroup::PlanHeader:
        printFields(out, kPlanHeaderFields, m);
        break;
    }
}

} // namespace korvane::ctl
