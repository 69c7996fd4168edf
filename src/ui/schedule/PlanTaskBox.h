#pragma once

#include "core/schedule/LocalTime.h"
#include "core/schedule/PlanItem.h"

#include <QGroupBox>
#include <cstdint>
#include <optional>

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QRadioButton;
class QTimeEdit;

namespace korvane::ui {

// The plan editor's "任务" group: when, how often and what one plan entry does.
class PlanTaskBox : public QGroupBox {
    Q_OBJECT
public:
    // The period radio buttons; with "间隔" the mode also depends on the validity entry.
    enum Period { Skip = 0, Daily = 1, Once = 2, Interval = 3 };

    explicit PlanTaskBox(QWidget* parent = nullptr);

    // As the editor opens: skip, load a template ("1"), the first validity entry, 1 minute, the
    // given channel, and the pickers on the given time.
    void reset(std::uint8_t channel, const LocalTime& now);
    // Shows one item; modes above the validity entries show as the last of them.
    void load(const PlanItem& item);
    // Writes the controls into `item`. The interval is taken only while "间隔" is checked and
    // the minutes are in range: for the other periods the minutes edit is off and the item keeps
    // the interval it came with, so an entry read from the processor goes back as it was.
    void store(PlanItem& item) const;

    bool intervalChecked() const;
    // The minutes when they are an integer in the editor's range.
    std::optional<int> minutes() const;
    void focusMinutes();

private:
    void buildControls();
    void applyEnableRule();

    QDateEdit* date_ = nullptr;
    QTimeEdit* time_ = nullptr;
    QButtonGroup* period_ = nullptr;
    QLineEdit* minutes_ = nullptr;
    QComboBox* validity_ = nullptr;
    QButtonGroup* action_ = nullptr;
    QRadioButton* loadTemplate_ = nullptr;
    QRadioButton* switchChannel_ = nullptr;
    QComboBox* template_ = nullptr;
    QComboBox* channel_ = nullptr;
};

} // namespace korvane::ui
