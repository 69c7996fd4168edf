#include "ui/wall/WallView.h"

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/store/DataDirectory.h"
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
constexpr std::array<Picture, 2> kPictures{Picture::One, Picture::Two};

// The place of a picture in the arrays kept by picture.
constexpr std::size_t at(Picture p) {
    return static_cast<std::size_t>(p);
}

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
    return QImage(QString::fromStdString(shippedFile(file).string()));
}
} // namespace

WallView::WallView(const PanelContext& context, QWidget* parent)
    : QWidget(parent), mirror_(context.mirror), facade_(context.facade), link_(context.link),
      settings_(context.settings), busy_(context.busy), font_(wall::labelFont()) {
    // Every repaint covers the whole control from its own off-screen image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void WallView::setPicture1OnTop(bool onTop) {
    picture1OnTop_ = onTop;
    update();
}

void WallView::setHollow(Picture picture, bool hollow) {
    hollow_[at(picture)] = hollow;
    update();
}

void WallView::setPicture1WholeArea(bool wholeArea) {
    wholeArea_ = wholeArea;
    update();
}

void WallView::labelPicture(Picture picture, std::uint8_t code) {
    inputCode_[at(picture)] = code;
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

void WallView::setUp(double scaleX, double scaleY, QSize output) {
    if (output.isEmpty() || scaleX <= 0.0 || scaleY <= 0.0) {
        return;
    }
    scale_ = {scaleX, scaleY};
    outputWidth_ = output.width();
    outputHeight_ = output.height();
    const Rect client{0, 0, width(), height()};
    Item one;
    one.alternate = client;
    items_[at(Picture::One)] = one;
    items_[at(Picture::Two)] = Item{};
    placeFromMirror();

    handle_ = Handle::None;
    drag_ = Drag::None;
    captured_ = false;
    confine_.reset();
    remembered_ = start_ = current_ = last_ = kForgotten;
    // Loaded once per set-up rather than at every repaint of a drag.
    background_[at(Picture::One)] = loadBackground(settings_, settings_.readScreenBackground());
    background_[at(Picture::Two)] = loadBackground(settings_, settings_.readPictureTwoBackground());
    update();
}

void WallView::placeFromMirror() {
    const ParameterMirror& m = mirror_;
    setPictureRectangle({m.p1OutX, m.p1OutY, wrappingSum(m.p1OutX, m.p1OutWidth),
                         wrappingSum(m.p1OutY, m.p1OutHeight)},
                        Picture::One);
    setPictureRectangle(
        {m.p2X, m.p2Y, wrappingSum(m.p2X, m.p2Width), wrappingSum(m.p2Y, m.p2Height)},
        Picture::Two);
    if (auto& two = items_[at(Picture::Two)]) {
        two->hidden = m.pipOn == 0;
    }
}

void WallView::setPictureRectangle(const Rect& output, Picture which) {
    auto& item = items_[at(which)];
    if (item) {
        item->rect = wall::clampedInto(wall::outputToControl(output, scale_, size()), size());
    }
    update();
}

int WallView::labelCode(Picture which) const {
    return inputCode_[at(which)];
}

std::optional<Rect> WallView::pictureRect(Picture which) const {
    const auto& item = items_[at(which)];
    return item ? std::optional<Rect>(item->rect) : std::nullopt;
}

bool WallView::pictureShown(Picture which) const {
    const auto& item = items_[at(which)];
    return item && !item->hidden;
}

std::optional<Picture> WallView::selectedPicture() const {
    for (Picture i : kPictures) {
        const auto& item = items_[at(i)];
        if (item && item->selected) {
            return i;
        }
    }
    return std::nullopt;
}

std::array<Picture, 2> WallView::hitOrder() const {
    return picture1OnTop_ ? std::array<Picture, 2>{Picture::One, Picture::Two}
                          : std::array<Picture, 2>{Picture::Two, Picture::One};
}

std::optional<Picture> WallView::itemAt(QPoint p) const {
    for (Picture i : hitOrder()) {
        const auto& item = items_[at(i)];
        // What is drawn: picture 1 shown over the whole area covers it all.
        if (item && !item->hidden && wall::contains(drawnRect(i), p)) {
            return i;
        }
    }
    return std::nullopt;
}

Rect WallView::drawnRect(Picture which) const {
    const Item& item = *items_[at(which)];
    return which == Picture::One && wholeArea_ ? item.alternate : item.rect;
}

void WallView::select(std::optional<Picture> which) {
    for (Picture i : kPictures) {
        auto& item = items_[at(i)];
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
    if (!positioning_ || !items_[at(Picture::One)]) {
        return;
    }
    const QRect r = wall::toQRect(drawnRect(Picture::One));
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
    const std::optional<Picture> hit = itemAt(p);
    if (!hit) {
        select(std::nullopt);
        return;
    }
    if (positioning_ || (hit == Picture::One && wholeArea_)) {
        return;
    }
    select(hit);
    handle_ = wall::hitHandle(items_[at(*hit)]->rect, p);
    drag_ = handle_ == Handle::Interior ? Drag::Move
            : handle_ == Handle::None   ? Drag::RubberBand
                                        : Drag::Resize;
    confineFor(*hit, p);
    captured_ = true;
    start_ = current_ = last_ = p;
}

void WallView::confineFor(Picture which, QPoint press) {
    const Rect& r = items_[at(which)]->rect;
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
        const std::optional<Picture> hit = itemAt(raw);
        const bool draggable = hit == Picture::Two || (hit == Picture::One && !wholeArea_);
        setCursor(
            cursorFor(draggable ? wall::hitHandle(items_[at(*hit)]->rect, raw) : Handle::None));
        return;
    }
    dragTo(confined(raw));
}

void WallView::dragTo(QPoint p) {
    current_ = p;
    const std::optional<Picture> which = selectedPicture();
    if (drag_ == Drag::RubberBand || !which) {
        setCursor(Qt::ArrowCursor);
        last_ = p;
        update();
        return;
    }
    Item& item = *items_[at(*which)];
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
    const std::optional<Picture> which = selectedPicture();
    if ((ended == Drag::Move || ended == Drag::Resize) && which && p != start_) {
        sendWindow(*which);
    }
}

void WallView::sendWindow(Picture which) {
    const Rect out =
        wall::controlToOutput(items_[at(which)]->rect, scale_, outputWidth_, outputHeight_);
    if (which == Picture::Two) {
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

void WallView::paintPicture(QPainter& p, Picture which) const {
    const auto& item = items_[at(which)];
    if (!item || item->hidden) {
        return;
    }
    const std::size_t w = at(which);
    wall::PictureLook look;
    look.rect = wall::toQRect(drawnRect(which));
    look.number = which == Picture::One ? 1 : 2;
    look.suffix = wall::inputSuffix(inputCode_[w]);
    look.selected = item->selected;
    look.hollow = hollow_[w];
    look.background = background_[w];
    look.fill = which == Picture::One ? kPicture1Fill : kPicture2Fill;
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
