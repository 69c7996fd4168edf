#include "ui/frame/LinkStatusField.h"

#include "core/link/DeviceLink.h"
#include "ui/frame/LinkStatusView.h"

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

void LinkStatusField::setReconnected(bool reconnected) {
    reconnected_ = reconnected;
    refresh();
}

QString LinkStatusField::placeText() {
    if (link_.networkMode() != 0) {
        const NetworkSettings udp = link_.networkSettings();
        QString text = tr("网络 %1:%2").arg(QString::fromStdString(udp.ip)).arg(udp.port);
        if (!demoDevice_.empty()) {
            text = tr("演示模式") + QStringLiteral(" - ") + text;
        }
        return text;
    }
    const std::string path = link_.serialSettings().devicePath;
    return !demoDevice_.empty() && path == demoDevice_
               ? tr("演示模式 (模拟处理器 %1)").arg(QString::fromStdString(path))
               : tr("串口 %1").arg(QString::fromStdString(path));
}

void LinkStatusField::refresh() {
    const LinkStatus status = link_.linkStatus();
    if (status.state != LinkState::Connected) {
        reconnected_ = false;
    }
    QString text;
    if (status.lost()) {
        text = (status.state == LinkState::Reconnecting ? tr("✗ 正在重新连接: %1")
                                                        : tr("✗ 连接已断开: %1"))
                   .arg(LinkStatusView::lossDetail(status));
    } else if (link_.isOpen() == 0) {
        text = tr("未连接");
    } else if (reconnected_) {
        text = tr("✓ 已重新连接: %1").arg(placeText());
    } else {
        text = QStringLiteral("✓ %1").arg(placeText());
    }
    if (text != this->text()) {
        // The field keeps its own minimum width, so a long reason never widens the window; on a
        // narrow one the whole text is in the tool tip.
        setText(text);
        setToolTip(text);
    }
}

} // namespace korvane::ui
