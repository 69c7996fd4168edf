#pragma once

#include <QLabel>
#include <QTimer>
#include <string>

namespace korvane {
class DeviceLink;
}

namespace korvane::ui {

// The status bar's one permanent field on the right: the link as it is now. The device path or
// the processor's address in use (or the demo), not connected, lost with where and why,
// reconnecting, or reconnected. It follows every open, close and failure, wherever it happened,
// by looking at the link a few times a second and whenever the link view hears of a change.
class LinkStatusField : public QLabel {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 250;

    explicit LinkStatusField(DeviceLink& link, QWidget* parent = nullptr);
    // The demo's own device: shown as the demo rather than as a terminal path.
    void setDemoDevice(const std::string& path);
    // The link in use came back by itself (or at the operator's retry) after a loss; cleared by
    // any other state.
    void setReconnected(bool reconnected);
    // Looks at the link now.
    void refresh();

private:
    // Where the link in use goes: the device path, the address, or the demo.
    QString placeText();

    DeviceLink& link_;
    std::string demoDevice_;
    bool reconnected_ = false;
    QTimer timer_;
};

} // namespace korvane::ui
