#include "ui/frame/FrameCommands.h"

#include "core/commands/CommandFacade.h"
#include "core/commands/DeviceOperation.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/store/Settings.h"
#include "ui/device/BackgroundTask.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/frame/DeviceTemplates.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/FrameState.h"
#include "ui/frame/FrameSynchroniser.h"
#include "ui/frame/FrameTemplateHost.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/frame/StatusNotice.h"
#include "ui/i18n/UiText.h"
#include "ui/panels/ICentrePane.h"
#include "ui/panels/ILayoutControl.h"
#include "ui/panels/PanelSet.h"

#include <QCoreApplication>
#include <QWidget>

namespace korvane::ui {

namespace {
QString templateFilter() {
    return QStringLiteral("KorvaneControl Template File(*.kvt)");
}
} // namespace

QString FrameCommands::chooseTemplateFile(FileChoice::Mode mode) {
    const QString path =
        s_.presenter.chooseFile(&window_, FileChoice{mode, templateFilter(), QStringLiteral("kvt"),
                                                     state_.lastTemplateFolder});
    if (!path.isEmpty()) {
        state_.lastTemplateFolder = folderOfChoice(path);
    }
    return path;
}

void FrameCommands::openTemplateFile() {
    const QString path = chooseTemplateFile(FileChoice::Mode::Open);
    if (!path.isEmpty() && templates_.load(path.toStdString()) == LoadResult::Failed) {
        s_.presenter.inform(&window_, uiText(TemplateText::OpenFailed));
    }
}

void FrameCommands::saveTemplateFile() {
    const QString path = chooseTemplateFile(FileChoice::Mode::Save);
    if (!path.isEmpty()) {
        templates_.save(path.toStdString());
    }
}

bool FrameCommands::recallDeviceTemplate(int slot) {
    const OperationContext ctx{s_.link, s_.mirror, s_.facade, s_.messages};
    return ui::recallDeviceTemplate(&window_, s_.busy, s_.presenter, ctx, slot, &frame_,
                                    [this] { synchroniser_.readBackDone(); });
}

void FrameCommands::storeDeviceTemplate(int slot) {
    ui::storeDeviceTemplate(&window_, s_.busy, s_.facade, slot);
}

void FrameCommands::factoryReset() {
    if (!s_.presenter.confirmDestructive(
            &window_, QCoreApplication::translate("korvane::ui::FrameCommands",
                                                  "请确认是否要恢复出厂默认设置?"))) {
        return;
    }
    bool sent = false;
    s_.busy.runUnseen([&] {
        s_.facade.factoryReset();
        sent = s_.link.lastFrameSent();
    });
    // The processor takes its time to reset; a reset that never went out takes none.
    if (sent) {
        s_.busy.run(&window_,
                    QCoreApplication::translate("korvane::ui::FrameCommands", "工厂复位中..."),
                    waitTask(s_.link, kFactoryResetWait));
    }
    frame_.postSynchronise(false);
}

void FrameCommands::autoAdjust() {
    int sent = 0;
    s_.busy.runUnseen([&] { sent = s_.facade.autoAdjust(); });
    if (sent != 0) {
        announceDone(&window_,
                     QCoreApplication::translate("korvane::ui::FrameCommands", "已发送自动调整"));
    }
}

bool FrameCommands::toggleHollow(Picture picture) {
    bool& hollow = state_.hollow[static_cast<std::size_t>(picture)];
    hollow = !hollow;
    if (picture == Picture::One) {
        panels_.centre->layoutControl().setHollow(Picture::One, hollow);
        panels_.centre->widget()->update();
    } else {
        frame_.postHollow(Picture::Two, hollow);
    }
    return hollow;
}

bool FrameCommands::switchLanguage(bool chinese) {
    if (state_.chinese == chinese) {
        return false;
    }
    s_.settings.writeLanguage(chinese);
    state_.chinese = chinese;
    state_.restarting = true;
    s_.presenter.inform(&window_, QCoreApplication::translate("korvane::ui::FrameCommands",
                                                              "程序将自动关闭并重新启动，请稍候!"));
    QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection);
    if (s_.restart) {
        s_.restart();
    }
    return true;
}

} // namespace korvane::ui
