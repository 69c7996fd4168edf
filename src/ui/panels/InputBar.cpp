#include "ui/panels/InputBar.h"

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "ui/device/BackgroundTask.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/frame/StatusNotice.h"
#include "ui/panels/IAutoUpdateQuery.h"
#include "ui/panels/InputGlyphs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace korvane::ui {

namespace {
constexpr int kLeftStack = 0;
constexpr int kRightStack = 1;

// The selected input's button is disabled; it keeps a lit look rather than a greyed one.
const char* const kInputButtonStyle =
    "QToolButton { border: 1px solid transparent; border-radius: 5px; padding: 1px 3px; }"
    "QToolButton:hover { border-color: #9bb7e0; background: #eef3fb; }"
    "QToolButton:disabled { border-color: #2f6fd0; background: #dbe7fa; color: #123a73;"
    " font-weight: bold; }";

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

std::chrono::milliseconds ms(int v) {
    return std::chrono::milliseconds(v);
}
} // namespace

InputBar::InputBar(const PanelContext& context, QWidget* parent) : QWidget(parent), c_(context) {
    setObjectName(QStringLiteral("inputBar"));
    buildControls();
    for (auto [timer, on] :
         {std::pair{&freezeOnTimer_, true}, std::pair{&freezeOffTimer_, false}}) {
        timer->setSingleShot(true);
        timer->setInterval(kFreezeDelayMs);
        connect(timer, &QTimer::timeout, this, [this, on = on] { freezeFired(on); });
    }
}

void InputBar::buildControls() {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 3, 8, 3);
    row->setSpacing(4);
    row->addWidget(new QLabel(tr("输入选择"), this));

    const auto table = inputButtonTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const InputButtonRow& r = table[i];
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("input%1").arg(QLatin1String(r.name)));
        b->setText(QLatin1String(r.name));
        b->setIcon(inputButtonIcon(r.glyph));
        b->setIconSize(kInputGlyphSize);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setStyleSheet(QLatin1String(kInputButtonStyle));
        b->setFocusPolicy(Qt::TabFocus);
        b->setVisible(r.shown);
        connect(b, &QToolButton::clicked, this, [this, i] { inputPressed(i); });
        buttons_[i] = b;
        row->addWidget(b);
    }

    seamless_ = new QCheckBox(tr("无缝切换"), this);
    seamless_->setObjectName(QStringLiteral("seamless"));
    // Kept out of sight: the refresh leaves it disabled, and only the frame (SeamlessCheck) offers
    // it; the dual-picture pane is where seamless switching shows.
    seamless_->hide();
    connect(seamless_, &QCheckBox::clicked, this, [this] { seamlessClicked(); });
    row->addWidget(seamless_);

    row->addSpacing(6);
    row->addWidget(separator(this));
    row->addSpacing(6);
    row->addWidget(new QLabel(tr("图像静止:"), this));
    freezeOn_ = new QPushButton(tr("开"), this);
    freezeOff_ = new QPushButton(tr("关"), this);
    for (auto [button, timer, pending] :
         {std::tuple{freezeOn_, &freezeOnTimer_, &freezeOnPending_},
          std::tuple{freezeOff_, &freezeOffTimer_, &freezeOffPending_}}) {
        // Checked shows the state last sent, not the press.
        button->setCheckable(true);
        connect(button, &QPushButton::clicked, this, [this, timer = timer, pending = pending] {
            showFreezeSent();
            *pending = true;
            timer->start(); // a second press within the delay restarts it: one command
        });
        // Narrow enough for a short caption when the bar is short of room.
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) +
                                kCompactButtonPadding);
        row->addWidget(button);
    }

    row->addSpacing(6);
    row->addWidget(separator(this));
    row->addSpacing(6);
    areaCaption_ = new QLabel(tr("部分或全屏"), this);
    areaCaption_->setObjectName(QStringLiteral("freezeAreaCaption"));
    row->addWidget(areaCaption_);
    partial_ = new QRadioButton(tr("部分"), this);
    fullScreen_ = new QRadioButton(tr("全屏"), this);
    // The caption gives way first in a narrow bar; the radios keep it as their tool tip.
    partial_->setToolTip(areaCaption_->text());
    fullScreen_->setToolTip(areaCaption_->text());
    auto* area = new QButtonGroup(this);
    area->addButton(partial_);
    area->addButton(fullScreen_);
    connect(partial_, &QRadioButton::clicked, this, [this] { freezeAreaClicked(0); });
    connect(fullScreen_, &QRadioButton::clicked, this, [this] { freezeAreaClicked(1); });
    row->addWidget(partial_);
    row->addWidget(fullScreen_);
    row->addStretch(1);
}

void InputBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int caption = areaCaption_->sizeHint().width() + layout()->spacing();
    const int needed = layout()->minimumSize().width() + (areaCaption_->isVisible() ? 0 : caption);
    areaCaption_->setVisible(width() >= needed);
}

bool InputBar::autoUpdate() const {
    return autoUpdate_ != nullptr && autoUpdate_->autoUpdate();
}

void InputBar::pauseUnseen(int pauseMs) {
    if (!c_.link.transmits()) {
        return;
    }
    c_.busy.runUnseen([this, pauseMs] { c_.link.pause(ms(pauseMs)); });
}

std::optional<std::vector<std::uint8_t>> InputBar::readUnseen(std::uint8_t type, int pauseMs,
                                                              bool purge) {
    std::optional<std::vector<std::uint8_t>> payload;
    c_.busy.runUnseen([&] {
        if (pauseMs > 0 && c_.link.transmits()) {
            c_.link.pause(ms(pauseMs));
        }
        if (purge) {
            c_.link.purgeInput();
        }
        if (c_.link.read(type) != 0) {
            const auto p = replyPayload(c_.link.replyBuffer(type));
            payload.emplace(p.begin(), p.end());
        }
    });
    return payload;
}

void InputBar::selectPicture1Input(std::uint8_t code, bool quiet) {
    selectInput(code, quiet);
}

bool InputBar::selectInput(std::uint8_t code, bool quiet) {
    current_ = code;
    for (QToolButton* b : buttons_) {
        b->setEnabled(true);
    }
    const auto marked = buttonMarkedBy(code);
    if (!marked) {
        return false;
    }
    buttons_[*marked]->setEnabled(false);
    if (frame_ != nullptr) {
        frame_->postRefreshOutputAndDual(Picture::One, code);
        frame_->postLabelPicture(Picture::One, code);
        frame_->postPictureQualityInput(Picture::One, code);
    }
    if (quiet) {
        return false;
    }
    bool sent = false;
    c_.busy.runUnseen([this, code, &sent] {
        c_.facade.selectInput(Picture::One, code);
        sent = c_.link.lastFrameSent();
    });
    if (!autoUpdate()) {
        return sent;
    }
    // Picture 2 may have been moved or switched off by the processor along with the input; the
    // wait gives it time to act on the switch, so it is owed only when the switch went out.
    const auto picture2 = readUnseen(readtype::kPicture2, sent ? kAutoUpdateWaitMs : 0, true);
    if (picture2) {
        unpackPicture2(c_.mirror, *picture2);
        SendSwitchOff quietPanels(c_.link);
        emit picture2ReadBack();
    }
    return sent;
}

void InputBar::inputPressed(std::size_t row) {
    const InputButtonRow& b = inputButtonTable()[row];
    if (b.extended && c_.mirror.deviceInfo[0] != inputbar::kExtendedModel) {
        return;
    }
    const bool sent = selectInput(b.code, false);
    if (!autoUpdate()) {
        return;
    }
    channelSwitchFollowUp(sent);
    emit picture1InputChanged();
}

void InputBar::channelSwitchFollowUp(bool switchSent) {
    // The processor needs the wait to switch; a switch that never went out needs none.
    if (switchSent && c_.busy.run(this, tr("通道切换中..."),
                                  waitTask(c_.link, kChannelSwitchWait)) != BusyResult::Succeeded) {
        return;
    }
    reannounceBothStacks();
    if (const auto main = readUnseen(readtype::kMain, kReadPauseMs, false)) {
        ParameterMirror fresh = c_.mirror;
        unpackMain(fresh, *main);
        c_.mirror.freezeArea = fresh.freezeArea;
        showFreezeArea(fresh.freezeArea);
    }
    if (const auto output = readUnseen(readtype::kPicture1Output, kReadPauseMs, false)) {
        ParameterMirror fresh = c_.mirror;
        unpackPicture1Output(fresh, *output);
        c_.mirror.pq[pq::kPicture1Source] = fresh.pq[pq::kPicture1Source];
        selectPicture1Input(fresh.pq[pq::kPicture1Source], true);
    }
}

void InputBar::reannounceBothStacks() {
    if (frame_ != nullptr) {
        frame_->reannounceOpenPane(kLeftStack);
    }
    pauseUnseen(kStackPauseMs);
    if (frame_ != nullptr) {
        frame_->reannounceOpenPane(kRightStack);
    }
}

void InputBar::seamlessClicked() {
    const bool ticked = seamless_->isChecked();
    bool sent = false;
    c_.busy.runUnseen([this, ticked, &sent] {
        c_.facade.setSeamlessSwitch(ticked ? 1 : 0);
        sent = c_.link.lastFrameSent();
    });
    emit picture2SwitchAllowed(!ticked);
    if (!ticked) {
        return;
    }
    emit picture2ForcedOff();
    if (sent) {
        pauseUnseen(kSeamlessSettleMs);
    }
    reannounceBothStacks();
}

void InputBar::applySeamlessValue(bool available) {
    seamless_->setEnabled(available);
    if (!available) {
        seamless_->setChecked(false);
    }
    emit picture2SwitchAllowed(!seamless_->isChecked());
    if (seamless_->isChecked()) {
        emit picture2ForcedOff();
    }
}

void InputBar::setSeamlessCheck(bool available) {
    applySeamlessValue(available);
}

void InputBar::refreshInputs(bool quiet) {
    applySeamlessValue(c_.mirror.seamless != 0);
    selectPicture1Input(c_.mirror.pq[pq::kPicture1Source], quiet);
    seamless_->setEnabled(false);
    seamless_->setChecked(c_.mirror.seamless != 0);
    showFreezeArea(c_.mirror.freezeArea);
}

void InputBar::hideExtendedInput() {
    const auto table = inputButtonTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].extended) {
            buttons_[i]->hide();
        }
    }
}

void InputBar::freezeFired(bool on) {
    bool& pending = on ? freezeOnPending_ : freezeOffPending_;
    if (!pending) {
        return;
    }
    pending = false;
    int sent = 0;
    c_.busy.runUnseen([this, on, &sent] { sent = c_.facade.setFreeze(on ? 1 : 0); });
    if (sent == 0) {
        return;
    }
    freezeSent_ = on;
    showFreezeSent();
    announceDone(this, on ? tr("已发送图像静止：开") : tr("已发送图像静止：关"));
}

void InputBar::showFreezeSent() {
    freezeOn_->setChecked(freezeSent_ && *freezeSent_);
    freezeOff_->setChecked(freezeSent_ && !*freezeSent_);
}

void InputBar::freezeAreaClicked(std::uint8_t fullScreen) {
    c_.busy.runUnseen([this, fullScreen] { c_.facade.setFreezeArea(fullScreen); });
    if (frame_ != nullptr) {
        frame_->postPicture1WholeArea(fullScreen == 0);
    }
}

void InputBar::showFreezeArea(std::uint8_t area) {
    partial_->setChecked(area == 0);
    fullScreen_->setChecked(area != 0);
    if (frame_ != nullptr) {
        frame_->postPicture1WholeArea(area == 0);
    }
}

} // namespace korvane::ui
