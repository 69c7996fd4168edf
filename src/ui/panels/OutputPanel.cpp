#include "ui/panels/OutputPanel.h"

#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "core/store/Settings.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/frame/IOutputResolutionCallback.h"
#include "ui/panels/ILayoutControl.h"
#include "ui/panels/PanelContext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace korvane::ui {

namespace {
constexpr int kNumberLength = 5;

QString tableName(const Resolution& r) {
    const QByteArray name(r.name.data(), static_cast<qsizetype>(r.name.size()));
    // The custom entry's name is a text of this panel (its group box carries it too).
    return r.code == kCustomResolution
               ? QCoreApplication::translate("korvane::ui::OutputPanel", name.constData())
               : QString::fromUtf8(name);
}
} // namespace

OutputPanel::OutputPanel(const PanelContext& context, QWidget* parent)
    : QWidget(parent), mirror_(context.mirror), facade_(context.facade), busy_(context.busy),
      presenter_(context.presenter), ownCurrent_(kDefaultResolution), settings_(context.settings),
      outputSize_(context.settings) {
    setObjectName(QStringLiteral("outputPanel"));
    buildControls();
    if (const auto last = settings_.readCustomResolution()) {
        const int values[] = {last->width, last->height, last->refresh};
        for (std::size_t i = 0; i < custom_.size(); ++i) {
            custom_[i]->setText(
                QString::number(evenEntry(QString::number(values[i]), kCustomRanges[i])));
        }
    }
}

OutputPanel::~OutputPanel() {
    // An edit that has the focus loses it while the child widgets go, and its commit must not
    // reach this panel, which is gone by then.
    for (QLineEdit* e : window_) {
        e->disconnect(this);
    }
    for (QLineEdit* e : custom_) {
        e->disconnect(this);
    }
}

void OutputPanel::buildControls() {
    auto* numbers = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kNumberLength)), this);
    const auto numberEdit = [this, numbers](const QString& text) {
        auto* e = new QLineEdit(text, this);
        e->setValidator(numbers);
        e->setMaxLength(kNumberLength);
        return e;
    };

    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("resolutionList"));
    list_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list_->setMinimumContentsLength(12);

    const QString windowLabels[] = {tr("水平位置"), tr("水平宽度"), tr("垂直位置"), tr("垂直高度")};
    auto* windowGrid = new QGridLayout;
    windowGrid->setColumnStretch(1, 1);
    for (std::size_t i = 0; i < window_.size(); ++i) {
        window_[i] = numberEdit(QString());
        const int row = static_cast<int>(i);
        windowGrid->addWidget(new QLabel(windowLabels[i], this), row, 0);
        windowGrid->addWidget(window_[i], row, 1);
        const auto field = static_cast<WindowField>(i);
        connect(window_[i], &QLineEdit::editingFinished, this,
                [this, field] { applyWindow(field); });
    }

    hollow_ = new QCheckBox(tr("画面1中空"), this);
    hollow_->hide(); // kept for the frame's interface; the menu offers the same toggle
    connect(hollow_, &QCheckBox::clicked, this, [this](bool on) {
        if (layout_ != nullptr) {
            layout_->setHollow(Picture::One, on);
            layout_->redraw();
        }
    });

    customGroup_ = new QGroupBox(tr("定制分辨率"), this);
    customGroup_->setObjectName(QStringLiteral("customGroup"));
    const QString customLabels[] = {tr("水平分辩率"), tr("垂直分辩率"), tr("刷新频率")};
    const QString initial[] = {QStringLiteral("1280"), QStringLiteral("1024"),
                               QStringLiteral("60")};
    auto* customGrid = new QGridLayout(customGroup_);
    customGrid->setColumnStretch(1, 1);
    for (std::size_t i = 0; i < custom_.size(); ++i) {
        custom_[i] = numberEdit(initial[i]);
        const int row = static_cast<int>(i);
        customGrid->addWidget(new QLabel(customLabels[i], customGroup_), row, 0);
        customGrid->addWidget(custom_[i], row, 1);
        const auto field = static_cast<CustomField>(i);
        connect(custom_[i], &QLineEdit::editingFinished, this,
                [this, field] { applyCustomEntry(field); });
    }
    send_ = new QPushButton(tr("发送"), customGroup_);
    send_->setAutoDefault(false);
    customGrid->addWidget(send_, static_cast<int>(custom_.size()), 1, Qt::AlignRight);
    customGroup_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(new QLabel(tr("输出分辨率"), this));
    layout->addWidget(list_);
    layout->addLayout(windowGrid);
    layout->addWidget(hollow_);
    layout->addWidget(customGroup_);
    layout->addStretch(1);

    connect(list_, &QComboBox::activated, this, &OutputPanel::selectionChanged);
    connect(send_, &QPushButton::clicked, this, &OutputPanel::sendCustom);
}

std::uint8_t OutputPanel::codeAt(int row) const {
    return static_cast<std::uint8_t>(list_->itemData(row).toUInt());
}

std::uint8_t OutputPanel::currentResolution() const {
    return frame_ != nullptr ? frame_->currentResolution() : ownCurrent_;
}

void OutputPanel::setCurrentResolution(std::uint8_t code) {
    ownCurrent_ = code;
    if (frame_ != nullptr) {
        frame_->setCurrentResolution(code);
    }
}

void OutputPanel::showCustomGroupFor(int row) {
    customGroup_->setVisible(row >= 0 && codeAt(row) == kCustomResolution);
}

void OutputPanel::refreshFromMirror() {
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
        for (const Resolution& r : resolutionTable()) {
            list_->addItem(tableName(r), QVariant::fromValue(static_cast<uint>(r.code)));
        }
        const std::uint8_t code = mirror_.pq[pq::kOutputResolution];
        const int row = list_->findData(QVariant::fromValue(static_cast<uint>(code)));
        list_->setCurrentIndex(row);
        showCustomGroupFor(row);
        if (row >= 0) {
            confirmed_ = row;
            setCurrentResolution(code);
        }
    }
    refreshWindow();
}

void OutputPanel::refreshWindow() {
    const std::pair<WindowField, int> values[] = {{WindowField::X, mirror_.p1OutX},
                                                  {WindowField::Width, mirror_.p1OutWidth},
                                                  {WindowField::Y, mirror_.p1OutY},
                                                  {WindowField::Height, mirror_.p1OutHeight}};
    for (const auto& [field, value] : values) {
        windowEdit(field).setText(QString::number(value));
    }
}

void OutputPanel::selectionChanged(int row) {
    if (row < 0) {
        return;
    }
    const std::uint8_t code = codeAt(row);
    showCustomGroupFor(row);
    if (code == kCustomResolution) {
        return; // nothing goes out before "发送"
    }
    if (code == currentResolution() && confirmed_ >= 0) {
        return;
    }
    if (!changeResolution(row, code, 0, 0, 0)) {
        list_->setCurrentIndex(confirmed_);
        showCustomGroupFor(confirmed_);
    }
}

void OutputPanel::sendCustom() {
    const int row = list_->currentIndex();
    if (row < 0 || codeAt(row) != kCustomResolution) {
        return;
    }
    for (std::size_t i = 0; i < custom_.size(); ++i) {
        applyCustomEntry(static_cast<CustomField>(i));
    }
    const int width = custom_[0]->text().toInt();
    const int height = custom_[1]->text().toInt();
    const int refresh = custom_[2]->text().toInt();
    changeResolution(row, kCustomResolution, width, height, refresh);
}

bool OutputPanel::changeResolution(int row, std::uint8_t code, int width, int height, int refresh) {
    if (confirmed_ >= 0 &&
        !presenter_.confirmDestructive(this, tr("该操作将重置场景,请确认是否改变输出分辨率?"))) {
        return false;
    }
    confirmed_ = row;
    if (code == kCustomResolution) {
        // Kept for the drawing and for the next start on the custom entry.
        settings_.writeCustomResolution({width, height, refresh});
    }
    if (callback_ != nullptr) {
        // Sends, waits for the processor and resynchronises, which redraws this panel.
        callback_->changeResolution(code, width, height, refresh);
    }
    return true;
}

void OutputPanel::applyCustomEntry(CustomField f) {
    QLineEdit* e = custom_[index(f)];
    e->setText(QString::number(evenEntry(e->text(), kCustomRanges[index(f)])));
}

std::optional<QSize> OutputPanel::outputSize() const {
    return outputSize_.forCode(mirror_.pq[pq::kOutputResolution]);
}

namespace {
// A size cut to the output's edge stops at its minimum, and then the position gives way: a
// picture near the edge must not shrink to nothing.
void shrinkToFit(int& position, int& size, int limit, int minimum) {
    if (position + size > limit) {
        size = std::max(limit - position, minimum);
        position = std::min(position, limit - size);
    }
}
} // namespace

void OutputPanel::applyWindow(WindowField edited) {
    QLineEdit& xEdit = windowEdit(WindowField::X);
    if (edited == WindowField::X && leadingInt(xEdit.text()) == mirror_.p1OutX) {
        // An emptied field reads as 0; it shows the stored position again, not a blank.
        xEdit.setText(QString::number(mirror_.p1OutX));
        return;
    }
    const auto size = outputSize();
    if (!size) {
        return;
    }
    const int resW = size->width();
    const int resH = size->height();
    const auto enter = [this](WindowField f, EvenRange range) {
        QLineEdit& e = windowEdit(f);
        const int v = evenEntry(e.text(), range);
        e.setText(QString::number(v));
        return v;
    };
    int w = enter(WindowField::Width, {kMinimumWidth, resW});
    int x = enter(WindowField::X, {0, resW});
    int h = enter(WindowField::Height, {kMinimumHeight, resH});
    int y = enter(WindowField::Y, {0, resH});

    // Only the edit the operator changed gives way when the picture would stick out.
    switch (edited) {
    case WindowField::Width:
        shrinkToFit(x, w, resW, kMinimumWidth);
        break;
    case WindowField::X:
        x = x + w > resW ? resW - w : x;
        break;
    case WindowField::Height:
        shrinkToFit(y, h, resH, kMinimumHeight);
        break;
    case WindowField::Y:
        y = y + h > resH ? resH - h : y;
        break;
    }
    const int values[] = {x, w, y, h};
    for (auto f : {WindowField::X, WindowField::Width, WindowField::Y, WindowField::Height}) {
        windowEdit(f).setText(QString::number(values[index(f)]));
    }

    const Rect r{std::min(x, x + w), std::min(y, y + h), std::max(x, x + w), std::max(y, y + h)};
    if (r.left == mirror_.p1OutX && r.top == mirror_.p1OutY &&
        r.right - r.left == mirror_.p1OutWidth && r.bottom - r.top == mirror_.p1OutHeight) {
        return; // the processor has this window already
    }
    busy_.runUnseen([this, r] { facade_.setPicture1OutputWindow(r); });
    if (layout_ != nullptr) {
        layout_->redraw();
    }
}

} // namespace korvane::ui
