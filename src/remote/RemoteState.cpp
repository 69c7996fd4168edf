#include "remote/RemoteState.h"

#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "tools/ArgRule.h"
#include "tools/MirrorText.h"

#include <sstream>

namespace korvane::remote {

namespace {
// The groups `korvanectl sync` prints, in its order.
constexpr ctl::MirrorGroup kSyncGroups[] = {
    ctl::MirrorGroup::Main,          ctl::MirrorGroup::Picture1Input,
    ctl::MirrorGroup::Picture2Input, ctl::MirrorGroup::Picture1Output,
    ctl::MirrorGroup::Picture2,      ctl::MirrorGroup::Overlay,
    ctl::MirrorGroup::Fade,          ctl::MirrorGroup::SwitchState,
    ctl::MirrorGroup::InputSettings, ctl::MirrorGroup::AudioPorts,
};
constexpr std::string_view kSeparator = " = ";
constexpr char kLinkLost[] = "link lost";
constexpr char kLinkClosed[] = "the link to the processor is closed";

// "11 (HDMI)" and "60" are numbers; anything else stays text.
QJsonValue valueOf(const std::string& text) {
    const auto blank = text.find(" (");
    const std::string head = blank == std::string::npos ? text : text.substr(0, blank);
    if (const auto n = ctl::parseInteger(head); n && head.find("0x") == std::string::npos) {
        return static_cast<double>(*n);
    }
    return QString::fromStdString(text);
}
} // namespace

QString statekey::templateKey(int slot) {
    return QStringLiteral("Template%1").arg(slot);
}

QJsonObject mirrorState(const ParameterMirror& mirror, const DeviceLink& link) {
    std::ostringstream text;
    for (const auto g : kSyncGroups) {
        ctl::printGroup(text, g, mirror, link);
    }
    QJsonObject state;
    std::istringstream lines(text.str());
    for (std::string line; std::getline(lines, line);) {
        const auto at = line.find(kSeparator);
        if (at != std::string::npos) {
            state.insert(QString::fromStdString(line.substr(0, at)),
                         valueOf(line.substr(at + kSeparator.size())));
        }
    }
    return state;
}

void addTemplateNames(QJsonObject& state, const std::array<std::string, 10>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        state.insert(statekey::templateKey(static_cast<int>(i) + 1),
                     QString::fromStdString(names[i]));
    }
}

void addLinkState(QJsonObject& state, const LinkStatus& status) {
    const auto text = [](std::string_view s) {
        return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
    };
    state.insert(QLatin1String(statekey::kLink), text(linkStateName(status.state)));
    state.insert(QLatin1String(statekey::kLinkReason),
                 text(status.lost() ? lossReasonName(status.reason) : std::string_view{}));
}

std::string linkRefusalText(const LinkStatus& status) {
    if (status.lost()) {
        return std::string(kLinkLost) + " (" + std::string(lossReasonName(status.reason)) + ")";
    }
    return status.state == LinkState::Closed ? kLinkClosed : std::string();
}

QJsonObject changedEntries(const QJsonObject& before, const QJsonObject& now) {
    QJsonObject changed;
    for (auto it = now.begin(); it != now.end(); ++it) {
        if (before.value(it.key()) != it.value()) {
            changed.insert(it.key(), it.value());
        }
    }
    return changed;
}

} // namespace korvane::remote
