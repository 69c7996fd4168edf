#pragma once

#include "remote/RemoteDevice.h"
#include "ui/frame/FrameServices.h"

#include <QTimer>

namespace korvane::ui {

class MainWindow;

// The desktop program as a remote client reaches it: every action runs through the busy runner
// the operator's clicks use, on their paths (the input bar's and the dual-picture pane's input
// switches, the centre pane's recall, each with its read-back), and the panels redraw afterwards.
// Failures reach the status bar, never a message box.
class UiRemoteDevice : public remote::RemoteDevice {
    Q_OBJECT
public:
    // How often the operator's own changes are looked for, to tell remote clients.
    static constexpr int kWatchMs = 500;

    UiRemoteDevice(MainWindow& window, const FrameServices& services, QObject* parent = nullptr);

    bool busy() const override;
    void run(const remote::RemoteAction& action, Done done) override;
    QJsonObject state() const override;

private:
    remote::RemoteReply runNow(const remote::RemoteAction& action);
    // Ok, or the link's refusal when it is lost or closed now.
    remote::RemoteReply linkAfterwards() const;
    void refreshPanels();

    MainWindow& window_;
    FrameServices s_;
    QTimer watch_;
};

} // namespace korvane::ui
