#pragma once

#include "core/base/Messages.h"

#include <QObject>

namespace korvane::ui {

class MessagePresenter;

// The core's messages, shown translated and modally on the UI thread. A worker that reports
// waits until the operator has closed the box, as the operation expects.
class UiMessageSink : public QObject, public MessageSink {
    Q_OBJECT
public:
    explicit UiMessageSink(MessagePresenter& presenter, QObject* parent = nullptr);
    void report(MessageId id) override;

private:
    MessagePresenter& presenter_;
};

} // namespace korvane::ui
