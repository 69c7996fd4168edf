#pragma once

#include "core/link/InputCodes.h"
#include "ui/panels/IPanel.h"

#include <QWidget>
#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace korvane {
class CommandFacade;
struct ParameterMirror;
} // namespace korvane

namespace korvane::ui {

class BusyRunner;
class MessagePresenter;
struct PanelContext;

// "声音": volume and mute go out as soon as they change; which audio input goes with each
// video input goes out as a whole with "设置".
class SoundPanel : public QWidget, public IPanel {
    Q_OBJECT
public:
    static constexpr int kMaxVolume = 100;
    static constexpr int kVolumeTick = 10;
    static constexpr int kAudioInputs = 3;
    // The video inputs that take an audio input, in the order of the command and the mirror.
    static constexpr std::array<std::uint8_t, 4> kPortInputs{input::kAv1, input::kAv2, input::kVga,
                                                             input::kDvi};

    explicit SoundPanel(const PanelContext& context, QWidget* parent = nullptr);
    ~SoundPanel() override;

    QWidget* widget() override { return this; }
    void refreshFromMirror() override;

    QSlider& volumeSlider() const { return *slider_; }
    QLineEdit& volumeEdit() const { return *volume_; }
    QCheckBox& muteBox() const { return *mute_; }
    // The drop-down of kPortInputs[i].
    QComboBox& portBox(std::size_t i) const { return *ports_[i]; }
    QPushButton& setButton() const { return *set_; }

private:
    void buildControls();
    void sliderMoved(int value);
    void sliderReleased();
    void volumeCommitted();
    void muteClicked(bool muted);
    void setPorts();
    // The accepted volume and mute state back into the controls.
    void showMirror();

    ParameterMirror& mirror_;
    CommandFacade& facade_;
    BusyRunner& busy_;
    MessagePresenter& presenter_;
    // Set while the range message is up, whose focus change would commit the edit again.
    bool inRangeMessage_ = false;

    QSlider* slider_ = nullptr;
    QLineEdit* volume_ = nullptr;
    QCheckBox* mute_ = nullptr;
    std::array<QComboBox*, kPortInputs.size()> ports_{};
    QPushButton* set_ = nullptr;
};

} // namespace korvane::ui
