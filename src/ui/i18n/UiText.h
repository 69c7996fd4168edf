#pragma once

#include "core/base/Messages.h"
#include "core/store/TemplateTexts.h"

#include <QString>

namespace korvane::ui {

// The core's operator texts, translated: the one table through which the program shows them.
// Their Chinese source texts stand in the core; the English ones in the program's translation
// under these contexts.
inline constexpr char kMessageContext[] = "korvane::MessageId";
inline constexpr char kTemplateContext[] = "korvane::TemplateText";

QString uiText(MessageId id);
QString uiText(TemplateText t);

} // namespace korvane::ui
