#pragma once

#include "core/schedule/PlanItem.h"
#include "ui/panels/PanelContext.h"

#include <QDialog>

class QRadioButton;

namespace korvane {
struct OperationContext;
}

namespace korvane::ui {

class ColouredTable;
class PlanTaskBox;

// The offline plan editor ("时间表"): reads the processor's 64 plan entries, edits them one row
// at a time, sends all of them back and turns the offline plans on or off.
class PlanEditorDialog : public QDialog {
    Q_OBJECT
public:
    explicit PlanEditorDialog(const PanelContext& context, QWidget* parent = nullptr);

    const PlanItems& items() const { return items_; }
    // True once the plan header read that follows the opening has ended.
    bool openingDone() const { return openingDone_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void startUp();
    OperationContext operationContext() const;
    void readPlans();
    void sendPlans();
    void modify();
    void move(PlanMove direction);
    void rowClicked(int row);
    void sendHeader(bool enabled);
    void showHeader(bool enabled);
    void openClock();
    void rebuildList();
    // False, after the range prompt, when the minutes are in use and out of range.
    bool minutesAccepted();

    PanelContext c_;
    PlanItems items_{};
    bool started_ = false;
    bool openingDone_ = false;
    // What the radios show: the processor's state as last read or sent.
    bool headerShown_ = true;
    ColouredTable* list_ = nullptr;
    PlanTaskBox* task_ = nullptr;
    QRadioButton* run_ = nullptr;
    QRadioButton* stop_ = nullptr;
};

} // namespace korvane::ui
