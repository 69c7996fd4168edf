#include "ui/panels/CapturePanel.h"

#include "core/commands/CommandFacade.h"
#include "core/commands/InputAdjust.h"
#include "core/commands/ReadBack.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ReadTypes.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/i18n/UiText.h"
#include "ui/panels/PanelNumbers.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <chrono>
#include <vector>

namespace korvane::ui {

namespace {
using capture::at;
using capture::Field;
using capture::InputSize;
using capture::Window;

constexpr int kNumberLength = 5;
// The processor takes a moment to apply a switched-on capture before it reports the window.
constexpr std::chrono::milliseconds kReadAfterSwitch{50};
constexpr Picture kPictures[] = {Picture::One, Picture::Two};

std::uint8_t inputReadType(Picture p) {
    return p == Picture::One ? readtype::kPicture1Input : readtype::kPicture2Input;
}

std::array<std::int32_t*, capture::kFieldCount> windowFields(ParameterMirror& m, Picture p) {
    if (p == Picture::One) {
        return {&m.p1InX, &m.p1InY, &m.p1InWidth, &m.p1InHeight};
    }
    return {&m.p2InX, &m.p2InY, &m.p2InWidth, &m.p2InHeight};
}
} // namespace

CapturePanel::CapturePanel(const PanelContext& context, QWidget* parent)
    : QWidget(parent), c_(context) {
    setObjectName(QStringLiteral("capturePanel"));
    auto* layout = new QVBoxLayout(this);
    // Narrow margins: the side column starts at 200 pixels.
    layout->setContentsMargins(4, 8, 4, 8);
    layout->addWidget(buildGroup(Picture::One, tr("画面1")));
    layout->addWidget(buildGroup(Picture::Two, tr("画面2")));
    layout->addStretch(1);
    for (Picture p : kPictures) {
        applyEnableRule(p);
    }
}

CapturePanel::~CapturePanel() {
    // An edit that has the focus loses it while the children go; that is no operator's check.
    for (const Group& g : groups_) {
        for (QLineEdit* e : g.edits) {
            e->disconnect(this);
        }
    }
}

QGroupBox* CapturePanel::buildGroup(Picture p, const QString& title) {
    Group& g = group(p);
    g.box = new QGroupBox(title, this);
    auto* grid = new QGridLayout(g.box);
    grid->setColumnStretch(1, 1);

    g.on = new QRadioButton(tr("开"), g.box);
    g.off = new QRadioButton(tr("关"), g.box);
    g.off->setChecked(true);
    auto* switches = new QHBoxLayout;
    switches->addWidget(g.on);
    switches->addWidget(g.off);
    switches->addStretch(1);
    grid->addWidget(new QLabel(tr("图像截取"), g.box), 0, 0);
    grid->addLayout(switches, 0, 1);
    connect(g.on, &QRadioButton::clicked, this, [this, p] { switchClicked(p, true); });
    connect(g.off, &QRadioButton::clicked, this, [this, p] { switchClicked(p, false); });

    auto* numbers = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kNumberLength)), g.box);
    const QString captions[] = {tr("水平起始"), tr("垂直起始"), tr("图像宽度"), tr("图像高度")};
    for (std::size_t i = 0; i < capture::kFieldCount; ++i) {
        auto* e = new QLineEdit(g.box);
        e->setValidator(numbers);
        e->setMaxLength(kNumberLength);
        const int row = static_cast<int>(i) + 1;
        grid->addWidget(new QLabel(captions[i], g.box), row, 0);
        grid->addWidget(e, row, 1);
        const auto f = static_cast<Field>(i);
        connect(e, &QLineEdit::editingFinished, this, [this, p, f] { checkEdit(p, f); });
        // Enter commits like leaving the edit does.
        connect(e, &QLineEdit::returnPressed, this, [this] { group(Picture::One).on->setFocus(); });
        g.edits[i] = e;
    }
    g.signal = new QLineEdit(g.box);
    g.signal->setReadOnly(true);
    // Shown, not typed into: it looks like the window behind it and takes no focus.
    g.signal->setFocusPolicy(Qt::NoFocus);
    QPalette shown = g.signal->palette();
    shown.setColor(QPalette::Base, shown.color(QPalette::Window));
    g.signal->setPalette(shown);
    grid->addWidget(new QLabel(tr("输入信号"), g.box), 5, 0);
    grid->addWidget(g.signal, 5, 1);

    g.send = new QPushButton(tr("发送"), g.box);
    g.reset = new QPushButton(tr("参数复位"), g.box);
    for (QPushButton* b : {g.send, g.reset}) {
        b->setAutoDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(g.send);
    buttons->addWidget(g.reset);
    grid->addLayout(buttons, 6, 0, 1, 2);
    connect(g.send, &QPushButton::clicked, this, [this, p] { sendWindow(p); });
    connect(g.reset, &QPushButton::clicked, this, [this, p] { resetWindow(p); });
    return g.box;
}

Window CapturePanel::mirrorWindow(Picture p) const {
    const auto fields = windowFields(c_.mirror, p);
    return {*fields[0], *fields[1], *fields[2], *fields[3]};
}

Window CapturePanel::shownWindow(Picture p) const {
    Window w{};
    for (std::size_t i = 0; i < capture::kFieldCount; ++i) {
        w[i] = leadingInt(group(p).edits[i]->text());
    }
    return w;
}

void CapturePanel::showWindow(Picture p, const Window& w) {
    for (std::size_t i = 0; i < capture::kFieldCount; ++i) {
        group(p).edits[i]->setText(QString::number(w[i]));
    }
}

void CapturePanel::showMirrorWindow(Picture p) {
    showWindow(p, mirrorWindow(p));
}

InputSize CapturePanel::lastInputSize(Picture p) const {
    const auto limits = inputWindowLimits(replyPayload(c_.link.replyBuffer(inputReadType(p))));
    return {limits.horizontal, limits.vertical};
}

void CapturePanel::showInputSignal(Picture p) {
    group(p).signal->setText(capture::inputSizeText(lastInputSize(p)));
}

std::uint8_t CapturePanel::switchState(Picture p) const {
    return group(p).on->isChecked() ? 1 : 0;
}

void CapturePanel::refreshFromMirror() {
    const std::uint8_t states[] = {c_.mirror.captureMode, c_.mirror.pipOn};
    for (Picture p : kPictures) {
        showMirrorWindow(p);
        showInputSignal(p);
        const bool on = states[index(p)] != 0;
        (on ? group(p).on : group(p).off)->setChecked(true);
        applyEnableRule(p);
    }
    if (c_.link.sendSwitch() != 0) {
        sendCaptureMode(switchState(Picture::One), switchState(Picture::Two));
    }
}

void CapturePanel::applyEnableRule(Picture p) {
    Group& g = group(p);
    const bool on = g.on->isChecked();
    for (QLineEdit* e : g.edits) {
        e->setEnabled(on);
    }
    g.send->setEnabled(on);
    g.reset->setEnabled(on);
}

void CapturePanel::sendCaptureMode(std::uint8_t picture1, std::uint8_t picture2) {
    c_.busy.runUnseen([this, picture1, picture2] { c_.facade.setCaptureMode(picture1, picture2); });
}

void CapturePanel::switchClicked(Picture p, bool on) {
    applyEnableRule(p);
    const std::uint8_t state = on ? 1 : 0;
    // Picture 2's switch has no mirror field; picture 1's is the one the mirror keeps.
    const std::uint8_t picture1 = p == Picture::One ? state : c_.mirror.captureMode;
    const std::uint8_t picture2 = p == Picture::One ? switchState(Picture::Two) : state;
    const std::uint8_t type = inputReadType(p);
    std::vector<std::uint8_t> reply;
    c_.busy.runUnseen([&] {
        c_.facade.setCaptureMode(picture1, picture2);
        if (!on) {
            return;
        }
        if (c_.link.transmits()) {
            c_.link.pause(kReadAfterSwitch);
        }
        if (c_.link.read(type) != 0) {
            const auto payload = replyPayload(c_.link.replyBuffer(type));
            reply.assign(payload.begin(), payload.end());
        }
    });
    if (reply.empty()) {
        return; // switched off, or the read failed: nothing more, and nothing said
    }
    // Only the window: the rest of the reply is not this switch's business.
    ParameterMirror fresh = c_.mirror;
    const bool unpacked =
        p == Picture::One ? unpackPicture1Input(fresh, reply) : unpackPicture2Input(fresh, reply);
    if (!unpacked) {
        return;
    }
    const auto from = windowFields(fresh, p);
    const auto to = windowFields(c_.mirror, p);
    for (std::size_t i = 0; i < capture::kFieldCount; ++i) {
        *to[i] = *from[i];
    }
    const SendSwitchOff quiet(c_.link);
    showMirrorWindow(p);
    showInputSignal(p);
    if (p == Picture::Two) {
        emit picture2WindowReadBack();
    }
}

void CapturePanel::checkEdit(Picture p, Field f) {
    const QString text = edit(p, f).text();
    if (!text.isEmpty() && leadingInt(text) == mirrorWindow(p)[at(f)]) {
        return;
    }
    const std::optional<int> typed =
        text.isEmpty() ? std::nullopt : std::optional<int>(leadingInt(text));
    const Window before = shownWindow(p);
    // Picture 2's sums are put right when it is sent.
    const Window after = capture::checkedEdit(
        before, f, typed, capture::inputSizeFromText(inputSignal(p).text()), p == Picture::One);
    for (std::size_t i = 0; i < capture::kFieldCount; ++i) {
        if (i == at(f) || after[i] != before[i]) {
            group(p).edits[i]->setText(QString::number(after[i]));
        }
    }
}

void CapturePanel::sendWindow(Picture p) {
    const QString failed = tr("画面1输入调整执行失败!");
    const InputSize input = capture::inputSizeFromText(inputSignal(p).text());
    // Without an input signal every window would shrink to nothing.
    if (!input.usable()) {
        c_.presenter.inform(this, failed);
        return;
    }
    const Window w = capture::windowToSend(shownWindow(p), input);
    const Rect r{w[at(Field::HStart)], w[at(Field::VStart)],
                 w[at(Field::HStart)] + w[at(Field::Width)],
                 w[at(Field::VStart)] + w[at(Field::Height)]};
    const OperationContext ctx{c_.link, c_.mirror, c_.facade, c_.messages};
    InputAdjust adjust(ctx, p, r, input.width, input.height, false);
    const QString caption = p == Picture::One ? tr("画面1输入调整") : tr("画面2输入调整");
    if (c_.busy.run(this, caption, adjust) != BusyResult::Succeeded) {
        c_.presenter.inform(this, failed);
        return;
    }
    // The edits show what the processor now has, not what was typed.
    showWindow(p, w);
}

void CapturePanel::resetWindow(Picture p) {
    if (!c_.presenter.confirm(this, tr("确定要复位参数吗?"))) {
        return;
    }
    const QString failed = tr("执行失败!");
    const InputSize input = lastInputSize(p);
    if (!input.usable()) {
        c_.presenter.inform(this, failed);
        return;
    }
    const OperationContext ctx{c_.link, c_.mirror, c_.facade, c_.messages};
    InputAdjust adjust(ctx, p, Rect{0, 0, input.width, input.height}, input.width, input.height,
                       true);
    if (c_.busy.run(this, tr("复位参数"), adjust) != BusyResult::Succeeded) {
        c_.presenter.inform(this, failed);
        return;
    }
    ReadBack read(ctx,
                  p == Picture::One ? ReadBackKind::Picture1Input : ReadBackKind::Picture2Input);
    if (c_.busy.run(this, uiText(TemplateText::SynchroniseCaption), read) ==
        BusyResult::Succeeded) {
        showMirrorWindow(p);
    } else {
        c_.presenter.inform(this, failed);
    }
    showInputSignal(p);
}

} // namespace korvane::ui
