#pragma once

#include "core/schedule/LegacyPlan.h"
#include "core/schedule/LocalTime.h"
#include "ui/panels/PanelContext.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QTimeEdit;
class QTimer;

namespace korvane {
struct OperationContext;
}

namespace korvane::ui {

class ColouredTable;

// The older offline plan dialog ("脱机计划任务"): edits the date, time, mode and template of the
// processor's plan entries and sends only the entries it changed; also reads and sets the clock,
// counting its year from 2000.
class LegacyPlanDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTickMs = 1000;
    static constexpr int kWeekdays = 7;

    LegacyPlanDialog(const PanelContext& context, QWidget* parent = nullptr,
                     LocalClock clock = systemLocalTime);

    const LegacyPlanItems& items() const { return items_; }

private:
    void buildControls();
    QLayout* buildModeRows();
    QLayout* buildClockRow();
    OperationContext operationContext() const;
    void applyEnableRule();
    void showPcClock();
    void rebuildList();
    void modify();
    void readPlans();
    void sendPlans();
    void readClock();
    void sendClock();

    PanelContext c_;
    LocalClock clock_;
    LegacyPlanItems items_;
    ColouredTable* list_ = nullptr;
    QButtonGroup* mode_ = nullptr;
    std::array<QCheckBox*, kWeekdays> weekdays_{};
    QTimeEdit* taskTime_ = nullptr;     // the time of day
    QDateEdit* onceDate_ = nullptr;     // the date of a one-off entry
    QTimeEdit* intervalTime_ = nullptr; // the interval of an interval entry
    QComboBox* template_ = nullptr;
    QLabel* pcDate_ = nullptr;
    QLabel* pcTime_ = nullptr;
    QDateEdit* deviceDate_ = nullptr;
    QTimeEdit* deviceTime_ = nullptr;
    QTimer* tick_ = nullptr;
};

} // namespace korvane::ui
