#include "ui/i18n/UiText.h"

#include <QCoreApplication>
#include <string>

namespace korvane::ui {

namespace {
QString translated(const char* context, std::string_view text) {
    const std::string source(text);
    return QCoreApplication::translate(context, source.c_str());
}
} // namespace

QString uiText(MessageId id) {
    return translated(kMessageContext, messageText(id));
}

QString uiText(TemplateText t) {
    return translated(kTemplateContext, templateText(t));
}

} // namespace korvane::ui
