#include "ui/panels/DualPicturePanel.h"

#include "core/commands/CommandFacade.h"
#include "core/commands/ReadBack.h"
#include "core/link/DeviceLink.h"
#include "core/link/InputCodes.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/panels/DualPictureTable.h"
#include "ui/panels/IAutoUpdateQuery.h"
#include "ui/panels/ILayoutControl.h"
#include "ui/panels/PanelNumbers.h"
#include "ui/widgets/SliderCommit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <chrono>

namespace korvane::ui {

namespace {
using namespace dualpanel;
using namespace dualform;

QString dualText(const char* source) {
    return QCoreApplication::translate(kDualPictureContext, source);
}

QString inputLabel(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}
} // namespace

DualPicturePanel::DualPicturePanel(const PanelContext& context, QWidget* parent)
    : QWidget(parent), c_(context) {
    setObjectName(QStringLiteral("dualPicturePanel"));
    buildControls();
    pullMembers();
}

DualPicturePanel::~DualPicturePanel() {
    // An edit that has the focus loses it while the child widgets go; that is no commit.
    for (QLineEdit* e : f_.window) {
        e->disconnect(this);
    }
    for (QLineEdit* e : f_.thresholdEdits) {
        e->disconnect(this);
    }
}

void DualPicturePanel::buildControls() {
    f_.build(this);
    f_.source->setObjectName(QStringLiteral("picture2Source"));
    for (std::size_t p = 0; p < kPairCount; ++p) {
        for (QRadioButton* r : f_.radios[p]) {
            connect(r, &QRadioButton::clicked, this,
                    [this, p] { pairClicked(static_cast<Pair>(p)); });
        }
    }
    connect(f_.source, &QComboBox::activated, this, &DualPicturePanel::sourceChosen);
    connect(f_.transparency, &QComboBox::activated, this, &DualPicturePanel::transparencyChosen);
    connect(f_.autoSwitch, &QComboBox::activated, this, &DualPicturePanel::autoSwitchChosen);
    for (std::size_t i = 0; i < f_.window.size(); ++i) {
        const auto field = static_cast<Picture2Field>(i);
        connect(f_.window[i], &QLineEdit::editingFinished, this,
                [this, field] { applyWindow(field); });
    }
    for (std::size_t t = 0; t < kThresholdCount; ++t) {
        const auto which = static_cast<Threshold>(t);
        connectSliderCommit(
            f_.sliders[t], this, [this, which](int v) { sliderMoved(which, v); },
            [this, which] { sliderReleased(which); });
        connect(f_.thresholdEdits[t], &QLineEdit::editingFinished, this,
                [this, which] { thresholdEntered(which); });
    }
    connect(f_.switchButton, &QPushButton::clicked, this, [this] { switchPictures(); });
}

void DualPicturePanel::pushMembers() {
    for (std::size_t p = 0; p < kPairCount; ++p) {
        setPairIndex(static_cast<Pair>(p), picked_[p]);
    }
    for (std::size_t i = 0; i < f_.window.size(); ++i) {
        f_.window[i]->setText(windowTexts_[i]);
    }
    for (std::size_t t = 0; t < kThresholdCount; ++t) {
        f_.thresholdEdits[t]->setText(thresholdTexts_[t]);
    }
}

void DualPicturePanel::pullMembers() {
    for (std::size_t p = 0; p < kPairCount; ++p) {
        picked_[p] = pairIndex(static_cast<Pair>(p));
    }
    for (std::size_t i = 0; i < f_.window.size(); ++i) {
        windowTexts_[i] = f_.window[i]->text();
    }
    for (std::size_t t = 0; t < kThresholdCount; ++t) {
        thresholdTexts_[t] = f_.thresholdEdits[t]->text();
    }
}

void DualPicturePanel::setPairIndex(Pair p, int index) {
    // An exclusive group cannot show "no choice"; an effect code without a radio needs that.
    auto* group = f_.radios[p][0]->group();
    group->setExclusive(false);
    f_.radios[p][0]->setChecked(index == 0);
    f_.radios[p][1]->setChecked(index == 1);
    group->setExclusive(true);
}

int DualPicturePanel::pairIndex(Pair p) const {
    return f_.radios[p][0]->isChecked() ? 0 : f_.radios[p][1]->isChecked() ? 1 : -1;
}

void DualPicturePanel::send(const std::function<void()>& command) {
    c_.busy.runUnseen(command);
}

bool DualPicturePanel::autoUpdate() const {
    return autoUpdate_ != nullptr && autoUpdate_->autoUpdate();
}

void DualPicturePanel::notifyLayoutFlags() {
    const bool picture1OnTop = c_.mirror.switchState[sw::kTopLayer] == 0;
    if (frame_ != nullptr) {
        frame_->postPicture1OnTop(picture1OnTop);
    }
}

bool DualPicturePanel::readBack(ReadBackKind kind, const QString& caption) {
    const OperationContext ctx{c_.link, c_.mirror, c_.facade, c_.messages};
    ReadBack read(ctx, kind);
    return c_.busy.run(this, caption, read) == BusyResult::Succeeded;
}

// --- picture 2 on/off ----------------------------------------------------------------------

void DualPicturePanel::pairClicked(Pair p) {
    const int before = picked_[p];
    pullMembers();
    switch (p) {
    case Picture2:
        applySwitchState(true);
        return;
    case OverlayState:
    case Mode:
    case AboveBelow:
    case AndOr:
        if (picked_[p] != before) {
            runOverlay(p == OverlayState);
        }
        return;
    case Effect:
        effectClicked();
        return;
    case TopLayer:
        if (picked_[p] != before && picked_[p] >= 0) {
            const auto top = static_cast<std::uint8_t>(picked_[p]);
            send([this, top] { c_.facade.setTopLayer(top); });
            notifyLayoutFlags(); // the drawing shows the new order at once
        }
        return;
    case kPairCount:
        return;
    }
}

void DualPicturePanel::applySwitchState(bool all) {
    const bool on = f_.radios[Picture2][0]->isChecked();
    if (on == f_.source->isEnabled()) {
        return;
    }
    for (QWidget* w : f_.picture2Controls) {
        w->setEnabled(on);
    }
    if (!all) {
        return;
    }
    for (QWidget* w : f_.overlayControls) {
        w->setEnabled(on);
    }
    updateConditionText();
    send([this, on] { c_.facade.setPipOn(on ? 1 : 0); });
    // Only now: the drawing redraws from the mirror, which holds the new switch once the send
    // has run (messages posted before it would be handled inside its wait).
    notifyLayoutFlags();
}

void DualPicturePanel::forcePicture2Off() {
    setPairIndex(Picture2, 1);
    applySwitchState(false);
}

void DualPicturePanel::enablePicture2Switch(bool enable) {
    for (QRadioButton* r : f_.radios[Picture2]) {
        r->setEnabled(enable);
    }
}

void DualPicturePanel::picture1InputChanged() {
    const SendSwitchOff quiet(c_.link);
    refresh(false);
}

// --- source --------------------------------------------------------------------------------

void DualPicturePanel::selectPicture2Input(std::uint8_t code) {
    f_.source->setCurrentIndex(f_.source->findData(uint{code}));
}

bool DualPicturePanel::choosePicture2Input(std::uint8_t code) {
    const int row = f_.source->findData(uint{code});
    if (row < 0) {
        return false;
    }
    f_.source->setCurrentIndex(row);
    sourceChosen(row);
    return true;
}

void DualPicturePanel::sourceChosen(int row) {
    if (row < 0 || querying_) {
        return;
    }
    const auto code = static_cast<std::uint8_t>(f_.source->itemData(row).toUInt());
    if (code == c_.mirror.p2Source) {
        return;
    }
    if (frame_ != nullptr) {
        frame_->postLabelPicture(Picture::Two, code);
    }
    bool sent = false;
    send([this, code, &sent] {
        c_.facade.selectInput(Picture::Two, code);
        sent = c_.link.lastFrameSent();
    });
    if (autoUpdate()) {
        readBackAfterSourceChange();
    } else {
        queryAfterSourceChange(sent);
    }
}

void DualPicturePanel::queryAfterSourceChange(bool switchSent) {
    querying_ = true;
    std::optional<std::vector<std::uint8_t>> state;
    c_.busy.runUnseen([this, &state, switchSent] {
        c_.link.purgeInput();
        if (switchSent && c_.link.transmits()) {
            c_.link.pause(std::chrono::milliseconds(kDirectQueryPauseMs));
        }
        if (c_.link.read(readtype::kSwitchState) != 0) {
            const auto p = replyPayload(c_.link.replyBuffer(readtype::kSwitchState));
            state.emplace(p.begin(), p.end());
        }
    });
    ParameterMirror fresh = c_.mirror;
    if (state && unpackSwitchState(fresh, *state)) {
        c_.mirror.pq[pq::kPicture1Source] = fresh.switchState[sw::kPicture1Input];
        c_.mirror.p2Source = fresh.switchState[sw::kPicture2Input];
        tellPicture1Input(c_.mirror.pq[pq::kPicture1Source]);
        const SendSwitchOff quiet(c_.link);
        refresh(false);
    }
    querying_ = false;
}

void DualPicturePanel::readBackAfterSourceChange() {
    if (readBack(ReadBackKind::SwitchQuery, tr("更新画面切换参数"))) {
        tellPicture1Input(c_.mirror.switchState[sw::kPicture1Input]);
    }
    if (readBack(ReadBackKind::Picture2, tr("同步画面2数据"))) {
        const SendSwitchOff quiet(c_.link);
        refresh(false);
    }
}

void DualPicturePanel::tellPicture1Input(std::uint8_t code) {
    if (frame_ == nullptr) {
        return;
    }
    // The input bar only shows what the processor reported; nothing goes back to it.
    const SendSwitchOff quiet(c_.link);
    frame_->sendPictureInput(Picture::One, code);
}

// --- window --------------------------------------------------------------------------------

std::optional<QSize> DualPicturePanel::outputSize() const {
    if (outputSize_) {
        return outputSize_();
    }
    const auto r = findResolution(c_.mirror.pq[pq::kOutputResolution]);
    if (!r || r->width <= 0 || r->height <= 0) {
        return std::nullopt;
    }
    return QSize(r->width, r->height);
}

void DualPicturePanel::applyWindow(Picture2Field edited) {
    const auto size = outputSize();
    if (!size || size->isEmpty()) {
        return;
    }
    pullMembers();
    const Picture2Window w =
        normalisePicture2Window(windowTexts_, edited, size->width(), size->height());
    windowTexts_ = {QString::number(w.x), QString::number(w.width), QString::number(w.y),
                    QString::number(w.height)};
    for (std::size_t i = 0; i < f_.window.size(); ++i) {
        f_.window[i]->setText(windowTexts_[i]);
    }
    const Rect r{w.x, w.y, w.x + w.width, w.y + w.height};
    send([this, r] { c_.facade.setPicture2OutputWindow(r); });
    if (layout_ != nullptr) {
        layout_->redraw();
    }
}

void DualPicturePanel::loadWindowTexts() {
    const int values[] = {c_.mirror.p2X, c_.mirror.p2Width, c_.mirror.p2Y, c_.mirror.p2Height};
    for (std::size_t i = 0; i < windowTexts_.size(); ++i) {
        windowTexts_[i] = QString::number(values[i]);
    }
}

void DualPicturePanel::windowChanged() {
    loadWindowTexts();
    for (std::size_t i = 0; i < f_.window.size(); ++i) {
        f_.window[i]->setText(windowTexts_[i]);
    }
}

// --- transparency, automatic switching ------------------------------------------------------

void DualPicturePanel::transparencyChosen(int row) {
    if (row < 0) {
        return;
    }
    const int value = f_.transparency->itemData(row).toInt();
    if (value != c_.mirror.transparency) {
        send([this, value] { c_.facade.setTransparency(value); });
    }
}

void DualPicturePanel::autoSwitchChosen(int row) {
    if (row < 0) {
        return;
    }
    const int value = f_.autoSwitch->itemData(row).toInt();
    if (value == c_.mirror.autoSwitch) {
        return;
    }
    send([this, value] { c_.facade.setAutoSwitch(value); });
    if (value != 0) {
        normaliseThresholds();
        storeOverlay();
    }
}

// --- overlay -------------------------------------------------------------------------------

int DualPicturePanel::thresholdValue(Threshold t) const {
    return leadingInt(thresholdTexts_[t]);
}

std::int32_t& DualPicturePanel::mirrorThreshold(Threshold t) {
    switch (t) {
    case Red:
        return c_.mirror.overlayRed;
    case Green:
        return c_.mirror.overlayGreen;
    default:
        return c_.mirror.overlayBlue;
    }
}

void DualPicturePanel::normaliseThresholds() {
    for (Threshold t : {Blue, Green, Red}) {
        const int v = evenEntry(f_.thresholdEdits[t]->text(), {0, kThresholdMaximum});
        f_.thresholdEdits[t]->setText(QString::number(v));
        const QSignalBlocker quiet(f_.sliders[t]);
        f_.sliders[t]->setValue(v);
    }
}

void DualPicturePanel::storeOverlay() {
    pullMembers();
    ParameterMirror& m = c_.mirror;
    m.overlayOn = picked_[OverlayState] == 0 ? 1 : 0;
    m.overlayMode = picked_[Mode] == 1 ? 1 : 0;
    m.overlayAboveBelow = picked_[AboveBelow] == 1 ? 1 : 0;
    m.overlayAndOr = picked_[AndOr] == 1 ? 1 : 0;
    for (Threshold t : {Red, Green, Blue}) {
        mirrorThreshold(t) = thresholdValue(t);
    }
    if (picked_[Effect] >= 0) { // an effect the radios do not offer stays as it is
        m.switchEffectValue = static_cast<std::uint8_t>(picked_[Effect]);
    }
    if (picked_[TopLayer] >= 0) {
        m.switchState[sw::kTopLayer] = static_cast<std::uint8_t>(picked_[TopLayer]);
    }
}

void DualPicturePanel::runOverlay(bool afterStateClick) {
    normaliseThresholds();
    storeOverlay();
    send([this] {
        const ParameterMirror& m = c_.mirror;
        c_.facade.setOverlay(m.overlayOn, m.overlayMode, m.overlayAboveBelow, m.overlayAndOr,
                             m.overlayRed, m.overlayGreen, m.overlayBlue);
    });
    if (!afterStateClick) {
        updateConditionText();
    }
}

void DualPicturePanel::updateConditionText() {
    pullMembers();
    f_.condition->setText(overlayConditionText(picked_[Mode] == 1, picked_[AboveBelow] == 1,
                                               picked_[AndOr] == 1, thresholdValue(Red),
                                               thresholdValue(Green), thresholdValue(Blue)));
}

void DualPicturePanel::sliderMoved(Threshold t, int position) {
    f_.thresholdEdits[t]->setText(QString::number(position));
}

void DualPicturePanel::sliderReleased(Threshold t) {
    pullMembers();
    if (thresholdValue(t) != mirrorThreshold(t)) {
        runOverlay(false);
    }
}

void DualPicturePanel::thresholdEntered(Threshold t) {
    {
        const QSignalBlocker quiet(f_.sliders[t]);
        f_.sliders[t]->setValue(leadingInt(f_.thresholdEdits[t]->text()));
    }
    runOverlay(false);
}

// --- effect, swap --------------------------------------------------------------------------

void DualPicturePanel::effectClicked() {
    const auto effect = static_cast<std::uint8_t>(std::max(picked_[Effect], 0));
    const auto level = static_cast<std::uint8_t>(fadeLevel(f_.fade->currentIndex()));
    send([this, effect, level] {
        c_.facade.setSwitchEffect(switcheffect::kEffectChoice, effect, level);
    });
}

void DualPicturePanel::switchPictures() {
    pullMembers();
    const auto effect = picked_[Effect] >= 0 ? static_cast<std::uint8_t>(picked_[Effect])
                                             : c_.mirror.switchEffectValue;
    const auto level = static_cast<std::uint8_t>(fadeLevel(f_.fade->currentIndex()));
    send([this, effect, level] {
        c_.facade.setSwitchEffect(switcheffect::kPictureSwitch, effect, level);
    });
    if (!readBack(ReadBackKind::SwitchQueryLongWait, tr("更新画面切换参数"))) {
        return; // reported by the query; the radios keep what they show
    }
    notifyLayoutFlags();
    picked_[TopLayer] = c_.mirror.switchState[sw::kTopLayer] != 0 ? 1 : 0;
    pushMembers();
}

// --- refresh -------------------------------------------------------------------------------

void DualPicturePanel::refresh(bool full) {
    const ParameterMirror& m = c_.mirror;
    setPairIndex(Picture2, m.pipOn != 0 ? 0 : 1);
    enablePicture2Switch(m.seamless == 0);

    f_.source->clear();
    for (const InputCodeRow& row : inputCodeTable()) {
        f_.source->addItem(inputLabel(row.name), uint{row.code});
    }
    selectPicture2Input(m.p2Source);
    if (frame_ != nullptr) {
        frame_->postLabelPicture(Picture::Two, m.p2Source);
    }

    f_.transparency->clear();
    for (int level = 0; level < kTransparencyLevels; ++level) {
        f_.transparency->addItem(QString::number(level), level);
    }
    f_.transparency->setCurrentIndex(f_.transparency->findData(m.transparency));
    pullMembers();
    loadWindowTexts();
    picked_[Picture2] = m.pipOn != 0 ? 0 : 1;
    picked_[OverlayState] = m.overlayOn != 0 ? 0 : 1;
    picked_[Mode] = m.overlayMode != 0 ? 1 : 0;
    picked_[AboveBelow] = m.overlayAboveBelow != 0 ? 1 : 0;
    picked_[AndOr] = m.overlayAndOr != 0 ? 1 : 0;
    picked_[Effect] = m.switchEffectValue <= 1 ? m.switchEffectValue : -1;
    picked_[TopLayer] = m.switchState[sw::kTopLayer] != 0 ? 1 : 0;
    for (Threshold t : {Red, Green, Blue}) {
        thresholdTexts_[t] = QString::number(mirrorThreshold(t));
    }
    for (std::size_t t = 0; t < kThresholdCount; ++t) {
        const QSignalBlocker quiet(f_.sliders[t]);
        f_.sliders[t]->setRange(0, kThresholdMaximum);
        f_.sliders[t]->setTickInterval(kThresholdTick);
        f_.sliders[t]->setValue(mirrorThreshold(static_cast<Threshold>(t)));
    }
    // The members reach the controls before the overlay rules read the controls.
    pushMembers();

    f_.autoSwitch->clear();
    for (const DualChoice& choice : autoSwitchChoices()) {
        f_.autoSwitch->addItem(dualText(choice.text), choice.value);
    }
    f_.autoSwitch->setCurrentIndex(f_.autoSwitch->findData(m.autoSwitch));
    if (m.autoSwitch != 0) {
        normaliseThresholds();
        storeOverlay();
    }

    if (full) {
        f_.group->setTitle(tr("图文叠加"));
        for (QWidget* w : f_.overlayControls) {
            w->setEnabled(m.pipOn != 0);
        }
        updateConditionText();
        notifyLayoutFlags();
    } else {
        runOverlay(false);
    }
    notifyLayoutFlags();
    // The pause lets the processor take the overlay before the switch state; with nothing going
    // out (a refresh with sending off) there is nothing to wait for.
    if (c_.link.transmits()) {
        send([this] { c_.link.pause(std::chrono::milliseconds(kRefreshPauseMs)); });
    }
    applySwitchState(!full);
}

} // namespace korvane::ui
