#include "ui/wall/WallView.h"

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "core/store/Settings.h"
#include "ui/device/BusyRunner.h"
#include "ui/panels/PanelContext.h"
#include "ui/wall/IPointLocateView.h"
#include "ui/wall/LayoutPainter.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <chrono>

namespace korvane::ui {

using wall::Handle;

namespace {
// The processor takes picture 1's window before anything else may follow it.
constexpr std::chrono::milliseconds kPicture1Settle{30};
const QColor kPicture1Fill(0, 128, 192);
const QColor kPicture2Fill(128, 192, 192);
constexpr QPoint kForgotten{-1, -1};

bool same(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

Qt::CursorShape cursorFor(Handle h) {
    switch (h) {
    case Handle::Left:
    case Handle::Right:
        return Qt::SizeHorCursor;
    case Handle::Top:
    case Handle::Bottom:
        return Qt::SizeVerCursor;
    case Handle::Interior:
        return Qt::PointingHandCursor;
    case Handle::TopLeft:
    case Handle::BottomRight:
        return Qt::SizeFDiagCursor;
    case Handle::BottomLeft:
    case Handle::TopRight:
        return Qt::SizeBDiagCursor;
    case Handle::None:
        break;
    }
    return Qt::ArrowCursor;
}

// A bare name (the default) lies in the program directory, beside the settings file, not in
// whatever folder the program was started from.
QImage loadBackground(const Settings& settings, std::filesystem::path file) {
    if (file.is_relative()) {
        file = settings.file().parent_path() / file;
    }
    return QImage(QString::fromStdString(file.string()));
}
} // namespace

WallView::WallView(const PanelContext& context, QWidget* parent)
    : QWidget(parent), mirror_(context.mirror), facade_(context.facade), link_(context.link),
      settings_(context.settings), busy_(context.busy), font_(wall::labelFont()) {
    // Every repaint covers the whole control from its own off-screen image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void WallView::setPicture1OnTop(int onTop) {
    picture1OnTop_ = onTop != 0;
    update();
}

void WallView::setHollow(int picture, bool hollow) {
    if (picture == 1 || picture == 2) {
        hollow_[static_cast<std::size_t>(picture - 1)] = hollow;
        update();
    }
}

void WallView::setPicture1WholeArea(int wholeArea) {
    wholeArea_ = wholeArea != 0;
    update();
}

void WallView::labelPicture(int selector, std::uint8_t code) {
    inputCode_[selector != 0 ? kPicture1 : kPicture2] = code;
    update();
}

void WallView::setBoxSizes(int boxWidth, int boxHeight, int moduleWidth, int moduleHeight) {
    boxWidth_ = boxWidth;
    boxHeight_ = boxHeight;
    moduleWidth_ = moduleWidth;
    moduleHeight_ = moduleHeight;
}

void WallView::startPositioning(int boxWidth, int boxHeight, int moduleWidth, int moduleHeight) {
    settings_.writeBoxWidth(boxWidth);
    settings_.writeBoxHeight(boxHeight);
    settings_.writeModuleWidth(moduleWidth);
    settings_.writeModuleHeight(moduleHeight);
    setBoxSizes(boxWidth, boxHeight, moduleWidth, moduleHeight);
    positioning_ = true;
    update();
}

void WallView::stopPositioning() {
    positioning_ = false;
    // Takes the processor's marker off the wall.
    busy_.runUnseen([this] { facade_.locatePoint(0, 0, 0); });
    update();
}

void WallView::clearItems() {
    items_ = {};
    drag_ = Drag::None;
    captured_ = false;
    confine_.reset();
    update();
}

void WallView::redraw() {
    if (drag_ == Drag::None) {
        placeFromMirror();
    }
    update();
}

void WallView::setUp(double scaleX, double scaleY, std::uint8_t resolutionCode) {
    const auto res = findResolution(resolutionCode);
    // The custom entry carries no size of its own.
    if (!res || res->width <= 0 || res->height <= 0 || scaleX <= 0.0 || scaleY <= 0.0) {
        return;
    }
    scale_ = {scaleX, scaleY};
    outputWidth_ = res->width;
    outputHeight_ = res->height;
    const Rect client{0, 0, width(), height()};
    Item one;
    one.alternate = client;
    items_[kPicture1] = one;
    items_[kPicture2] = Item{};
    placeFromMirror();

    handle_ = Handle::None;
    drag_ = Drag::None;
    captured_ = false;
    confine_.reset();
    remembered_ = start_ = current_ = last_ = kForgotten;
    // Loaded once per set-up rather than at every repaint of a drag.
    background_[kPicture1] = loadBackground(settings_, settings_.readScreenBackground());
    background_[kPicture2] = loadBackground(settings_, settings_.readPictureTwoBackground());
    update();
}

void WallView::placeFromMirror() {
    const ParameterMirror& m = mirror_;
    setPictureRectangle({m.p1OutX, m.p1OutY, wrappingSum(m.p1OutX, m.p1OutWidth),
                         wrappingSum(m.p1OutY, m.p1OutHeight)},
                        kPicture1);
    setPictureRectangle(
        {m.p2X, m.p2Y, wrappingSum(m.p2X, m.p2Width), wrappingSum(m.p2Y, m.p2Height)}, kPicture2);
    if (items_[kPicture2]) {
        items_[kPicture2]->hidden = m.pipOn == 0;
    }
}

void WallView::setPicture2Shown(bool shown) {
    if (items_[kPicture2]) {
        items_[kPicture2]->hidden = !shown;
    }
    update();
}

void WallView::setPictureRectangle(const Rect& output, int which) {
    if (which != kPicture1 && which != kPicture2) {
        return;
    }
    auto& item = items_[static_cast<std::size_t>(which)];
    if (item) {
        item->rect = wall::clampedInto(wall::outputToControl(output, scale_, size()), size());
    }
    update();
}

std::optional<Rect> WallView::pictureRect(int which) const {
    const auto& item = items_.at(static_cast<std::size_t>(which));
    return item ? std::optional<Rect>(item->rect) : std::nullopt;
}

bool WallView::pictureShown(int which) const {
    const auto& item = items_.at(static_cast<std::size_t>(which));
    return item && !item->hidden;
}

int WallView::selectedPicture() const {
    for (int i : {kPicture1, kPicture2}) {
        const auto& item = items_[static_cast<std::size_t>(i)];
        if (item && item->selected) {
            return i;
        }
    }
    return -1;
}

std::array<int, 2> WallView::hitOrder() const {
    return picture1OnTop_ ? std::array<int, 2>{kPicture1, kPicture2}
                          : std::array<int, 2>{kPicture2, kPicture1};
}

int WallView::itemAt(QPoint p) const {
    for (int i : hitOrder()) {
        const auto& item = items_[static_cast<std::size_t>(i)];
        if (item && !item->hidden && wall::contains(item->rect, p)) {
            return i;
        }
    }
    return -1;
}

Rect WallView::drawnRect(int which) const {
    const Item& item = *items_[static_cast<std::size_t>(which)];
    return which == kPicture1 && wholeArea_ ? item.alternate : item.rect;
}

void WallView::select(int which) {
    for (int i : {kPicture1, kPicture2}) {
        auto& item = items_[static_cast<std::size_t>(i)];
        if (item) {
            item->selected = i == which;
        }
    }
    update();
}

int WallView::boxStepX() const {
    return wall::gridStep(boxWidth_, scale_.x);
}

int WallView::boxStepY() const {
    return wall::gridStep(boxHeight_, scale_.y);
}

void WallView::pointTo(QPoint p) {
    remembered_ = p;
    selectedPoint_ = {wall::truncated(p.x() * scale_.x), wall::truncated(p.y() * scale_.y)};
    // A box narrower than a control pixel leaves the fraction at 0 rather than dividing by 0.
    const double boxX = scale_.valid() ? boxWidth_ / scale_.x : 0.0;
    const double boxY = scale_.valid() ? boxHeight_ / scale_.y : 0.0;
    selectedBox_ = {boxX > 0.0 ? p.x() / boxX : 0.0, boxY > 0.0 ? p.y() / boxY : 0.0};
    locateFull_ = true;
    update();
}

void WallView::selectBoxAtPicture1Centre() {
    if (!positioning_ || !items_[kPicture1]) {
        return;
    }
    const QRect r = wall::toQRect(drawnRect(kPicture1));
    pointTo(QPoint(r.left() + r.width() / 2, r.top() + r.height() / 2));
}

void WallView::selectBox(int column, int row) {
    if (!positioning_) {
        return;
    }
    // In doubles: the numbers come from another window and must not overflow.
    selectedPoint_ = {wall::truncated(double(column) * boxWidth_ + boxWidth_ / 2),
                      wall::truncated(double(row) * boxHeight_ + boxHeight_ / 2)};
    selectedBox_ = QPointF(column, row);
    locateImage_ = true;
    update();
}

void WallView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint p = event->position().toPoint();
    if (p != remembered_) {
        pointTo(p);
    }
    const int hit = itemAt(p);
    if (hit < 0) {
        select(-1);
        return;
    }
    if (positioning_ || (hit == kPicture1 && wholeArea_)) {
        return;
    }
    select(hit);
    handle_ = wall::hitHandle(items_[static_cast<std::size_t>(hit)]->rect, p);
    drag_ = handle_ == Handle::Interior ? Drag::Move
            : handle_ == Handle::None   ? Drag::RubberBand
                                        : Drag::Resize;
    confineFor(hit, p);
    captured_ = true;
    start_ = current_ = last_ = p;
}

void WallView::confineFor(int which, QPoint press) {
    const Rect& r = items_[static_cast<std::size_t>(which)]->rect;
    if (drag_ == Drag::Move) {
        // Wherever the pointer may go, the whole picture stays inside the control.
        const int minX = press.x() - r.left;
        const int minY = press.y() - r.top;
        const int maxX = std::max(minX, width() - (r.right - press.x()));
        const int maxY = std::max(minY, height() - (r.bottom - press.y()));
        confine_ = QRect(QPoint(minX, minY), QPoint(maxX, maxY));
    } else if (drag_ == Drag::Resize) {
        confine_ = rect();
    } else {
        confine_.reset();
    }
}

QPoint WallView::confined(QPoint p) const {
    if (!confine_) {
        return p;
    }
    return {std::clamp(p.x(), confine_->left(), confine_->right()),
            std::clamp(p.y(), confine_->top(), confine_->bottom())};
}

void WallView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint raw = event->position().toPoint();
    if (!captured_) {
        if (positioning_) {
            return;
        }
        const int hit = itemAt(raw);
        const bool draggable = hit == kPicture2 || (hit == kPicture1 && !wholeArea_);
        setCursor(cursorFor(draggable
                                ? wall::hitHandle(items_[static_cast<std::size_t>(hit)]->rect, raw)
                                : Handle::None));
        return;
    }
    dragTo(confined(raw));
}

void WallView::dragTo(QPoint p) {
    current_ = p;
    const int which = selectedPicture();
    if (drag_ == Drag::RubberBand || which < 0) {
        setCursor(Qt::ArrowCursor);
        last_ = p;
        update();
        return;
    }
    Item& item = *items_[static_cast<std::size_t>(which)];
    Rect r = item.rect;
    if (drag_ == Drag::Move) {
        const QPoint d = p - last_;
        r = {r.left + d.x(), r.top + d.y(), r.right + d.x(), r.bottom + d.y()};
    } else {
        r = wall::dragEdges(r, handle_, p);
        if (r.right - r.left <= minimum_.width()) {
            r.right = r.left + minimum_.width();
        }
        if (r.bottom - r.top <= minimum_.height()) {
            r.bottom = r.top + minimum_.height();
        }
    }
    const bool refused =
        same(r, item.rect) || r.left < 0 || r.top < 0 || r.right > width() || r.bottom > height();
    if (!refused) {
        item.rect = wall::clampedInto(r, size());
    }
    setCursor(cursorFor(handle_));
    last_ = p;
    update();
}

void WallView::mouseReleaseEvent(QMouseEvent* event) {
    if (!captured_ || event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint p = confined(event->position().toPoint());
    // A release without a move event just before it still ends where the pointer is.
    if (p != last_) {
        dragTo(p);
    }
    const Drag ended = drag_;
    drag_ = Drag::None;
    captured_ = false;
    confine_.reset();
    update();
    const int which = selectedPicture();
    if ((ended == Drag::Move || ended == Drag::Resize) && which >= 0 && p != start_) {
        sendWindow(which);
    }
}

void WallView::sendWindow(int which) {
    const Rect out = wall::controlToOutput(items_[static_cast<std::size_t>(which)]->rect, scale_,
                                           outputWidth_, outputHeight_);
    if (which == kPicture2) {
        busy_.runUnseen([this, out] { facade_.setPicture2OutputWindow(out); });
    } else {
        busy_.runUnseen([this, out] {
            facade_.setPicture1OutputWindow(out);
            if (link_.lastFrameSent()) {
                link_.pause(kPicture1Settle);
            }
        });
        if (wholeArea_) {
            wholeArea_ = false;
            update();
            emit wholeAreaCleared();
            return;
        }
    }
    emit windowSent(which);
}

void WallView::paintEvent(QPaintEvent*) {
    QImage surface(size(), QImage::Format_RGB32);
    surface.fill(Qt::black);
    {
        QPainter p(&surface);
        const auto order = hitOrder();
        // Drawn bottom first: the reverse of the hit order.
        paintPicture(p, order[1]);
        paintPicture(p, order[0]);
    }
    if (positioning_) {
        paintPositioning(surface);
    }
    if (drag_ == Drag::RubberBand) {
        QPainter p(&surface);
        wall::drawBand(p, start_, current_);
    }
    QPainter(this).drawImage(0, 0, surface);
}

void WallView::paintPicture(QPainter& p, int which) const {
    const auto& item = items_[static_cast<std::size_t>(which)];
    if (!item || item->hidden) {
        return;
    }
    const auto w = static_cast<std::size_t>(which);
    wall::PictureLook look;
    look.rect = wall::toQRect(drawnRect(which));
    look.number = which + 1;
    look.suffix = wall::inputSuffix(inputCode_[w]);
    look.selected = item->selected;
    look.hollow = hollow_[w];
    look.background = background_[w];
    look.fill = which == kPicture1 ? kPicture1Fill : kPicture2Fill;
    wall::drawPicture(p, look, font_);
}

void WallView::paintPositioning(QImage& surface) {
    const int stepX = boxStepX();
    const int stepY = boxStepY();
    {
        QPainter p(&surface);
        wall::drawGridLines(p, size(), stepX, stepY);
    }
    const QRect cell = wall::selectedCell(selectedPoint_, scale_, stepX, stepY);
    if (locate_ != nullptr && locateFull_) {
        locateFull_ = false;
        locate_->takeBox(surface, cell, wall::truncated(selectedBox_.x()),
                         wall::truncated(selectedBox_.y()), boxWidth_, boxHeight_);
    }
    if (locate_ != nullptr && locateImage_) {
        locateImage_ = false;
        locate_->takeBoxImage(surface, cell);
    }
    QPainter p(&surface);
    wall::drawCellOutline(p, cell);
}

} // namespace korvane::ui
