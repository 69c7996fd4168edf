#include "ui/device/UiMessageSink.h"

#include "ui/device/MessagePresenter.h"
#include "ui/i18n/UiText.h"

#include <QThread>

namespace korvane::ui {

UiMessageSink::UiMessageSink(MessagePresenter& presenter, QObject* parent)
    : QObject(parent), presenter_(presenter) {}

void UiMessageSink::report(MessageId id) {
    const QString text = uiText(id);
    if (QThread::currentThread() == thread()) {
        presenter_.inform(nullptr, text);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, text] { presenter_.inform(nullptr, text); }, Qt::BlockingQueuedConnection);
}

} // namespace korvane::ui
