#pragma once

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
inline constexpr char kLink[] = "Link";
inline constexpr char kLinkOpen[] = "open";
inline constexpr char kLinkClosed[] = "closed";
// "Template1" .. "Template10"
QString templateKey(int slot);
} // namespace statekey

// The processor's state as remote clients see it: one flat object whose names are those
// `korvanectl sync` prints (numbers as numbers), plus the link state and the template names.
QJsonObject mirrorState(const ParameterMirror& mirror, const DeviceLink& link);
void addTemplateNames(QJsonObject& state, const std::array<std::string, 10>& names);
QJsonObject linkState(bool open);

// The entries of `now` that are new or differ from `before`.
QJsonObject changedEntries(const QJsonObject& before, const QJsonObject& now);

} // namespace korvane::remote
