#include "ui/frame/DeviceTemplates.h"

#include "core/commands/CommandFacade.h"
#include "core/commands/SendAll.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/ParameterMirror.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/frame/StatusNotice.h"
#include "ui/i18n/UiText.h"

#include <QCoreApplication>

namespace korvane::ui {

namespace {
constexpr std::uint8_t kStoreAction = 0;
} // namespace

bool recallDeviceTemplate(QWidget* parent, BusyRunner& busy, MessagePresenter& presenter,
                          const OperationContext& ctx, int slot, IFrameMessenger* frame,
                          const std::function<void()>& readBackDone) {
    SendAll recall(ctx, SendAll::Mode::RecallSlot, slot);
    if (busy.run(parent, uiText(TemplateText::LoadingCaption), recall) != BusyResult::Succeeded) {
        presenter.inform(parent, uiText(TemplateText::LoadFailed));
        return false;
    }
    // The processor needs its settling time before it answers, hence the initial wait.
    SynchroniseAll readBack(ctx, true);
    if (busy.run(parent, uiText(TemplateText::SynchroniseCaption), readBack) ==
        BusyResult::Succeeded) {
        readBackDone();
    }
    if (frame != nullptr && ctx.mirror.freezeArea == 0) {
        frame->postPicture1WholeArea(true);
    }
    return true;
}

void storeDeviceTemplate(QWidget* from, BusyRunner& busy, CommandFacade& facade, int slot) {
    int sent = 0;
    busy.runUnseen([&facade, &sent, slot] {
        sent = facade.templateSlot(kStoreAction, static_cast<std::uint8_t>(slot));
    });
    if (sent != 0) {
        announceDone(from, QCoreApplication::translate("korvane::ui::DeviceTemplates",
                                                       "已保存到处理器模板%1")
                               .arg(slot));
    }
}

} // namespace korvane::ui
