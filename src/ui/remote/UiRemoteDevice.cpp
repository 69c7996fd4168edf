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
#include "ui/panels/IPanel.h"
#include "ui/panels/IPictureQualityPanel.h"
#include "ui/wall/CentrePane.h"

#include <QMetaObject>
#include <optional>

namespace korvane::ui {

namespace {
using Kind = remote::RemoteAction::Kind;
using remote::RemoteReply;
using remote::RemoteStatus;

constexpr char kFailed[] = "the processor could not be reached";
constexpr char kNoPicture2Input[] = "picture 2 offers no input ";

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
    followLink(s_.link);
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

RemoteReply UiRemoteDevice::linkAfterwards() const {
    const std::string why = remote::linkRefusalText(s_.link.linkStatus());
    return why.empty() ? RemoteReply{} : RemoteReply::failure(RemoteStatus::LinkLost, why);
}

RemoteReply UiRemoteDevice::runNow(const remote::RemoteAction& action) {
    if (const RemoteReply refused = linkAfterwards(); !refused.ok()) {
        return refused;
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
    const auto code = static_cast<std::uint8_t>(action.value);
    if (action.kind == Kind::SelectInput && action.picture == 1) {
        window_.panels().inputBar->selectPicture1Input(code, false);
        return linkAfterwards();
    }
    // The dual-picture pane's own choice: its switch and read-back, and its redraw.
    if (action.kind == Kind::SelectInput && action.picture == 2) {
        if (!window_.panels().dualPicture->choosePicture2Input(code)) {
            return RemoteReply::failure(RemoteStatus::BadRequest,
                                        kNoPicture2Input + std::to_string(action.value));
        }
        return linkAfterwards();
    }
    int result = 0;
    s_.busy.runUnseen([&] { result = remote::runOnCore(ctx, action); });
    refreshPanels();
    if (result == 1) {
        return {};
    }
    const RemoteReply link = linkAfterwards();
    return link.ok() ? RemoteReply::failure(RemoteStatus::LinkLost, kFailed) : link;
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
    return remote::mirrorState(s_.mirror, s_.link);
}

} // namespace korvane::ui
