#include "ui/panels/SoundPanel.h"

#include "core/commands/CommandFacade.h"
#include "core/link/ParameterMirror.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/panels/PanelContext.h"
#include "ui/panels/PanelNumbers.h"
#include "ui/widgets/SliderCommit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace korvane::ui {

namespace {
constexpr int kVolumeTextLength = 4;

QString inputLabel(std::uint8_t code) {
    const auto name = inputName(code);
    return name ? QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size()))
                : QString::number(code);
}
} // namespace

SoundPanel::SoundPanel(const PanelContext& context, QWidget* parent)
    : QWidget(parent), mirror_(context.mirror), facade_(context.facade), busy_(context.busy),
      presenter_(context.presenter) {
    setObjectName(QStringLiteral("soundPanel"));
    buildControls();
}

SoundPanel::~SoundPanel() {
    // The volume edit may lose the focus while the child widgets go; its commit must not reach
    // this panel, which is gone by then.
    volume_->disconnect(this);
}

void SoundPanel::buildControls() {
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setRange(0, kMaxVolume);
    slider_->setTickInterval(kVolumeTick);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setPageStep(kVolumeTick);
    volume_ = new QLineEdit(this);
    volume_->setMaxLength(kVolumeTextLength);
    volume_->setFixedWidth(volume_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    mute_ = new QCheckBox(tr("静音"), this);

    auto* volumeRow = new QHBoxLayout;
    volumeRow->addWidget(slider_, 1);
    volumeRow->addWidget(volume_);

    auto* portGroup = new QGroupBox(tr("端口配置"), this);
    auto* portGrid = new QGridLayout(portGroup);
    portGrid->setColumnStretch(1, 1);
    for (std::size_t i = 0; i < kPortInputs.size(); ++i) {
        ports_[i] = new QComboBox(portGroup);
        for (int a = 0; a < kAudioInputs; ++a) {
            ports_[i]->addItem(QStringLiteral("Audio Input%1").arg(a + 1), a);
        }
        const int row = static_cast<int>(i);
        portGrid->addWidget(new QLabel(inputLabel(kPortInputs[i]), portGroup), row, 0);
        portGrid->addWidget(ports_[i], row, 1);
    }
    set_ = new QPushButton(tr("设置"), portGroup);
    set_->setAutoDefault(false);
    portGrid->addWidget(set_, static_cast<int>(kPortInputs.size()), 1, Qt::AlignRight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(new QLabel(tr("音量"), this));
    layout->addLayout(volumeRow);
    layout->addWidget(mute_);
    layout->addWidget(portGroup);
    layout->addStretch(1);

    connectSliderCommit(
        slider_, this, [this](int value) { volume_->setText(QString::number(value)); },
        [this] { sliderReleased(); });
    connect(volume_, &QLineEdit::editingFinished, this, &SoundPanel::volumeCommitted);
    connect(mute_, &QCheckBox::clicked, this, &SoundPanel::muteClicked);
    connect(set_, &QPushButton::clicked, this, &SoundPanel::setPorts);
}

void SoundPanel::sliderReleased() {
    const auto volume = static_cast<std::uint8_t>(leadingInt(volume_->text()) & 0xFF);
    if (volume != mirror_.volume) {
        busy_.runUnseen([this, volume] { facade_.setVolume(volume); });
    }
}

void SoundPanel::volumeCommitted() {
    if (inRangeMessage_) {
        return;
    }
    // Letters or an empty field are refused like a value out of range, not sent as silence.
    const auto entered = wholeNumber(volume_->text());
    const int value = entered.value_or(-1);
    if (!entered || value < 0 || value > kMaxVolume) {
        inRangeMessage_ = true;
        presenter_.inform(this, outOfRangeText(0, kMaxVolume));
        inRangeMessage_ = false;
        showMirror();
        return;
    }
    {
        const QSignalBlocker quiet(slider_);
        slider_->setValue(value);
    }
    sliderReleased();
}

void SoundPanel::muteClicked(bool muted) {
    const std::uint8_t soundOn = muted ? 0 : 1;
    if (soundOn != mirror_.soundOn) {
        busy_.runUnseen([this, soundOn] { facade_.setSoundOn(soundOn); });
    }
}

void SoundPanel::setPorts() {
    std::array<std::uint8_t, kPortInputs.size()> audio{};
    for (std::size_t i = 0; i < ports_.size(); ++i) {
        // No selection counts as the first audio input.
        audio[i] = ports_[i]->currentIndex() < 0
                       ? 0
                       : static_cast<std::uint8_t>(ports_[i]->currentData().toUInt());
    }
    busy_.runUnseen(
        [this, audio] { facade_.setAudioPorts(audio[0], audio[1], audio[2], audio[3]); });
}

void SoundPanel::showMirror() {
    volume_->setText(QString::number(mirror_.volume));
    mute_->setChecked(mirror_.soundOn == 0);
    const QSignalBlocker quiet(slider_);
    slider_->setValue(mirror_.volume);
}

void SoundPanel::refreshFromMirror() {
    showMirror();
    for (QComboBox* box : ports_) {
        box->setCurrentIndex(0);
    }
    for (std::size_t pair = 0; pair < kPortInputs.size(); ++pair) {
        const std::uint8_t source = mirror_.audioPorts[2 * pair];
        const std::uint8_t audio = mirror_.audioPorts[2 * pair + 1];
        for (std::size_t i = 0; i < kPortInputs.size(); ++i) {
            if (kPortInputs[i] == source && audio < kAudioInputs) {
                ports_[i]->setCurrentIndex(ports_[i]->findData(static_cast<int>(audio)));
            }
        }
    }
}

} // namespace korvane::ui
