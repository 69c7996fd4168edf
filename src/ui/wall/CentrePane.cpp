#include "ui/wall/CentrePane.h"

#include "core/commands/CommandFacade.h"
#include "core/commands/DeviceOperation.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "core/store/Settings.h"
#include "remote/RemoteSettings.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/frame/DeviceTemplates.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/panels/PanelContext.h"
#include "ui/wall/LayoutGeometry.h"
#include "ui/wall/WallView.h"
#include "ui/widgets/CaptionButton.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <vector>

namespace korvane::ui {

namespace {
constexpr int kButtonHeight = 38;
constexpr int kBottomMargin = 4;
constexpr int kButtonGap = 1;
constexpr int kAreaGap = 4;
// A slot button narrower than this shows only part of its caption even at its least.
constexpr int kLeastSlotWidth = 30;
// The strip behind the buttons reaches this far above and below them.
constexpr int kStripOverhang = 3;
const QColor kStrip(0x3A, 0x40, 0x48);
const QColor kArea(0x4A, 0x52, 0x5C);
} // namespace

CentrePane::CentrePane(const PanelContext& context, QWidget* parent)
    : QWidget(parent), link_(context.link), mirror_(context.mirror), facade_(context.facade),
      presenter_(context.presenter), busy_(context.busy), messages_(context.messages),
      settingsFile_(context.settings.file()), code_(context.mirror.pq[pq::kOutputResolution]),
      outputSize_(context.settings) {
    view_ = new WallView(context, this);
    connect(
        view_, &WallView::windowSent, this,
        [this](Picture picture) {
            if (picture == Picture::Two) {
                emit picture2WindowChanged();
            } else {
                emit picture1WindowChanged();
            }
        },
        Qt::QueuedConnection);
    connect(view_, &WallView::wholeAreaCleared, this, &CentrePane::picture1WholeAreaCleared,
            Qt::QueuedConnection);

    for (int n = 1; n <= kTemplateCount; ++n) {
        auto* b = new CaptionButton(tr("模板%1").arg(n), this);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, n] { recallTemplate(n); });
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(b, &QPushButton::customContextMenuRequested, this, [this, n, b](QPoint at) {
            QMenu menu(this);
            menu.addAction(tr("重命名..."), this, [this, n] { askTemplateName(n); });
            menu.exec(b->mapToGlobal(at));
        });
        templates_[static_cast<std::size_t>(n - 1)] = b;
    }
    showTemplateNames();
    store_ = new CaptionButton(tr("保存模板"), this);
    store_->setFocusPolicy(Qt::NoFocus);
    storeMenu_ = new QMenu(this);
    for (int n = 1; n <= kTemplateCount; ++n) {
        storeMenu_->addAction(tr("模板%1").arg(n), this, [this, n] { storeTemplate(n); });
    }
    connect(store_, &QPushButton::clicked, this,
            [this] { storeMenu_->popup(store_->mapToGlobal(QPoint(0, store_->height()))); });
    for (const QPushButton* b : templates_) {
        captions_.push_back(b->text());
    }
    captions_.push_back(store_->text());
    setMinimumSize(240, 160);
}

ILayoutControl& CentrePane::layoutControl() {
    return *view_;
}

void CentrePane::refreshFromMirror() {
    setOutputResolution(mirror_.pq[pq::kOutputResolution]);
    showTemplateNames();
}

bool CentrePane::setOutputResolution(std::uint8_t code) {
    if (!findResolution(code)) {
        presenter_.inform(this, tr("不支持的分辨率!"));
        return false;
    }
    code_ = code;
    fitView();
    return true;
}

void CentrePane::resizeEvent(QResizeEvent*) {
    layOutButtons();
    fitView();
}

void CentrePane::layOutButtons() {
    const int top = height() - kBottomMargin - kButtonHeight;
    std::vector<QPushButton*> row(templates_.begin(), templates_.end());
    row.push_back(store_);
    const int gaps = kButtonGap * static_cast<int>(row.size() - 1);
    // Widths from the full captions, whatever a narrower pane left on the buttons before.
    const std::vector<QString>& full = captions_;
    std::vector<int> natural;
    int slotsTotal = 0;
    for (std::size_t i = 0; i < row.size(); ++i) {
        row[i]->setText(full[i]);
        natural.push_back(row[i]->sizeHint().width());
        slotsTotal += i < templates_.size() ? natural.back() : 0;
    }
    const int room = std::max(width() - gaps, 0);
    // "保存模板" is the only way to the store menu, so it keeps its width while every slot button
    // still gets a few characters, and at least its first two characters; the slot buttons share
    // the rest alike.
    const int slotCount = static_cast<int>(templates_.size());
    const QString storeStart = full.back().left(2) + QChar(0x2026);
    const int storeLeast =
        store_->fontMetrics().horizontalAdvance(storeStart) + 2 * CaptionButton::kMargin;
    const int storeWidth = std::min(
        natural.back(), std::max(room - slotCount * kLeastSlotWidth, std::min(storeLeast, room)));
    const int slotsRoom = room - storeWidth;
    const double shrink =
        slotsTotal > slotsRoom ? std::max(slotsRoom, 0) / double(std::max(slotsTotal, 1)) : 1.0;
    int x = 0;
    for (std::size_t i = 0; i < row.size(); ++i) {
        QPushButton* b = row[i];
        const bool slot = i < templates_.size();
        const int w = slot ? static_cast<int>(natural[i] * shrink) : storeWidth;
        const int textRoom = CaptionButton::captionRoom(w);
        const QFontMetrics metrics = b->fontMetrics();
        QString shown = full[i];
        if (metrics.horizontalAdvance(shown) > textRoom) {
            // A slot under its default caption shows its number alone; a named slot ("3 Show")
            // and the store button keep their start, where the number is.
            const QString number = QString::number(i + 1);
            const bool unnamed = slot && full[i] == tr("模板%1").arg(i + 1);
            shown = unnamed && metrics.horizontalAdvance(number) <= textRoom
                        ? number
                        : metrics.elidedText(full[i], Qt::ElideRight, textRoom);
        }
        b->setText(shown);
        b->setToolTip(shown == full[i] ? QString() : full[i]);
        b->setGeometry(x, top, w, kButtonHeight);
        x += w + kButtonGap;
    }
    update();
}

void CentrePane::fitView() {
    const auto output = outputSize_.forCode(code_);
    int w = width() - width() % 2;
    const int available = height() - kButtonRowHeight;
    // A pane squeezed to nothing has no room.
    if (!output || output->isEmpty() || w <= 0 || available <= 0) {
        return;
    }
    const double outW = output->width();
    const double outH = output->height();
    const double scale = std::max(outW / w, outH / double(available));
    const int h = wall::truncated(outH / scale);
    if (h <= 0) {
        return;
    }
    view_->setGeometry(0, 0, w, h);
    const double scaleX = outW / w;
    const double scaleY = outH / h;
    view_->setMinimumPictureSize(
        QSize(static_cast<int>(std::lround(kMinimumPictureWidth / scaleX)),
              static_cast<int>(std::lround(kMinimumPictureHeight / scaleY))));
    view_->setUp(scaleX, scaleY, *output);
}

void CentrePane::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRect first = templates_.front()->geometry();
    const QRect strip(0, first.top() - kStripOverhang, width(),
                      first.height() + 2 * kStripOverhang);
    p.fillRect(strip, kStrip);
    const int left = store_->geometry().right() + 1 + kAreaGap;
    p.fillRect(QRect(left, first.top(), width() - left, first.height()), kArea);
}

void CentrePane::recallTemplate(int slot) {
    recallTemplate(slot, presenter_);
}

bool CentrePane::recallTemplate(int slot, MessagePresenter& presenter) {
    const OperationContext ctx{link_, mirror_, facade_, messages_};
    return recallDeviceTemplate(this, busy_, presenter, ctx, slot, frame_,
                                [this] { readBackDone(); });
}

void CentrePane::readBackDone() {
    SendSwitchOff quiet(link_);
    if (frame_ == nullptr) {
        refreshFromMirror();
        return;
    }
    // What the frame does after its own recall: every panel, then both pictures' inputs.
    frame_->setCurrentResolution(mirror_.pq[pq::kOutputResolution]);
    frame_->sendRefreshAllWithSends();
    frame_->sendPictureInput(Picture::One, mirror_.switchState[sw::kPicture1Input]);
    frame_->sendPictureInput(Picture::Two, mirror_.switchState[sw::kPicture2Input]);
}

void CentrePane::storeTemplate(int slot) {
    // The pane stores only once the frame has wired it up.
    if (frame_ != nullptr) {
        storeDeviceTemplate(this, busy_, facade_, slot);
    }
}

} // namespace korvane::ui

namespace korvane::ui {

void CentrePane::showTemplateNames() {
    const remote::RemoteSettings names(settingsFile_);
    for (int n = 1; n <= kTemplateCount; ++n) {
        const QString name = QString::fromStdString(names.templateName(n));
        const QString caption =
            name.isEmpty() ? tr("模板%1").arg(n) : QStringLiteral("%1 %2").arg(n).arg(name);
        templates_[static_cast<std::size_t>(n - 1)]->setText(caption);
        if (captions_.size() > static_cast<std::size_t>(n - 1)) {
            captions_[static_cast<std::size_t>(n - 1)] = caption;
        }
    }
    // A shown row fits the new captions now; a hidden one when it is shown and sized.
    if (!captions_.empty() && isVisible()) {
        layOutButtons();
    }
}

bool CentrePane::renameTemplate(int slot, const QString& name) {
    remote::RemoteSettings names(settingsFile_);
    if (!names.writeTemplateName(slot, name.toStdString())) {
        presenter_.inform(this, tr("模板名称最多32个字符，不能含控制字符，前后不能有空格或引号。"));
        return false;
    }
    showTemplateNames();
    return true;
}

void CentrePane::askTemplateName(int slot) {
    const remote::RemoteSettings names(settingsFile_);
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, tr("重命名模板"), tr("模板%1的名称:").arg(slot), QLineEdit::Normal,
        QString::fromStdString(names.templateName(slot)), &ok);
    if (ok) {
        renameTemplate(slot, name.trimmed());
    }
}

} // namespace korvane::ui
