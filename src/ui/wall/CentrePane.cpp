#include "ui/wall/CentrePane.h"

#include "core/commands/CommandFacade.h"
#include "core/commands/DeviceOperation.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/frame/DeviceTemplates.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/panels/PanelContext.h"
#include "ui/wall/LayoutGeometry.h"
#include "ui/wall/WallView.h"

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
// The strip behind the buttons reaches this far above and below them.
constexpr int kStripOverhang = 3;
const QColor kStrip(0x3A, 0x40, 0x48);
const QColor kArea(0x4A, 0x52, 0x5C);
} // namespace

CentrePane::CentrePane(const PanelContext& context, QWidget* parent)
    : QWidget(parent), link_(context.link), mirror_(context.mirror), facade_(context.facade),
      presenter_(context.presenter), busy_(context.busy), messages_(context.messages),
      code_(context.mirror.pq[pq::kOutputResolution]) {
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
        auto* b = new QPushButton(tr("模板%1").arg(n), this);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, n] { recallTemplate(n); });
        templates_[static_cast<std::size_t>(n - 1)] = b;
    }
    store_ = new QPushButton(tr("保存模板"), this);
    store_->setFocusPolicy(Qt::NoFocus);
    storeMenu_ = new QMenu(this);
    for (int n = 1; n <= kTemplateCount; ++n) {
        storeMenu_->addAction(tr("模板%1").arg(n), this, [this, n] { storeTemplate(n); });
    }
    connect(store_, &QPushButton::clicked, this,
            [this] { storeMenu_->popup(store_->mapToGlobal(QPoint(0, store_->height()))); });
    setMinimumSize(240, 160);
}

ILayoutControl& CentrePane::layoutControl() {
    return *view_;
}

void CentrePane::refreshFromMirror() {
    setOutputResolution(mirror_.pq[pq::kOutputResolution]);
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
    int natural = 0;
    for (const QPushButton* b : row) {
        natural += b->sizeHint().width();
    }
    // A pane narrower than the row shrinks every button alike, so that "保存模板" stays within
    // reach instead of being cut off at the right edge.
    const double shrink =
        natural + gaps > width() ? std::max(width() - gaps, 0) / double(std::max(natural, 1)) : 1.0;
    int x = 0;
    for (QPushButton* b : row) {
        const int w = static_cast<int>(b->sizeHint().width() * shrink);
        b->setGeometry(x, top, w, kButtonHeight);
        x += w + kButtonGap;
    }
    update();
}

void CentrePane::fitView() {
    const auto res = findResolution(code_);
    int w = width() - width() % 2;
    const int available = height() - kButtonRowHeight;
    // The custom entry has no size of its own, and a pane squeezed to nothing has no room.
    if (!res || res->width <= 0 || res->height <= 0 || w <= 0 || available <= 0) {
        return;
    }
    const double scale = std::max(double(res->width) / w, double(res->height) / double(available));
    const int h = wall::truncated(res->height / scale);
    if (h <= 0) {
        return;
    }
    view_->setGeometry(0, 0, w, h);
    const double scaleX = double(res->width) / w;
    const double scaleY = double(res->height) / h;
    view_->setMinimumPictureSize(
        QSize(static_cast<int>(std::lround(kMinimumPictureWidth / scaleX)),
              static_cast<int>(std::lround(kMinimumPictureHeight / scaleY))));
    view_->setUp(scaleX, scaleY, code_);
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
    const OperationContext ctx{link_, mirror_, facade_, messages_};
    recallDeviceTemplate(this, busy_, presenter_, ctx, slot, frame_, [this] { readBackDone(); });
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
        storeDeviceTemplate(busy_, facade_, slot);
    }
}

} // namespace korvane::ui
