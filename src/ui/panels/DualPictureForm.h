#pragma once

#include "ui/panels/Picture2Window.h"

#include <QString>
#include <array>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;

namespace korvane::ui {

namespace dualform {
// The two-way choices; index 0 is the first radio ("开", "开", "模式1", "Above", "And", "瞬切",
// "画面1"), 1 the second.
enum Pair { Picture2, OverlayState, Mode, AboveBelow, AndOr, Effect, TopLayer, kPairCount };
enum Threshold { Red, Green, Blue, kThresholdCount };
} // namespace dualform

// The controls of the dual-picture panel and their arrangement; the panel gives them life.
struct DualPictureForm {
    std::array<std::array<QRadioButton*, 2>, dualform::kPairCount> radios{};
    QComboBox* source = nullptr;
    QComboBox* autoSwitch = nullptr;
    QComboBox* transparency = nullptr;
    QComboBox* fade = nullptr;
    std::array<QLineEdit*, 4> window{}; // in Picture2Field order
    std::array<QLineEdit*, dualform::kThresholdCount> thresholdEdits{};
    std::array<QSlider*, dualform::kThresholdCount> sliders{};
    QLabel* condition = nullptr;
    QPushButton* switchButton = nullptr;
    QGroupBox* group = nullptr;
    // Enabled only while picture 2 is on: its source, window and transparency, and the
    // overlay and effect controls.
    std::vector<QWidget*> picture2Controls;
    std::vector<QWidget*> overlayControls;

    // Creates every control as a child of `owner` and lays them out; texts through the panel's
    // translation context.
    void build(QWidget* owner);
};

} // namespace korvane::ui
