#include "ui/schedule/LegacyPlanDialog.h"

#include "core/commands/CommandFacade.h"
#include "core/commands/DeviceOperation.h"
#include "core/commands/PlanTransfer.h"
#include "core/commands/ReadBack.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/schedule/DeviceClock.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/i18n/UiText.h"
#include "ui/schedule/PlanDialogParts.h"
#include "ui/schedule/PlanLabels.h"
#include "ui/schedule/PlanPickers.h"
#include "ui/widgets/ColouredTable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace korvane::ui {

namespace {
constexpr auto kLastSlot = static_cast<std::uint8_t>(kPlanEntryCount - 1);
constexpr int kTemplateCount = 10;
constexpr int kFirstEditedColumn = 1;

} // namespace

LegacyPlanDialog::LegacyPlanDialog(const PanelContext& context, QWidget* parent, LocalClock clock)
    : QDialog(parent), c_(context), clock_(std::move(clock)),
      items_(openLegacyPlanItems(clock_())) {
    setObjectName(QStringLiteral("offlinePlanDialog"));
    setWindowTitle(tr("脱机计划任务"));
    buildControls();
    rebuildList();
    applyEnableRule();
    showPcClock();
    tick_->start();
}

void LegacyPlanDialog::buildControls() {
    list_ = new ColouredTable(this);
    list_->setObjectName(QStringLiteral("planList"));
    list_->setColumns({{tr("序号"), Qt::AlignHCenter, 50},
                       {tr("重复周期"), Qt::AlignHCenter, 90},
                       {tr("周期"), Qt::AlignHCenter, 100},
                       {tr("执行时间"), Qt::AlignHCenter, 100},
                       {tr("模板序号"), Qt::AlignHCenter, 70}});

    auto* modify = makeDialogButton(tr("修改"), this, "modifyButton");
    auto* read = makeDialogButton(tr("读取脱机计划任务"), this, "readButton");
    auto* send = makeDialogButton(tr("发送脱机计划任务"), this, "sendButton");
    auto* close = makeDialogButton(tr("关闭"), this, "closeButton");
    auto* planButtons = new QHBoxLayout;
    planButtons->addWidget(modify);
    planButtons->addStretch(1);
    planButtons->addWidget(read);
    planButtons->addWidget(send);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buildModeRows());
    layout->addLayout(planButtons);
    layout->addLayout(buildClockRow());
    layout->addLayout(bottom);
    resize(560, 640);

    tick_ = new QTimer(this);
    tick_->setInterval(kTickMs);
    connect(tick_, &QTimer::timeout, this, &LegacyPlanDialog::showPcClock);
    connect(mode_, &QButtonGroup::idClicked, this, [this] { applyEnableRule(); });
    connect(modify, &QPushButton::clicked, this, &LegacyPlanDialog::modify);
    connect(read, &QPushButton::clicked, this, &LegacyPlanDialog::readPlans);
    connect(send, &QPushButton::clicked, this, &LegacyPlanDialog::sendPlans);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

QLayout* LegacyPlanDialog::buildModeRows() {
    mode_ = new QButtonGroup(this);
    const QString names[] = {tr("无效"), tr("每天"), tr("一次性"), tr("每周"), tr("间隔")};
    QRadioButton* radios[std::size(names)] = {};
    for (std::size_t m = 0; m < std::size(names); ++m) {
        radios[m] = new QRadioButton(names[m], this);
        radios[m]->setObjectName(QStringLiteral("mode%1").arg(m));
        mode_->addButton(radios[m], static_cast<int>(m));
    }
    radios[legacymode::kDaily]->setChecked(true);

    const QString days[kWeekdays] = {tr("星期一"), tr("星期二"), tr("星期三"), tr("星期四"),
                                     tr("星期五"), tr("星期六"), tr("星期日")};
    auto* weekRow = new QHBoxLayout;
    weekRow->addWidget(radios[legacymode::kWeekly]);
    for (std::size_t d = 0; d < weekdays_.size(); ++d) {
        weekdays_[d] = new QCheckBox(days[d], this);
        weekRow->addWidget(weekdays_[d]);
    }
    weekRow->addStretch(1);

    taskTime_ = makeTimePicker(this);
    taskTime_->setObjectName(QStringLiteral("taskTime"));
    onceDate_ = makeDatePicker(this);
    onceDate_->setObjectName(QStringLiteral("onceDate"));
    showDateTime(*onceDate_, *taskTime_, dateTimeOf(clock_()));
    taskTime_->setTime(QTime(0, 0));
    intervalTime_ = makeTimePicker(this);
    intervalTime_->setObjectName(QStringLiteral("intervalTime"));
    intervalTime_->setTime(QTime(0, 0));
    template_ = new QComboBox(this);
    template_->setObjectName(QStringLiteral("templateCombo"));
    for (int n = 1; n <= kTemplateCount; ++n) {
        template_->addItem(QString::number(n));
    }

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("时间："), this), 0, 0);
    grid->addWidget(taskTime_, 0, 1);
    grid->addWidget(new QLabel(tr("模板序号"), this), 0, 2);
    grid->addWidget(template_, 0, 3);
    grid->addWidget(radios[legacymode::kInvalid], 1, 0);
    grid->addWidget(radios[legacymode::kDaily], 1, 1);
    grid->addWidget(radios[legacymode::kOnce], 2, 0);
    grid->addWidget(onceDate_, 2, 1);
    grid->addWidget(radios[legacymode::kInterval], 3, 0);
    grid->addWidget(intervalTime_, 3, 1);
    grid->addLayout(weekRow, 4, 0, 1, 5);
    grid->setColumnStretch(4, 1);
    return grid;
}

QLayout* LegacyPlanDialog::buildClockRow() {
    pcDate_ = new QLabel(this);
    pcDate_->setObjectName(QStringLiteral("pcDate"));
    pcTime_ = new QLabel(this);
    pcTime_->setObjectName(QStringLiteral("pcTime"));
    deviceDate_ = makeDatePicker(this);
    deviceDate_->setObjectName(QStringLiteral("deviceDate"));
    // Only years the clock's year byte can carry, counted as this dialog counts them.
    limitToClockYears(*deviceDate_, kLegacyClockYearBase);
    deviceTime_ = makeTimePicker(this);
    deviceTime_->setObjectName(QStringLiteral("deviceTime"));
    showDateTime(*deviceDate_, *deviceTime_, clock_());
    auto* readClockButton = makeDialogButton(tr("读取当前时间"), this, "readClockButton");
    auto* sendClockButton = makeDialogButton(tr("发送当前时间"), this, "sendClockButton");
    connect(readClockButton, &QPushButton::clicked, this, &LegacyPlanDialog::readClock);
    connect(sendClockButton, &QPushButton::clicked, this, &LegacyPlanDialog::sendClock);

    auto* row = new QHBoxLayout;
    row->addWidget(pcDate_);
    row->addWidget(pcTime_);
    row->addStretch(1);
    row->addWidget(deviceDate_);
    row->addWidget(deviceTime_);
    row->addWidget(readClockButton);
    row->addWidget(sendClockButton);
    return row;
}

OperationContext LegacyPlanDialog::operationContext() const {
    return {c_.link, c_.mirror, c_.facade, c_.messages};
}

void LegacyPlanDialog::applyEnableRule() {
    const int mode = mode_->checkedId();
    for (QCheckBox* day : weekdays_) {
        day->setEnabled(mode == legacymode::kWeekly);
    }
    onceDate_->setEnabled(mode == legacymode::kOnce);
    intervalTime_->setEnabled(mode == legacymode::kInterval);
}

void LegacyPlanDialog::showPcClock() {
    const LocalTime now = clock_();
    pcDate_->setText(QString::fromStdString(formatDate(now.year, now.month, now.day)));
    pcTime_->setText(QString::fromStdString(formatTime(now.hour, now.minute, now.second)));
}

void LegacyPlanDialog::rebuildList() {
    list_->clearRows();
    for (std::size_t k = 0; k < items_.size(); ++k) {
        list_->appendRow(legacyPlanRowLabels(items_[k], k));
    }
}

void LegacyPlanDialog::modify() {
    const int row = list_->selectedRow();
    if (row < 0 || row >= static_cast<int>(items_.size())) {
        return;
    }
    const auto slot = static_cast<std::size_t>(row);
    LegacyPlanItem& item = items_[slot];
    item.mode = mode_->checkedId();
    // An interval entry's time is its interval; every other entry's is the time of day.
    const QTimeEdit& time = item.mode == legacymode::kInterval ? *intervalTime_ : *taskTime_;
    const DateTime t = pickedDateTime(*onceDate_, time);
    item.year = t.year;
    item.month = t.month;
    item.day = t.day;
    item.hour = t.hour;
    item.minute = t.minute;
    item.second = t.second;
    item.templateIndex = template_->currentIndex();
    item.modified = true;
    const QStringList texts = legacyPlanRowLabels(item, slot);
    for (int column = kFirstEditedColumn; column < texts.size(); ++column) {
        list_->setCellText(row, column, texts[column]);
    }
}

void LegacyPlanDialog::readPlans() {
    if (askAndReadPlanList(this, c_)) {
        decodeLegacyPlanTable(c_.link.planTable(), items_);
        rebuildList();
    }
}

void LegacyPlanDialog::sendPlans() {
    // With the link closed nothing would go out, yet the busy dialog reports success; the
    // changed entries must stay marked so that a later send still carries them.
    if (!linkOpenOrSay(this, c_)) {
        return;
    }
    packLegacyPlanItems(items_, c_.link.planTable());
    PlanListSend send(operationContext(), 0, kLastSlot);
    if (c_.busy.run(this, tr("发送脱机计划列表"), send) == BusyResult::Succeeded) {
        clearLegacyModified(items_);
    }
}

void LegacyPlanDialog::readClock() {
    if (!c_.presenter.confirm(this, tr("是否需要读取实时时间?"))) {
        return;
    }
    ReadBack read(operationContext(), ReadBackKind::Clock);
    if (c_.busy.run(this, tr("同步实时时间"), read) != BusyResult::Succeeded) {
        return;
    }
    showDateTime(*deviceDate_, *deviceTime_, unpackClock(c_.mirror.clock, kLegacyClockYearBase));
}

void LegacyPlanDialog::sendClock() {
    const ClockBytes bytes =
        packClock(pickedDateTime(*deviceDate_, *deviceTime_), kLegacyClockYearBase);
    // A single write with no answer to wait for; it still leaves the UI thread.
    c_.busy.runUnseen([this, bytes] { c_.facade.setClockBytes(bytes); });
}

} // namespace korvane::ui
