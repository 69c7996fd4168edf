#include "ui/remote/UiRemoteDevice.h"

#include "core/commands/DeviceOperation.h"
#include "core/link/DeviceLink.h"
#include "remote/RemoteState.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"
#include "ui/device/MessagePresenter.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/MainWindow.h"
#include "ui/panels/ICapturePanel.h"
#include "ui/panels/ICentrePane.h"
#include "ui/panels/IDualPicturePanel.h"
#include "ui/panels/IInputBar.h"
#include "ui/panels/IOutputPanel.h"
#include "ui/panels/IPictureQualityPanel.h"
#include "ui/panels/IPanel.h"
#include "ui/wall/CentrePane.h"

#include <QMetaObject>
#include <optional>

namespace korvane::ui {

namespace {
using Kind = remote::RemoteAction::Kind;
using remote::RemoteReply;
using remote::RemoteStatus;

constexpr char kLinkClosed[] = "the link to the processor is closed";
constexpr char kFailed[] = "the processor could not be reached";

// Keeps what the recall path would show in a box; the remote client gets it instead.
class KeptMessages : public MessagePresenter {
public:
    void inform(QWidget*, const QString& text) override { text_ = text; }
    bool confirm(QWidget*, const QString&) override { return false; }
    QString chooseFile(QWidget*, const FileChoice&) override { return {}; }
    const QString& text() const { return text_; }

private:
    QString text_;
};
} // namespace

UiRemoteDevice::UiRemoteDevice(MainWindow& window, const FrameServices& services, QObject* parent)
    : RemoteDevice(parent), window_(window), s_(services) {
    watch_.setInterval(kWatchMs);
    connect(&watch_, &QTimer::timeout, this, &RemoteDevice::changed);
    watch_.start();
}

bool UiRemoteDevice::busy() const {
    return s_.busy.gate().busy();
}

void UiRemoteDevice::run(const remote::RemoteAction& action, Done done) {
    // From the event loop, not from inside the front that received the request.
    QMetaObject::invokeMethod(
        this, [this, action, done = std::move(done)] { done(runNow(action)); },
        Qt::QueuedConnection);
}

RemoteReply UiRemoteDevice::runNow(const remote::RemoteAction& action) {
    if (s_.link.isOpen() == 0) {
        return RemoteReply::failure(RemoteStatus::LinkLost, kLinkClosed);
    }
    const OperationContext ctx{s_.link, s_.mirror, s_.facade, s_.messages};
    if (action.kind == Kind::Recall) {
        auto* centre = dynamic_cast<CentrePane*>(window_.panels().centre);
        if (centre != nullptr) {
            KeptMessages kept;
            const bool ok = centre->recallTemplate(action.slot, kept);
            return ok && kept.text().isEmpty()
                       ? RemoteReply{}
                       : RemoteReply::failure(RemoteStatus::LinkLost, kept.text().toStdString());
        }
    }
    if (action.kind == Kind::SelectInput && action.picture == 1) {
        window_.panels().inputBar->selectPicture1Input(static_cast<std::uint8_t>(action.value),
                                                       false);
        return s_.link.isOpen() != 0 ? RemoteReply{}
                                     : RemoteReply::failure(RemoteStatus::LinkLost, kLinkClosed);
    }
    int result = 0;
    s_.busy.runUnseen([&] { result = remote::runOnCore(ctx, action); });
    refreshPanels();
    return result == 1 ? RemoteReply{} : RemoteReply::failure(RemoteStatus::LinkLost, kFailed);
}

void UiRemoteDevice::refreshPanels() {
    const PanelSet& p = window_.panels();
    SendSwitchOff quiet(s_.link);
    p.inputBar->refreshInputs(true);
    p.output->refreshFromMirror();
    p.dualPicture->refreshFromMirror();
    p.sound->refreshFromMirror();
    p.pictureQuality->refreshFromMirror();
    p.capture->refreshFromMirror();
    p.centre->refreshFromMirror();
}

QJsonObject UiRemoteDevice::state() const {
    QJsonObject s = remote::mirrorState(s_.mirror, s_.link);
    const QJsonObject link = remote::linkState(s_.link.isOpen() != 0);
    for (auto it = link.begin(); it != link.end(); ++it) {
        s.insert(it.key(), it.value());
    }
    return s;
}

} // namespace korvane::ui
