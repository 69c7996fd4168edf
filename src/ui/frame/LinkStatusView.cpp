#include "ui/frame/LinkStatusView.h"

#include "core/link/DeviceLink.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/dialogs/SerialPortChoice.h"
#include "ui/frame/FrameSynchroniser.h"
#include "ui/frame/LinkStatusField.h"
#include "ui/i18n/UiText.h"
#include "ui/panels/ICommPanel.h"
#include "ui/panels/PanelSet.h"

#include <cerrno>

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
                               FrameSynchroniser& synchroniser, LinkStatusField& field,
                               std::function<void(const QString&)> say, QObject* parent)
    : QObject(parent), link_(link), busy_(busy), panels_(panels), synchroniser_(synchroniser),
      field_(field), say_(std::move(say)) {
    field_.refresh();
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

QString LinkStatusView::lossDetail(const LinkStatus& s) {
    const QString where = QString::fromStdString(s.where);
    if (s.reason == LossReason::OpenFailed && !s.network) {
        return deviceOpenFailure(where, s.error);
    }
    const QString why = s.reason == LossReason::OpenFailed && s.error == EBUSY
                            ? uiText(MessageId::UdpPortTaken)
                            : reasonText(s.reason);
    return QStringLiteral("%1 (%2)").arg(where, why);
}

QString LinkStatusView::lossText(const LinkStatus& s) {
    return tr("与处理器的连接已断开: %1，正在自动重新连接").arg(lossDetail(s));
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
    // "Reconnected" lasts while the link that came back stays; an open by the operator is a
    // connection, not a return.
    // A loss and return between two notices counts as well.
    const bool back =
        now.state == LinkState::Connected && (previous.lost() || now.losses != previous.losses);
    if (back) {
        field_.setReconnected(true);
    } else if (now.state != LinkState::Connected || s.state == LinkState::Closed ||
               previous.state == LinkState::Closed) {
        field_.setReconnected(false);
    } else {
        field_.refresh();
    }
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
    if (back) {
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
