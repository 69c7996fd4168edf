#include "support/RecordingMessenger.h"

namespace korvane::ui::test {

QString RecordingMessenger::posted(FrameMessage m, long long first, long long second) {
    return QStringLiteral("+%1 %2 %3")
        .arg(messageNumber(m) - kFrameMessageBase)
        .arg(first)
        .arg(second);
}

void RecordingMessenger::post(FrameMessage m, long long first, long long second) {
    numbers.push_back(messageNumber(m));
    *log_ << posted(m, first, second);
}

int RecordingMessenger::send(FrameMessage m, long long first, long long second) {
    numbers.push_back(messageNumber(m));
    QString entry = QStringLiteral("send ") + posted(m, first, second);
    if (sendNote) {
        entry += QLatin1Char(' ') + sendNote();
    }
    *log_ << entry;
    return sendResult;
}

void RecordingMessenger::openPane(int stack, int pane) {
    *log_ << QStringLiteral("open %1 %2").arg(stack).arg(pane);
}

void RecordingMessenger::reannounceOpenPane(int stack) {
    *log_ << QStringLiteral("reannounce %1").arg(stack);
}

} // namespace korvane::ui::test
