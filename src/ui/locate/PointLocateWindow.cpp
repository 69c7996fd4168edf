#include "ui/locate/PointLocateWindow.h"

#include "core/commands/CommandFacade.h"
#include "ui/device/BusyRunner.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/locate/LocateSettingsDialog.h"
#include "ui/panels/PanelContext.h"
#include "ui/panels/PanelNumbers.h"
#include "ui/wall/WallView.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace korvane::ui {

using locate::kMagnification;
using locate::kStripHeight;

namespace {
constexpr int kCoordinatePixels = 11;
constexpr int kLabelWidth = 16;
constexpr int kMargin = 3;
const QColor kCoordinateColour(255, 0, 0);
const QColor kMarkerColour(255, 255, 0);
const QColor kModuleLineColour(255, 255, 255);
} // namespace

PointLocateWindow::PointLocateWindow(const PanelContext& context, QWidget* parent)
    : QDialog(parent), facade_(context.facade), busy_(context.busy), presenter_(context.presenter),
      font_(QFontDatabase::systemFont(QFontDatabase::TitleFont)),
      xLabel_(new QLabel(QStringLiteral("X:"), this)),
      yLabel_(new QLabel(QStringLiteral("Y:"), this)), x_(new QLineEdit(this)),
      y_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("pointLocateWindow"));
    setWindowTitle(tr("逐点定位"));
    font_.setPixelSize(kCoordinatePixels);
    x_->setObjectName(QStringLiteral("locateX"));
    y_->setObjectName(QStringLiteral("locateY"));
    for (QLineEdit* e : {x_, y_}) {
        e->setMaxLength(6);
        e->installEventFilter(this);
    }
    // Enter and Tab on the window itself as well as in its edits.
    installEventFilter(this);
    showValues();
    placeStrip();
}

QPoint PointLocateWindow::point() const {
    return {at_.column * box_.width() + at_.ox, at_.row * box_.height() + at_.oy};
}

QPoint PointLocateWindow::typed() const {
    return {leadingInt(x_->text()), leadingInt(y_->text())};
}

QPoint PointLocateWindow::clamped(QPoint p) const {
    return {locate::clampToOutput(p.x(), output_.width()),
            locate::clampToOutput(p.y(), output_.height())};
}

void PointLocateWindow::showValues() {
    const QPoint p = point();
    x_->setText(QString::number(p.x()));
    y_->setText(QString::number(p.y()));
}

QRect PointLocateWindow::imageArea() const {
    return {0, 0, width(), std::max(0, height() - kStripHeight)};
}

void PointLocateWindow::showGeometry(const QRect& rect, QSize module, QSize output) {
    // One box pixel is two window pixels, so the window keeps the size it is given.
    setFixedSize(rect.size());
    setGeometry(rect);
    module_ = module;
    output_ = output;
    active_ = true;
    placeStrip();
}

void PointLocateWindow::placeStrip() {
    const int top = height() - kStripHeight + kMargin;
    const int half = width() / 2;
    const int editWidth = std::max(24, half - kLabelWidth - 2 * kMargin);
    const int editHeight = kStripHeight - 2 * kMargin;
    xLabel_->setGeometry(kMargin, top, kLabelWidth, editHeight);
    x_->setGeometry(kMargin + kLabelWidth, top, editWidth, editHeight);
    yLabel_->setGeometry(half + kMargin, top, kLabelWidth, editHeight);
    y_->setGeometry(half + kMargin + kLabelWidth, top, editWidth, editHeight);
}

void PointLocateWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeStrip();
}

void PointLocateWindow::takeBox(const QImage& surface, const QRect& cell, int column, int row,
                                int boxWidth, int boxHeight) {
    image_ = surface.copy(cell);
    box_ = {boxWidth, boxHeight};
    at_ = {column, row, 0, 0};
    showValues();
    update();
}

void PointLocateWindow::takeBoxImage(const QImage& surface, const QRect& cell) {
    image_ = surface.copy(cell);
    showValues();
    update();
}

void PointLocateWindow::sendPoint(QPoint p) {
    busy_.runUnseen([this, p] { facade_.locatePoint(p.x(), p.y(), kMarkerOn); });
}

void PointLocateWindow::moveTo(QPoint p) {
    p = clamped(p);
    at_ = locate::boxOf(p, box_);
    showValues();
    sendPoint(p);
    if (frame_ != nullptr) {
        frame_->postSelectBox(at_.column, at_.row);
    }
    update();
}

void PointLocateWindow::arrow(int direction) {
    if (active_) {
        moveTo(locate::stepped(typed(), direction));
    }
}

void PointLocateWindow::enterOrTab(QObject* watched, bool tab) {
    if (!active_) {
        return;
    }
    moveTo(typed());
    if (tab) {
        (watched == x_ ? y_ : x_)->setFocus(Qt::TabFocusReason);
    }
}

void PointLocateWindow::leaveEdit(QLineEdit* edit) {
    if (!active_) {
        return;
    }
    const QPoint now = point();
    QPoint p = now;
    if (edit == x_) {
        p.setX(locate::clampToOutput(leadingInt(edit->text()), output_.width()));
    } else {
        p.setY(locate::clampToOutput(leadingInt(edit->text()), output_.height()));
    }
    if (p != now) {
        moveTo(p);
    } else {
        showValues(); // a value that clamps back to the point reads as the point again
    }
}

bool PointLocateWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != this && watched != x_ && watched != y_) {
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) {
            enterOrTab(watched, key == Qt::Key_Tab);
            return true; // consumed even while inactive
        }
    } else if (event->type() == QEvent::FocusOut && watched != this) {
        leaveEdit(static_cast<QLineEdit*>(watched));
    }
    return QDialog::eventFilter(watched, event);
}

void PointLocateWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint c = event->position().toPoint();
    // The strip below the box holds the edits; a click there names no pixel of the box.
    if (!active_ || event->button() != Qt::LeftButton || !imageArea().contains(c)) {
        QDialog::mousePressEvent(event);
        return;
    }
    const QPoint origin(at_.column * box_.width(), at_.row * box_.height());
    const QPoint p = clamped(origin + QPoint(c.x() / kMagnification, c.y() / kMagnification));
    // The box stays; only the offset follows a clamped coordinate.
    at_.ox = p.x() - origin.x();
    at_.oy = p.y() - origin.y();
    showValues();
    sendPoint(p);
    update();
}

void PointLocateWindow::paintEvent(QPaintEvent*) {
    if (image_.isNull()) {
        return;
    }
    QPainter p(this);
    const QRect area = imageArea();
    p.fillRect(QRect(0, area.bottom() + 1, width(), kStripHeight),
               palette().color(QPalette::Window));
    p.drawImage(area, image_);
    const int stepX = kMagnification * module_.width();
    const int stepY = kMagnification * module_.height();
    if (module_.width() > 0 && module_.height() > 0) {
        p.setPen(kModuleLineColour);
        for (int x = stepX; x < area.width(); x += stepX) {
            p.drawLine(x, 0, x, area.bottom());
        }
        for (int y = stepY; y < area.height(); y += stepY) {
            p.drawLine(0, y, area.right(), y);
        }
    }
    const QPoint at(kMagnification * at_.ox, kMagnification * at_.oy);
    const QPoint pt = point();
    p.setFont(font_);
    p.setPen(kCoordinateColour);
    p.drawText(QRect(at, QSize(width(), height())), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("(%1,%2)").arg(pt.x()).arg(pt.y()));
    p.fillRect(QRect(at, QSize(kMagnification, kMagnification)), kMarkerColour);
}

void PointLocateWindow::reject() {
    close();
}

void PointLocateWindow::closeEvent(QCloseEvent* event) {
    const bool wasOpen = active_ || isVisible();
    module_ = {0, 0};
    active_ = false;
    image_ = QImage();
    hide();
    event->accept();
    // The frame stops the drawing's positioning mode, which takes the marker off the wall.
    if (wasOpen && frame_ != nullptr) {
        frame_->postPointLocateClosed();
    }
}

void PointLocateWindow::runTool() {
    if (isVisible()) {
        close();
        return;
    }
    if (layout_ == nullptr) {
        return;
    }
    const QSize box = layout_->boxSize();
    const QSize module = layout_->moduleSize();
    QWidget* owner = parentWidget();
    const QScreen* screen = owner != nullptr ? owner->screen() : this->screen();
    const QRect work = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    LocateSettingsDialog settings({box.width(), box.height(), module.width(), module.height()},
                                  presenter_, owner);
    settings.setBoxLimit(locate::maximumBox(work));
    if (settings.exec() != QDialog::Accepted) {
        return;
    }
    const locate::BoxSizes s = settings.sizes();
    layout_->startPositioning(s.boxWidth, s.boxHeight, s.moduleWidth, s.moduleHeight);
    layout_->selectBoxAtPicture1Centre();
    showGeometry(locate::toolWindowRect(work, {s.boxWidth, s.boxHeight}),
                 {s.moduleWidth, s.moduleHeight}, layout_->outputSize());
    show();
    raise();
    activateWindow();
}

} // namespace korvane::ui
