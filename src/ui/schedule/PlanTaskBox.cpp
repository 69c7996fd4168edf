#include "ui/schedule/PlanTaskBox.h"

#include "core/link/InputCodes.h"
#include "ui/schedule/PlanPickers.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimeEdit>
#include <algorithm>

namespace korvane::ui {

namespace {
constexpr int kTemplateCount = 10;
// Enough for any value of the packed field, so that an entry read back shows what it holds.
constexpr int kMinutesLength = 3;
constexpr int kFirstIntervalMode = planmode::kIntervalFor24Hours;

QRadioButton* addRadio(QButtonGroup& group, int id, const QString& text, QWidget* parent,
                       const char* name) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    group.addButton(button, id);
    return button;
}
} // namespace

PlanTaskBox::PlanTaskBox(QWidget* parent) : QGroupBox(tr("任务"), parent) {
    buildControls();
}

void PlanTaskBox::buildControls() {
    date_ = makeDatePicker(this);
    date_->setObjectName(QStringLiteral("planDate"));
    time_ = makeTimePicker(this);
    time_->setObjectName(QStringLiteral("planTime"));

    period_ = new QButtonGroup(this);
    auto* skip = addRadio(*period_, Skip, tr("跳过"), this, "periodSkip");
    auto* daily = addRadio(*period_, Daily, tr("每天"), this, "periodDaily");
    auto* once = addRadio(*period_, Once, tr("一次性"), this, "periodOnce");
    auto* interval = addRadio(*period_, Interval, tr("间隔"), this, "periodInterval");
    minutes_ = new QLineEdit(this);
    minutes_->setObjectName(QStringLiteral("planMinutes"));
    minutes_->setMaxLength(kMinutesLength);
    minutes_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), minutes_));
    minutes_->setFixedWidth(minutes_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                            12);
    validity_ = new QComboBox(this);
    validity_->setObjectName(QStringLiteral("planValidity"));
    validity_->addItems({tr("24小时后失效"), tr("每天重复"), tr("持续不断")});

    action_ = new QButtonGroup(this);
    loadTemplate_ =
        addRadio(*action_, planaction::kRecallTemplate, tr("加载模板"), this, "actionTemplate");
    switchChannel_ =
        addRadio(*action_, planaction::kSwitchInput, tr("通道切换"), this, "actionChannel");
    template_ = new QComboBox(this);
    template_->setObjectName(QStringLiteral("planTemplate"));
    for (int n = 1; n <= kTemplateCount; ++n) {
        template_->addItem(QString::number(n));
    }
    channel_ = new QComboBox(this);
    channel_->setObjectName(QStringLiteral("planChannel"));
    for (const InputCodeRow& row : inputCodeTable()) {
        channel_->addItem(
            QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size())),
            int{row.code});
    }

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("时间："), this), 0, 0);
    auto* when = new QHBoxLayout;
    when->addWidget(date_);
    when->addWidget(time_);
    when->addStretch(1);
    grid->addLayout(when, 0, 1);

    grid->addWidget(new QLabel(tr("周期："), this), 1, 0);
    auto* periods = new QHBoxLayout;
    periods->addWidget(skip);
    periods->addWidget(daily);
    periods->addWidget(once);
    periods->addStretch(1);
    grid->addLayout(periods, 1, 1);
    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(interval);
    intervalRow->addWidget(minutes_);
    intervalRow->addWidget(new QLabel(tr("分钟"), this));
    intervalRow->addWidget(validity_);
    intervalRow->addStretch(1);
    grid->addLayout(intervalRow, 2, 1);

    auto* actions = new QHBoxLayout;
    actions->addWidget(loadTemplate_);
    actions->addWidget(template_);
    actions->addSpacing(16);
    actions->addWidget(switchChannel_);
    actions->addWidget(channel_);
    actions->addStretch(1);
    grid->addLayout(actions, 3, 1);
    grid->setColumnStretch(1, 1);

    connect(period_, &QButtonGroup::idClicked, this, [this] { applyEnableRule(); });
    connect(action_, &QButtonGroup::idClicked, this, [this] { applyEnableRule(); });
}

void PlanTaskBox::reset(std::uint8_t channel, const LocalTime& now) {
    showDateTime(*date_, *time_, now);
    period_->button(Skip)->setChecked(true);
    loadTemplate_->setChecked(true);
    template_->setCurrentIndex(0);
    validity_->setCurrentIndex(0);
    minutes_->setText(QString::number(kMinPlanInterval));
    channel_->setCurrentIndex(std::max(channel_->findData(int{channel}), 0));
    applyEnableRule();
}

void PlanTaskBox::load(const PlanItem& item) {
    if (item.mode >= kFirstIntervalMode) {
        period_->button(Interval)->setChecked(true);
        validity_->setCurrentIndex(
            std::min(item.mode - kFirstIntervalMode, validity_->count() - 1));
    } else {
        period_->button(std::max(item.mode, int{Skip}))->setChecked(true);
    }
    minutes_->setText(QString::number(item.interval));
    showDate(*date_, item.year, item.month, item.day);
    showTime(*time_, item.hour, item.minute, item.second);
    template_->setCurrentIndex(item.templateNumber - 1);
    channel_->setCurrentIndex(std::max(channel_->findData(item.channel), 0));
    (item.action != planaction::kSwitchInput ? loadTemplate_ : switchChannel_)->setChecked(true);
    applyEnableRule();
}

void PlanTaskBox::store(PlanItem& item) const {
    const int period = period_->checkedId();
    item.mode = period == Interval ? kFirstIntervalMode + validity_->currentIndex() : period;
    const DateTime t = pickedDateTime(*date_, *time_);
    item.year = t.year;
    item.month = t.month;
    item.day = t.day;
    item.hour = t.hour;
    item.minute = t.minute;
    item.second = t.second;
    item.templateNumber = template_->currentIndex() + 1;
    item.channel = channel_->currentData().toInt();
    item.action =
        loadTemplate_->isChecked() ? planaction::kRecallTemplate : planaction::kSwitchInput;
    if (intervalChecked()) {
        item.interval = minutes().value_or(item.interval);
    }
}

bool PlanTaskBox::intervalChecked() const {
    return period_->checkedId() == Interval;
}

std::optional<int> PlanTaskBox::minutes() const {
    bool ok = false;
    const int value = minutes_->text().trimmed().toInt(&ok);
    if (!ok || value < kMinPlanInterval || value > kMaxPlanInterval) {
        return std::nullopt;
    }
    return value;
}

void PlanTaskBox::focusMinutes() {
    minutes_->setFocus();
    minutes_->selectAll();
}

void PlanTaskBox::applyEnableRule() {
    const bool byTemplate = loadTemplate_->isChecked();
    template_->setEnabled(byTemplate);
    channel_->setEnabled(!byTemplate);
    const bool interval = intervalChecked();
    minutes_->setEnabled(interval);
    validity_->setEnabled(interval);
}

} // namespace korvane::ui
