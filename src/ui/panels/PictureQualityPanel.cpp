#include "ui/panels/PictureQualityPanel.h"

#include "core/commands/CommandFacade.h"
#include "core/commands/ReadBack.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/panels/PanelNumbers.h"
#include "ui/widgets/SliderCommit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSlider>

namespace korvane::ui {

namespace {
using namespace pqpanel;

QString pqText(const char* source) {
    return QCoreApplication::translate(kPictureQualityContext, source);
}

constexpr bool isColourByte(std::size_t index) {
    return index >= pq::kColourTemperature && index <= pq::kBlueGain;
}

constexpr std::size_t kImageModeSliders[] = {kBrightness, kContrast, kColour, kSharpness};
constexpr std::size_t kGainSliders[] = {kRed, kGreen, kBlue};
} // namespace

PictureQualityPanel::PictureQualityPanel(const PanelContext& context, QWidget* parent)
    : QWidget(parent), c_(context) {
    setObjectName(QStringLiteral("pictureQuality"));
    buildControls();
    setInputKind(true);
}

void PictureQualityPanel::buildControls() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);
    grid->setColumnStretch(1, 1);
    int row = 0;

    const auto addDropDown = [&](std::size_t d, int at) {
        const PqDropDown& entry = pqDropDowns()[d];
        auto* label = new QLabel(pqText(entry.caption), this);
        auto* box = new QComboBox(this);
        box->setObjectName(QLatin1String(entry.name));
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(6);
        connect(box, &QComboBox::activated, this, [this, d] { dropDownChosen(d); });
        grid->addWidget(label, at, 0);
        grid->addWidget(box, at, 1, 1, 2);
        dropDownLabels_[d] = label;
        dropDowns_[d] = box;
    };
    const auto addSlider = [&](std::size_t s) {
        const PqSlider& entry = pqSliders()[s];
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QLatin1String(entry.name) + QStringLiteral("Slider"));
        slider->setRange(0, entry.maximum);
        slider->setTickInterval(entry.tick);
        slider->setPageStep(entry.tick);
        slider->setTickPosition(QSlider::TicksBelow);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(entry.name) + QStringLiteral("Edit"));
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
        connectSliderCommit(
            slider, this, [this, s](int v) { sliderChanged(s, v); },
            [this, s] {
                if (!loading_) {
                    releaseSlider(s);
                }
            });
        connect(edit, &QLineEdit::editingFinished, this, [this, s] { commitEdit(s); });
        grid->addWidget(new QLabel(pqText(entry.caption), this), row, 0);
        grid->addWidget(slider, row, 1);
        grid->addWidget(edit, row, 2);
        sliders_[s] = slider;
        edits_[s] = edit;
        ++row;
    };
    const auto addCheck = [&](std::size_t c) {
        const PqCheck& entry = pqChecks()[c];
        auto* box = new QCheckBox(pqText(entry.caption), this);
        box->setObjectName(QLatin1String(entry.name));
        connect(box, &QCheckBox::clicked, this, [this, c] { checkClicked(c); });
        grid->addWidget(box, row++, 0, 1, 3);
        checks_[c] = box;
    };

    addDropDown(kImageMode, row++);
    for (std::size_t s : kImageModeSliders) {
        addSlider(s);
    }
    // The two share one place; the input decides which is shown.
    addDropDown(kNoiseReduction, row);
    addDropDown(kVgaEnhancement, row++);
    addDropDown(kScene, row++);
    addDropDown(kColourTemp, row++);
    for (std::size_t s : kGainSliders) {
        addSlider(s);
    }
    addCheck(kBlackExtension);
    checks_[kBlackExtension]->hide(); // created hidden, and nothing shows it
    addCheck(kDviEnhancement);
    addDropDown(kGamma, row++);

    reset_ = new QPushButton(tr("复位"), this);
    reset_->setObjectName(QStringLiteral("reset"));
    connect(reset_, &QPushButton::clicked, this, [this] { resetToFactory(); });
    grid->addWidget(new QLabel(tr("图像参数"), this), row, 0);
    grid->addWidget(reset_, row++, 1, 1, 2, Qt::AlignLeft);
    grid->setRowStretch(row, 1);
}

void PictureQualityPanel::setInputKind(bool notVga) {
    const bool noiseReduction = notVga;
    for (auto [d, shown] : {std::pair{kNoiseReduction, noiseReduction},
                            std::pair{kVgaEnhancement, !noiseReduction}}) {
        dropDownLabels_[d]->setVisible(shown);
        dropDowns_[d]->setVisible(shown);
    }
}

void PictureQualityPanel::pushMembers() {
    for (std::size_t s = 0; s < kSliderCount; ++s) {
        edits_[s]->setText(texts_[s]);
    }
    for (std::size_t c = 0; c < kCheckCount; ++c) {
        checks_[c]->setChecked(checked_[c] != 0);
    }
}

void PictureQualityPanel::pullMembers() {
    for (std::size_t s = 0; s < kSliderCount; ++s) {
        texts_[s] = edits_[s]->text();
    }
    for (std::size_t c = 0; c < kCheckCount; ++c) {
        checked_[c] = checks_[c]->isChecked() ? 1 : 0;
    }
}

void PictureQualityPanel::selectMirrorValue(std::size_t d) {
    QComboBox* box = dropDowns_[d];
    box->setCurrentIndex(box->findData(static_cast<int>(c_.mirror.pq[pqDropDowns()[d].index])));
}

void PictureQualityPanel::loadSlider(std::size_t s) {
    const std::uint8_t v = c_.mirror.pq[pqSliders()[s].index];
    const QSignalBlocker quiet(sliders_[s]);
    sliders_[s]->setValue(v);
    texts_[s] = QString::number(v);
}

void PictureQualityPanel::refreshFromMirror() {
    const QScopedValueRollback loading(loading_, true);
    for (std::size_t d = 0; d < kDropDownCount; ++d) {
        // Refilled every time, so that a language switch takes effect.
        QComboBox* box = dropDowns_[d];
        box->clear();
        for (const PqChoice& choice : pqDropDowns()[d].choices) {
            box->addItem(pqText(choice.text), static_cast<int>(choice.value));
        }
        selectMirrorValue(d);
    }
    for (std::size_t c = 0; c < kCheckCount; ++c) {
        checked_[c] = c_.mirror.pq[pqChecks()[c].index];
    }
    for (std::size_t s = 0; s < kSliderCount; ++s) {
        loadSlider(s);
    }
    applyImageModeRule();
    applyColourTemperatureRule();
    pushMembers();
}

void PictureQualityPanel::applyImageModeRule() {
    const QComboBox* mode = dropDowns_[kImageMode];
    if (mode->currentIndex() < 0) {
        return;
    }
    const bool user = mode->currentData().toInt() == kUserImageMode;
    for (std::size_t s : kImageModeSliders) {
        sliders_[s]->setEnabled(user);
        edits_[s]->setEnabled(user);
    }
}

void PictureQualityPanel::applyColourTemperatureRule() {
    const QComboBox* temperature = dropDowns_[kColourTemp];
    const bool user = temperature->currentIndex() >= 0 &&
                      temperature->currentData().toInt() == kUserColourTemperature;
    for (std::size_t s : kGainSliders) {
        sliders_[s]->setEnabled(user);
        edits_[s]->setEnabled(user);
    }
}

void PictureQualityPanel::send(std::size_t index, std::uint8_t value) {
    if (isColourByte(index)) {
        c_.facade.setColourTemperatureOrGain(index, value);
    } else {
        c_.facade.setPictureQuality(pqItemAt(index), value);
    }
}

void PictureQualityPanel::sendUnseen(std::size_t index, std::uint8_t value) {
    c_.busy.runUnseen([this, index, value] { send(index, value); });
}

void PictureQualityPanel::sliderChanged(std::size_t s, int position) {
    if (loading_) {
        return;
    }
    texts_[s] = QString::number(position);
    pushMembers();
}

void PictureQualityPanel::releaseSlider(std::size_t s) {
    pullMembers();
    const std::size_t index = pqSliders()[s].index;
    const auto value = static_cast<std::uint8_t>(leadingInt(texts_[s]) & 0xFF);
    if (value != c_.mirror.pq[index]) {
        sendUnseen(index, value);
    }
}

void PictureQualityPanel::commitEdit(std::size_t s) {
    // The range message takes the focus away, which would commit the edit a second time.
    if (committing_ || loading_) {
        return;
    }
    const QScopedValueRollback committing(committing_, true);
    // Letters or an empty field are refused like a value out of range: sent as 0 they would
    // black out the wall.
    const auto entered = wholeNumber(edits_[s]->text());
    const int value = entered.value_or(-1);
    const int maximum = pqSliders()[s].maximum;
    if (!entered || value < 0 || value > maximum) {
        c_.presenter.inform(this, outOfRangeText(0, maximum));
        pushMembers();
        return;
    }
    {
        const QSignalBlocker quiet(sliders_[s]);
        sliders_[s]->setValue(value);
    }
    releaseSlider(s);
}

void PictureQualityPanel::dropDownChosen(std::size_t d) {
    const QComboBox* box = dropDowns_[d];
    if (box->currentIndex() < 0) {
        return;
    }
    const auto value = static_cast<std::uint8_t>(box->currentData().toInt());
    const std::size_t index = pqDropDowns()[d].index;
    if (value == c_.mirror.pq[index]) {
        return;
    }
    switch (d) {
    case kImageMode:
        applyImageModeRule();
        sendUnseen(index, value);
        readBack(ReadBackKind::PictureQuality, tr("更新画质调整参数"));
        return;
    case kColourTemp:
        applyColourTemperatureRule();
        // The processor sets the gains of the new temperature itself; they are read back.
        // With the link closed nothing is read back, so the previous gains stay.
        if (c_.link.isOpen() != 0) {
            for (std::size_t s : kGainSliders) {
                c_.mirror.pq[pqSliders()[s].index] = kUnknownGain;
            }
        }
        sendUnseen(index, value);
        readBack(ReadBackKind::Gains, tr("更新参数"));
        return;
    default:
        sendUnseen(index, value);
        return;
    }
}

void PictureQualityPanel::checkClicked(std::size_t c) {
    pullMembers();
    const std::size_t index = pqChecks()[c].index;
    const auto value = static_cast<std::uint8_t>(checked_[c]);
    if (value == c_.mirror.pq[index]) {
        return;
    }
    sendUnseen(index, value);
    if (c == kDviEnhancement) {
        readBack(ReadBackKind::PictureQuality, tr("更新画质调整参数"));
    }
}

void PictureQualityPanel::readBack(ReadBackKind kind, const QString& caption) {
    const OperationContext ctx{c_.link, c_.mirror, c_.facade, c_.messages};
    ReadBack read(ctx, kind);
    if (c_.busy.run(this, caption, read) != BusyResult::Succeeded) {
        return; // the read has said why; the panel keeps what the operator chose
    }
    const SendSwitchOff quiet(c_.link);
    refreshFromMirror();
}

void PictureQualityPanel::resetToFactory() {
    pullMembers();
    checked_[kDviEnhancement] = 0;
    for (const PqFactoryValue& f : pqFactoryValues()) {
        c_.mirror.pq[f.index] = f.value;
    }
    {
        const QScopedValueRollback loading(loading_, true);
        for (std::size_t s = 0; s < kSliderCount; ++s) {
            loadSlider(s);
        }
        for (std::size_t d : {kImageMode, kNoiseReduction, kScene, kColourTemp, kGamma}) {
            selectMirrorValue(d);
        }
        pushMembers();
    }
    applyImageModeRule();
    applyColourTemperatureRule();
    c_.busy.runUnseen([this] {
        for (std::size_t index : pqResetSendOrder()) {
            send(index, c_.mirror.pq[index]);
        }
    });
}

} // namespace korvane::ui
