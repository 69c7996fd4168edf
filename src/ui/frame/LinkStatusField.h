#pragma once

#include <QLabel>
#include <QTimer>
#include <string>

namespace korvane {
class DeviceLink;
}

namespace korvane::ui {

// The status bar's permanent field on the right: the link as it is now (the device path or the
// processor's address in use, the demo, or not connected). It follows every open, close and
// failure, wherever it happened, by looking at the link a few times a second.
class LinkStatusField : public QLabel {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 250;

    explicit LinkStatusField(DeviceLink& link, QWidget* parent = nullptr);
    // The demo's own device: shown as the demo rather than as a terminal path.
    void setDemoDevice(const std::string& path);
    // Looks at the link now.
    void refresh();

private:
    DeviceLink& link_;
    std::string demoDevice_;
    QTimer timer_;
};

} // namespace korvane::ui
