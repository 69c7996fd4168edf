#include "ui/frame/LinkStatusView.h"

#include "core/link/DeviceLink.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/frame/FrameSynchroniser.h"
#include "ui/panels/ICommPanel.h"
#include "ui/panels/PanelSet.h"

#include <QLabel>

namespace korvane::ui {

namespace {
QString reasonText(LossReason r) {
    switch (r) {
    case LossReason::HangUp:
        return LinkStatusView::tr("线路挂断");
    case LossReason::DeviceRemoved:
        return LinkStatusView::tr("设备已移除");
    case LossReason::WriteFailed:
        return LinkStatusView::tr("发送失败");
    case LossReason::NoAnswer:
        return LinkStatusView::tr("处理器无应答");
    case LossReason::OpenFailed:
        return LinkStatusView::tr("无法打开设备");
    case LossReason::None:
        break;
    }
    return {};
}
} // namespace

LinkStatusView::LinkStatusView(DeviceLink& link, BusyRunner& busy, PanelSet& panels,
                               FrameSynchroniser& synchroniser, QLabel& field,
                               std::function<void(const QString&)> say, QObject* parent)
    : QObject(parent), link_(link), busy_(busy), panels_(panels), synchroniser_(synchroniser),
      field_(field), say_(std::move(say)) {
    field_.setText(fieldText(link_.linkStatus()));
    // The link tells on whichever thread changed it; the window hears it on its own.
    listener_ = link_.addLinkListener([this](const LinkStatus& s) {
        QMetaObject::invokeMethod(
            this, [this, s] { show(s); }, Qt::QueuedConnection);
    });
    const LinkStatus now = link_.linkStatus();
    if (now.lost()) {
        show(now);
    } else {
        last_ = now;
    }
}

LinkStatusView::~LinkStatusView() {
    link_.removeLinkListener(listener_);
}

QString LinkStatusView::fieldText(const LinkStatus& s) {
    switch (s.state) {
    case LinkState::Connected:
        return tr("✓ 已连接");
    case LinkState::Lost:
        return tr("✗ 连接已断开");
    case LinkState::Reconnecting:
        return tr("✗ 正在重新连接");
    case LinkState::Closed:
        break;
    }
    return tr("未连接");
}

QString LinkStatusView::lossText(const LinkStatus& s) {
    return tr("与处理器的连接已断开: %1 (%2)，正在自动重新连接")
        .arg(QString::fromStdString(s.where), reasonText(s.reason));
}

QString LinkStatusView::refusedText(const LinkStatus& s) {
    return tr("连接已断开，命令未发送: %1").arg(QString::fromStdString(s.where));
}

QString LinkStatusView::reconnectedText() {
    return tr("已重新连接");
}

void LinkStatusView::show(const LinkStatus& s) {
    // Queued notices may arrive after newer ones: the link's own state is the truth.
    const LinkStatus now = link_.linkStatus();
    const LinkStatus previous = last_;
    last_ = now;
    field_.setText(fieldText(now));
    if (now.lost()) {
        if (!previous.lost() || now.losses != previous.losses) {
            SendSwitchOff quiet(link_);
            panels_.communication->setOnlineIndicator(false);
            say_(lossText(now));
        }
        if (s.refused == 1 && now.refused >= 1 && previous.refused == 0) {
            say_(refusedText(now));
        }
        return;
    }
    if (now.state == LinkState::Connected && previous.lost()) {
        busy_.gate().whenIdle([this] { resynchronise(); });
    }
}

void LinkStatusView::resynchronise() {
    if (link_.linkStatus().state != LinkState::Connected) {
        return;
    }
    // The processor may have been switched off and on: read it all, as at start-up, and let
    // every panel show what it holds. The mirror is not reset first.
    synchroniser_.synchronise(false);
    if (link_.linkStatus().state == LinkState::Connected) {
        say_(reconnectedText());
    }
}

} // namespace korvane::ui
