#pragma once

#include "core/link/LinkStatus.h"

#include <QJsonObject>
#include <QString>
#include <array>
#include <string>

namespace korvane {
class DeviceLink;
struct ParameterMirror;
} // namespace korvane

namespace korvane::remote {

namespace statekey {
// "connected", "lost", "reconnecting" or "closed" (closed by the operator, or never opened).
inline constexpr char kLink[] = "Link";
// Why a lost link was lost ("hang-up", "device removed", ...); empty while it is not lost.
inline constexpr char kLinkReason[] = "LinkReason";
// "Template1" .. "Template10"
QString templateKey(int slot);
} // namespace statekey

// The processor's state as remote clients see it: one flat object whose names are those
// `korvanectl sync` prints (numbers as numbers), plus the link state and the template names.
QJsonObject mirrorState(const ParameterMirror& mirror, const DeviceLink& link);
void addTemplateNames(QJsonObject& state, const std::array<std::string, 10>& names);
void addLinkState(QJsonObject& state, const LinkStatus& status);
// Why nothing can be sent over a link in `status` ("link lost (hang-up)"); empty when connected.
std::string linkRefusalText(const LinkStatus& status);

// The entries of `now` that are new or differ from `before`.
QJsonObject changedEntries(const QJsonObject& before, const QJsonObject& now);

} // namespace korvane::remote
