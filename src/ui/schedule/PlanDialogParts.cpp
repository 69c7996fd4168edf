#include "ui/schedule/PlanDialogParts.h"

#include "core/commands/DeviceOperation.h"
#include "core/commands/PlanTransfer.h"
#include "core/link/DeviceLink.h"
#include "core/link/ReadTypes.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/i18n/UiText.h"
#include "ui/panels/PanelContext.h"

#include <QCoreApplication>
#include <QPushButton>

namespace korvane::ui {

QPushButton* makeDialogButton(const QString& text, QWidget* parent, const char* objectName) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    return button;
}

bool linkOpenOrSay(QWidget* parent, const PanelContext& c) {
    if (c.link.isOpen() != 0) {
        return true;
    }
    c.presenter.inform(parent, uiText(MessageId::OpenPortFailed));
    return false;
}

bool askAndReadPlanList(QWidget* parent, const PanelContext& c) {
    const char* context = "korvane::ui::PlanEditorDialog";
    if (!c.presenter.confirm(parent,
                             QCoreApplication::translate(context, "是否需要读取脱机计划列表?"))) {
        return false;
    }
    PlanListRead read(OperationContext{c.link, c.mirror, c.facade, c.messages}, 0,
                      static_cast<std::uint8_t>(kPlanEntryCount - 1));
    return c.busy.run(parent, QCoreApplication::translate(context, "同步脱机计划列表"), read) ==
           BusyResult::Succeeded;
}

} // namespace korvane::ui
