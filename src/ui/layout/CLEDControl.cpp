#include "layout/CLEDControl.h"

#include "commands/CommandFacade.h"
#include "layout/IPointLocateView.h"
#include "layout/LayoutPainter.h"
#include "link/DeviceLink.h"
#include "link/ParameterMirror.h"
#include "link/ResolutionTable.h"
#include "panels/PanelContext.h"
#include "store/KorvaneSettings.h"
#include "widgets/BusyRunner.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <chrono>

namespace korvane::ui {

using layout::Handle;

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
QImage loadBackground(const CKorvaneSettings& settings, std::filesystem::path file) {
    if (file.is_relative()) {
        file = settings.file().parent_path() / file;
    }
    return QImage(QString::fromStdString(file.string()));
}
} // namespace

CLEDControl::CLEDControl(const PanelContext& context, QWidget* parent)
    : QWidget(parent), mirror_(context.mirror), facade_(context.facade), link_(context.link),
      settings_(context.settings), busy_(context.busy), font_(layout::labelFont()) {
    // Every repaint covers the whole control from its own off-screen image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void CLEDControl::setPicture1OnTop(int onTop) {
    picture1OnTop_ = onTop != 0;
    update();
}

void CLEDControl::setHollow(int picture, bool hollow) {
    if (picture == 1 || picture == 2) {
        hollow_[static_cast<std::size_t>(picture - 1)] = hollow;
        update();
    }
}

void CLEDControl::setPicture1WholeArea(int wholeArea) {
    wholeArea_ = wholeArea != 0;
    update();
}

void CLEDControl::labelPicture(int selector, std::uint8_t code) {
    inputCode_[selector != 0 ? kPicture1 : kPicture2] = code;
    update();
}

void CLEDControl::setBoxSizes(int boxWidth, int boxHeight, int moduleWidth, int moduleHeight) {
    boxWidth_ = boxWidth;
    boxHeight_ = boxHeight;
    moduleWidth_ = moduleWidth;
    moduleHeight_ = moduleHeight;
}

void CLEDControl::startPositioning(int boxWidth, int boxHeight, int moduleWidth, int moduleHeight) {
    settings_.writeBoxWidth(boxWidth);
    settings_.writeBoxHeight(boxHeight);
    settings_.writeModuleWidth(moduleWidth);
    settings_.writeModuleHeight(moduleHeight);
    setBoxSizes(boxWidth, boxHeight, moduleWidth, moduleHeight);
    positioning_ = true;
    update();
}

void CLEDControl::stopPositioning() {
    positioning_ = false;
    // Takes the processor's marker off the wall.
    busy_.runUnseen([this] { facade_.locatePoint(0, 0, 0); });
    update();
}

void CLEDControl::clearItems() {
    items_ = {};
    drag_ = Drag::None;
    captured_ = false;
    confine_.reset();
    update();
}

void CLEDControl::redraw() {
    if (drag_ == Drag::None) {
        placeFromMirror();
    }
    update();
}

void CLEDControl::setUp(double scaleX, double scaleY, std::uint8_t resolutionCode) {
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

void CLEDControl::placeFromMirror() {
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

void CLEDControl::setPicture2Shown(bool shown) {
    if (items_[kPicture2]) {
        items_[kPicture2]->hidden = !shown;
    }
    update();
}

void CLEDControl::setPictureRectangle(const Rect& output, int which) {
    if (which != kPicture1 && which != kPicture2) {
        return;
    }
    auto& item = items_[static_cast<std::size_t>(which)];
    if (item) {
        item->rect = layout::clampedInto(layout::outputToControl(output, scale_, size()), size());
    }
    update();
}

std::optional<Rect> CLEDControl::pictureRect(int which) const {
    const auto& item = items_.at(static_cast<std::size_t>(which));
    return item ? std::optional<Rect>(item->rect) : std::nullopt;
}

bool CLEDControl::pictureShown(int which) const {
    const auto& item = items_.at(static_cast<std::size_t>(which));
    return item && !item->hidden;
}

int CLEDControl::selectedPicture() const {
    for (int i : {kPicture1, kPicture2}) {
        const auto& item = items_[static_cast<std::size_t>(i)];
        if (item && item->selected) {
            return i;
        }
    }
    return -1;
}

std::array<int, 2> CLEDControl::hitOrder() const {
    return picture1OnTop_ ? std::array<int, 2>{kPicture1, kPicture2}
                          : std::array<int, 2>{kPicture2, kPicture1};
}

int CLEDControl::itemAt(QPoint p) const {
    for (int i : hitOrder()) {
        const auto& item = items_[static_cast<std::size_t>(i)];
        if (item && !item->hidden && layout::contains(item->rect, p)) {
            return i;
        }
    }
    return -1;
}

Rect CLEDControl::drawnRect(int which) const {
    const Item& item = *items_[static_cast<std::size_t>(which)];
    return which == kPicture1 && wholeArea_ ? item.alternate : item.rect;
}

void CLEDControl::select(int which) {
    for (int i : {kPicture1, kPicture2}) {
        auto& item = items_[static_cast<std::size_t>(i)];
        if (item) {
            item->selected = i == which;
        }
    }
    update();
}

int CLEDControl::boxStepX() const {
    return layout::gridStep(boxWidth_, scale_.x);
}

int CLEDControl::boxStepY() const {
    return layout::gridStep(boxHeight_, scale_.y);
}

void CLEDControl::pointTo(QPoint p) {
    remembered_ = p;
    selectedPoint_ = {layout::truncated(p.x() * scale_.x), layout::truncated(p.y() * scale_.y)};
    // A box narrower than a control pixel leaves the fraction at 0 rather than dividing by 0.
    const double boxX = scale_.valid() ? boxWidth_ / scale_.x : 0.0;
    const double boxY = scale_.valid() ? boxHeight_ / scale_.y : 0.0;
    selectedBox_ = {boxX > 0.0 ? p.x() / boxX : 0.0, boxY > 0.0 ? p.y() / boxY : 0.0};
    locateFull_ = true;
    update();
}

void CLEDControl::selectBoxAtPicture1Centre() {
    if (!positioning_ || !items_[kPicture1]) {
        return;
    }
    const QRect r = layout::toQRect(drawnRect(kPicture1));
    pointTo(QPoint(r.left() + r.width() / 2, r.top() + r.height() / 2));
}

void CLEDControl::selectBox(int column, int row) {
    if (!positioning_) {
        return;
    }
    // In doubles: the numbers come from another window and must not overflow.
    selectedPoint_ = {layout::truncated(double(column) * boxWidth_ + boxWidth_ / 2),
                      layout::truncated(double(row) * boxHeight_ + boxHeight_ / 2)};
    selectedBox_ = QPointF(column, row);
    locateImage_ = true;
    update();
}

void CLEDControl::mousePressEvent(QMouseEvent* event) {
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
    handle_ = layout::hitHandle(items_[static_cast<std::size_t>(hit)]->rect, p);
    drag_ = handle_ == Handle::Interior ? Drag::Move
            : handle_ == Handle::None   ? Drag::RubberBand
                                        : Drag::Resize;
    confineFor(hit, p);
    captured_ = true;
    start_ = current_ = last_ = p;
}

void CLEDControl::confineFor(int which, QPoint press) {
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

QPoint CLEDControl::confined(QPoint p) const {
    if (!confine_) {
        return p;
    }
    return {std::clamp(p.x(), confine_->left(), confine_->right()),
            std::clamp(p.y(), confine_->top(), confine_->bottom())};
}

void CLEDControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint raw = event->position().toPoint();
    if (!captured_) {
        if (positioning_) {
            return;
        }
        const int hit = itemAt(raw);
        const bool draggable = hit == kPicture2 || (hit == kPicture1 && !wholeArea_);
        setCursor(cursorFor(
            draggable ? layout::hitHandle(items_[static_cast<std::size_t>(hit)]->rect, raw)
                      : Handle::None));
        return;
    }
    dragTo(confined(raw));
}

void CLEDControl::dragTo(QPoint p) {
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
        r = layout::dragEdges(r, handle_, p);
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
        item.rect = layout::clampedInto(r, size());
    }
    setCursor(cursorFor(handle_));
    last_ = p;
    update();
}

void CLEDControl::mouseReleaseEvent(QMouseEvent* event) {
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

void CLEDControl::sendWindow(int which) {
    const Rect out = layout::controlToOutput(items_[static_cast<std::size_t>(which)]->rect, scale_,
                                             outputWidth_, outputHeight_);
    if (which == kPicture2) {
        busy_.runUnseen([this, out] { facade_.setPicture2OutputWindow(out); });
    } else {
        busy_.runUnseen([this, out] {
            facade_.setPicture1OutputWindow(out);
            link_.pause(kPicture1Settle);
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

void CLEDControl::paintEvent(QPaintEvent*) {
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
        layout::drawBand(p, start_, current_);
    }
    QPainter(this).drawImage(0, 0, surface);
}

void CLEDControl::paintPicture(QPainter& p, int which) const {
    const auto& item = items_[static_cast<std::size_t>(which)];
    if (!item || item->hidden) {
        return;
    }
    const auto w = static_cast<std::size_t>(which);
    layout::PictureLook look;
    look.rect = layout::toQRect(drawnRect(which));
    look.number = which + 1;
    look.suffix = layout::inputSuffix(inputCode_[w]);
    look.selected = item->selected;
    look.hollow = hollow_[w];
    look.background = background_[w];
    look.fill = which == kPicture1 ? kPicture1Fill : kPicture2Fill;
    layout::drawPicture(p, look, font_);
}

void CLEDControl::paintPositioning(QImage& surface) {
    const int stepX = boxStepX();
    const int stepY = boxStepY();
    {
        QPainter p(&surface);
        layout::drawGridLines(p, size(), stepX, stepY);
    }
    const QRect cell = layout::selectedCell(selectedPoint_, scale_, stepX, stepY);
    if (locate_ != nullptr && locateFull_) {
        locateFull_ = false;
        locate_->takeBox(surface, cell, layout::truncated(selectedBox_.x()),
                         layout::truncated(selectedBox_.y()), boxWidth_, boxHeight_);
    }
    if (locate_ != nullptr && locateImage_) {
        locateImage_ = false;
        locate_->takeBoxImage(surface, cell);
    }
    QPainter p(&surface);
    layout::drawCellOutline(p, cell);
}

} // namespace korvane::ui
