#include "ui/frame/LinkStatusField.h"

#include "core/link/DeviceLink.h"

namespace korvane::ui {

LinkStatusField::LinkStatusField(DeviceLink& link, QWidget* parent) : QLabel(parent), link_(link) {
    setObjectName(QStringLiteral("linkStatus"));
    setMinimumWidth(160);
    connect(&timer_, &QTimer::timeout, this, &LinkStatusField::refresh);
    timer_.start(kRefreshMs);
    refresh();
}

void LinkStatusField::setDemoDevice(const std::string& path) {
    demoDevice_ = path;
    refresh();
}

void LinkStatusField::refresh() {
    QString text;
    if (link_.isOpen() == 0) {
        text = tr("未连接");
    } else if (link_.networkMode() != 0) {
        const NetworkSettings udp = link_.networkSettings();
        text = tr("网络 %1:%2").arg(QString::fromStdString(udp.ip)).arg(udp.port);
        if (!demoDevice_.empty()) {
            text = tr("演示模式") + QStringLiteral(" - ") + text;
        }
    } else {
        const std::string path = link_.serialSettings().devicePath;
        text = !demoDevice_.empty() && path == demoDevice_
                   ? tr("演示模式 (模拟处理器 %1)").arg(QString::fromStdString(path))
                   : tr("串口 %1").arg(QString::fromStdString(path));
    }
    if (text != this->text()) {
        setText(text);
    }
}

} // namespace korvane::ui
