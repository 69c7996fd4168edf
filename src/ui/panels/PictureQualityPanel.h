#pragma once

#include "ui/panels/IPictureQualityPanel.h"
#include "ui/panels/PanelContext.h"
#include "ui/panels/PictureQualityTable.h"

#include <QString>
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace korvane {
enum class ReadBackKind;
}

namespace korvane::ui {

// The picture-quality pane: every control shows one byte of the mirror's picture-quality block
// and sends its change at once. Image mode, DVI enhancement and colour temperature change
// values only the processor knows, so those are read back afterwards.
class PictureQualityPanel : public QWidget, public IPictureQualityPanel {
    Q_OBJECT
public:
    explicit PictureQualityPanel(const PanelContext& context, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    void refreshFromMirror() override;
    // Shows 3D noise reduction for any input but VGA, VGA enhancement for the VGA inputs.
    void setInputKind(bool notVga) override;

    QComboBox* dropDown(pqpanel::DropDown d) const { return dropDowns_[d]; }
    QSlider* slider(pqpanel::Slider s) const { return sliders_[s]; }
    QLineEdit* edit(pqpanel::Slider s) const { return edits_[s]; }
    QCheckBox* check(pqpanel::Check c) const { return checks_[c]; }
    QPushButton* resetButton() const { return reset_; }

private:
    void buildControls();
    void sliderChanged(std::size_t s, int position);
    void releaseSlider(std::size_t s);
    void commitEdit(std::size_t s);
    void dropDownChosen(std::size_t d);
    void checkClicked(std::size_t c);
    void resetToFactory();
    void readBack(ReadBackKind kind, const QString& caption);
    void applyImageModeRule();
    void applyColourTemperatureRule();
    void selectMirrorValue(std::size_t d);
    void loadSlider(std::size_t s);
    // The members to the controls and back, as the edits' last accepted texts live in them.
    void pushMembers();
    void pullMembers();
    void sendUnseen(std::size_t index, std::uint8_t value);
    void send(std::size_t index, std::uint8_t value);

    PanelContext c_;
    std::array<QComboBox*, pqpanel::kDropDownCount> dropDowns_{};
    std::array<QLabel*, pqpanel::kDropDownCount> dropDownLabels_{};
    std::array<QSlider*, pqpanel::kSliderCount> sliders_{};
    std::array<QLineEdit*, pqpanel::kSliderCount> edits_{};
    std::array<QString, pqpanel::kSliderCount> texts_{};
    std::array<QCheckBox*, pqpanel::kCheckCount> checks_{};
    std::array<int, pqpanel::kCheckCount> checked_{};
    QPushButton* reset_ = nullptr;
    bool loading_ = false;
    bool committing_ = false;
};

} // namespace korvane::ui
