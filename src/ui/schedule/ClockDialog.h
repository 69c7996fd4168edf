#pragma once

#include "core/schedule/LocalTime.h"
#include "ui/panels/PanelContext.h"

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QTimeEdit;
class QTimer;

namespace korvane::ui {

// The clock dialog ("校时"): shows the processor's clock and sets it from a chosen date and
// time or from the PC's.
class ClockDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTickMs = 1000;

    ClockDialog(const PanelContext& context, QWidget* parent = nullptr,
                LocalClock clock = systemLocalTime);

    // True once the clock read that follows the opening has ended.
    bool openingDone() const { return openingDone_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void startUp();
    void readClock();
    void showLocalTime();
    void sendClock(const QDateEdit& date, const QTimeEdit& time);

    PanelContext c_;
    LocalClock clock_;
    bool started_ = false;
    bool openingDone_ = false;
    QDateEdit* chosenDate_ = nullptr;
    QTimeEdit* chosenTime_ = nullptr;
    QDateEdit* localDate_ = nullptr;
    QTimeEdit* localTime_ = nullptr;
    QLineEdit* deviceTime_ = nullptr;
    QTimer* tick_ = nullptr;
};

} // namespace korvane::ui
