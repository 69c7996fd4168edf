#pragma once

#include "ui/locate/LocateMath.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;

namespace korvane::ui {

class MessagePresenter;

// "水平/垂直定位设置": the box and module sizes in pixels, asked before the point-locate window
// opens. OK makes each module size divide its box size.
class LocateSettingsDialog : public QDialog {
    Q_OBJECT
public:
    enum Field { BoxWidth, BoxHeight, ModuleWidth, ModuleHeight, FieldCount };

    LocateSettingsDialog(const locate::BoxSizes& sizes, MessagePresenter& presenter,
                         QWidget* parent = nullptr);

    QLineEdit& edit(Field f) const { return *edits_.at(f); }
    // The largest box the screen has room for (at first kMaximumSize both ways).
    void setBoxLimit(QSize limit) { boxLimit_ = limit; }
    // The sizes as accepted (after the module adjustment).
    locate::BoxSizes sizes() const { return sizes_; }

public slots:
    void accept() override;

private:
    void showSizes(const locate::BoxSizes& s);

    MessagePresenter& presenter_;
    std::array<QLineEdit*, FieldCount> edits_{};
    QCheckBox* use_;
    locate::BoxSizes sizes_;
    QSize boxLimit_{locate::kMaximumSize, locate::kMaximumSize};
};

} // namespace korvane::ui
