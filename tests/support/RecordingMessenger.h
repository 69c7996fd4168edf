#pragma once

#include "ui/frame/IFrameMessenger.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace korvane::ui::test {

// Takes what a panel or window asks of the main frame, in one list so that the order shows:
// "+303 0 8" is message 303 above the frame's base posted with (0, 8), "send +303 0 8" the same
// handled at once, "reannounce 1" and "open 0 2" the side-pane requests.
class RecordingMessenger : public IFrameMessenger {
public:
    // Logs into `log` when given (shared with other recorders), else into its own list.
    explicit RecordingMessenger(QStringList* log = nullptr) : log_(log != nullptr ? log : &own_) {}

    const QStringList& log() const { return *log_; }
    // The message numbers posted or sent, in order.
    std::vector<int> numbers;
    // Appended to each sent message's entry: the state the frame would see when handling it.
    std::function<QString()> sendNote;
    // What send returns.
    int sendResult = 1;
    std::uint8_t resolution = 0;

    void post(FrameMessage m, long long first, long long second) override;
    int send(FrameMessage m, long long first, long long second) override;
    void openPane(int stack, int pane) override;
    void reannounceOpenPane(int stack) override;
    std::uint8_t currentResolution() const override { return resolution; }
    void setCurrentResolution(std::uint8_t code) override { resolution = code; }

    // An entry as post writes it.
    static QString posted(FrameMessage m, long long first = 0, long long second = 0);

private:
    QStringList own_;
    QStringList* log_;
};

} // namespace korvane::ui::test
