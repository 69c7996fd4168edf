#include "ui/schedule/PlanEditorDialog.h"

#include "core/commands/DeviceOperation.h"
#include "core/commands/PlanTransfer.h"
#include "core/commands/ReadBack.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/frame/StatusNotice.h"
#include "ui/schedule/ClockDialog.h"
#include "ui/schedule/PlanDialogParts.h"
#include "ui/schedule/PlanLabels.h"
#include "ui/schedule/PlanTaskBox.h"
#include "ui/widgets/ColouredTable.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace korvane::ui {

namespace {
constexpr auto kLastSlot = static_cast<std::uint8_t>(kPlanEntryCount - 1);
// Header byte 0 is reserved and always sent as 0; byte 1 runs the plans.
constexpr std::uint8_t kHeaderReserved = 0;
constexpr std::size_t kHeaderEnabledByte = 1;
constexpr int kFirstEditedColumn = 1;

} // namespace

PlanEditorDialog::PlanEditorDialog(const PanelContext& context, QWidget* parent)
    : QDialog(parent), c_(context) {
    setObjectName(QStringLiteral("planEditor"));
    setWindowTitle(tr("时间表"));
    buildControls();
    task_->reset(c_.mirror.p2Source, systemLocalTime());
    showHeader(true);
}

void PlanEditorDialog::buildControls() {
    list_ = new ColouredTable(this);
    list_->setObjectName(QStringLiteral("planList"));
    list_->setColumns({{tr("序号"), Qt::AlignHCenter, 50},
                       {tr("重复周期"), Qt::AlignHCenter, 90},
                       {tr("周期"), Qt::AlignHCenter, 60},
                       {tr("执行时间"), Qt::AlignLeft, 150},
                       {tr("执行方式"), Qt::AlignHCenter, 110},
                       {QStringLiteral(" "), Qt::AlignLeft, 40}});
    task_ = new PlanTaskBox(this);

    auto* up = makeDialogButton(tr("上移"), this, "moveUpButton");
    auto* down = makeDialogButton(tr("下移"), this, "moveDownButton");
    auto* modifyButton = makeDialogButton(tr("修改"), this, "modifyButton");
    auto* rowButtons = new QHBoxLayout;
    rowButtons->addStretch(1);
    rowButtons->addWidget(up);
    rowButtons->addWidget(down);
    rowButtons->addWidget(modifyButton);

    run_ = new QRadioButton(tr("运行计划任务"), this);
    run_->setObjectName(QStringLiteral("runPlans"));
    stop_ = new QRadioButton(tr("禁用计划任务"), this);
    stop_->setObjectName(QStringLiteral("stopPlans"));
    auto* read = makeDialogButton(tr("读取(&O)"), this, "readButton");
    auto* send = makeDialogButton(tr("保存(&S)"), this, "sendButton");
    auto* clock = makeDialogButton(tr("校时"), this, "clockButton");
    auto* close = makeDialogButton(tr("关闭"), this, "closeButton");
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(run_);
    bottom->addWidget(stop_);
    bottom->addStretch(1);
    bottom->addWidget(read);
    bottom->addWidget(send);
    bottom->addWidget(clock);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(rowButtons);
    layout->addWidget(task_);
    layout->addLayout(bottom);
    resize(640, 600);

    connect(list_, &ColouredTable::cellClicked, this, [this](int row, int) { rowClicked(row); });
    connect(up, &QPushButton::clicked, this, [this] { move(PlanMove::Up); });
    connect(down, &QPushButton::clicked, this, [this] { move(PlanMove::Down); });
    connect(modifyButton, &QPushButton::clicked, this, &PlanEditorDialog::modify);
    connect(run_, &QRadioButton::clicked, this, [this] { sendHeader(true); });
    connect(stop_, &QRadioButton::clicked, this, [this] { sendHeader(false); });
    connect(read, &QPushButton::clicked, this, &PlanEditorDialog::readPlans);
    connect(send, &QPushButton::clicked, this, &PlanEditorDialog::sendPlans);
    connect(clock, &QPushButton::clicked, this, &PlanEditorDialog::openClock);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void PlanEditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // The header read runs in the busy dialog, which wants this window on screen first.
        QTimer::singleShot(0, this, &PlanEditorDialog::startUp);
    }
}

void PlanEditorDialog::startUp() {
    ReadBack read(operationContext(), ReadBackKind::PlanHeader);
    if (c_.busy.run(this, tr("同步脱机计划列表"), read) == BusyResult::Succeeded) {
        const std::uint8_t enabled = c_.mirror.planHeader[kHeaderEnabledByte];
        if (enabled == 1 || enabled == 0) {
            showHeader(enabled == 1);
        }
    }
    openingDone_ = true;
}

OperationContext PlanEditorDialog::operationContext() const {
    return {c_.link, c_.mirror, c_.facade, c_.messages};
}

void PlanEditorDialog::readPlans() {
    if (askAndReadPlanList(this, c_)) {
        decodePlanTable(c_.link.planTable(), items_);
        rebuildList();
    }
}

void PlanEditorDialog::sendPlans() {
    if (!minutesAccepted() || !linkOpenOrSay(this, c_)) {
        return;
    }
    packPlanItems(items_, c_.link.planTable());
    PlanListSend send(operationContext(), 0, kLastSlot);
    if (c_.busy.run(this, tr("发送脱机计划列表"), send) == BusyResult::Succeeded) {
        announceDone(this, tr("脱机计划已发送"));
    }
}

void PlanEditorDialog::modify() {
    const int row = list_->selectedRow();
    if (row < 0 || row >= static_cast<int>(items_.size()) || !minutesAccepted()) {
        return;
    }
    const auto slot = static_cast<std::size_t>(row);
    task_->store(items_[slot]);
    const QStringList texts = planRowLabels(items_[slot], slot);
    for (int column = kFirstEditedColumn; column < texts.size(); ++column) {
        list_->setCellText(row, column, texts[column]);
    }
}

void PlanEditorDialog::move(PlanMove direction) {
    const int row = list_->selectedRow();
    if (row < 0) {
        return;
    }
    const auto to = movePlanItem(items_, static_cast<std::size_t>(row), direction);
    if (!to) {
        return;
    }
    rebuildList();
    list_->setFocus();
    list_->selectRow(static_cast<int>(*to));
}

void PlanEditorDialog::rowClicked(int row) {
    if (row >= 0 && row < static_cast<int>(items_.size())) {
        task_->load(items_[static_cast<std::size_t>(row)]);
    }
}

void PlanEditorDialog::showHeader(bool enabled) {
    headerShown_ = enabled;
    (enabled ? run_ : stop_)->setChecked(true);
}

void PlanEditorDialog::sendHeader(bool enabled) {
    if (!linkOpenOrSay(this, c_)) {
        // The radios show what the processor was last known to do.
        showHeader(headerShown_);
        return;
    }
    // The header send takes its two bytes from where a header read leaves them.
    const auto header = c_.link.replyBuffer(readtype::kPlanHeader);
    header[frame::kPayloadOffset] = kHeaderReserved;
    header[frame::kPayloadOffset + kHeaderEnabledByte] = enabled ? 1 : 0;
    PlanHeaderSend send(operationContext());
    const bool sent = c_.busy.run(this, tr("发送脱机计划列表"), send) == BusyResult::Succeeded;
    showHeader(sent ? enabled : headerShown_);
}

void PlanEditorDialog::openClock() {
    ClockDialog dlg(c_, this);
    dlg.exec();
}

void PlanEditorDialog::rebuildList() {
    list_->clearRows();
    for (std::size_t k = 0; k < items_.size(); ++k) {
        list_->appendRow(planRowLabels(items_[k], k));
    }
}

bool PlanEditorDialog::minutesAccepted() {
    if (!task_->intervalChecked() || task_->minutes()) {
        return true;
    }
    c_.presenter.inform(this, integerRangePrompt(kMinPlanInterval, kMaxPlanInterval));
    task_->focusMinutes();
    return false;
}

} // namespace korvane::ui
