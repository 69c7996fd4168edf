#pragma once

#include "ui/locate/LocateMath.h"
#include "ui/panels/IPointLocateWindow.h"
#include "ui/wall/IPointLocateView.h"

#include <QDialog>
#include <QFont>
#include <QImage>

class QLabel;
class QLineEdit;

namespace korvane {
class CommandFacade;
}

namespace korvane::ui {

class BusyRunner;
class WallView;
class MessagePresenter;
struct PanelContext;

// "逐点定位": lights one marked pixel on the wall and shows the LED box around it twice as
// large. The point moves with the arrow keys, a click into the box, or typed coordinates; the
// layout control's positioning mode keeps the drawing's selected box in step.
class PointLocateWindow : public QDialog, public IPointLocateWindow, public IPointLocateView {
    Q_OBJECT
public:
    // The marker's mode byte of LocatePoint.
    static constexpr std::uint8_t kMarkerOn = 1;

    explicit PointLocateWindow(const PanelContext& context, QWidget* parent = nullptr);

    // IPointLocateWindow.
    bool isShown() const override { return isVisible(); }
    void arrow(int direction) override;
    QWidget* widget() override { return this; }
    void attachFrame(IFrameMessenger* frame) override { frame_ = frame; }
    void runTool() override;

    // IPointLocateView.
    void takeBox(const QImage& surface, const QRect& cell, int column, int row, int boxWidth,
                 int boxHeight) override;
    void takeBoxImage(const QImage& surface, const QRect& cell) override;

    // The drawing whose positioning mode works with this window.
    void setLayoutControl(WallView* control) { layout_ = control; }
    // The window's client rectangle on the screen, the module size and the output size; from
    // here on keys, clicks and edits act.
    void showGeometry(const QRect& rect, QSize module, QSize output);

    bool active() const { return active_; }
    // The point in output pixels, and where it lies in its box.
    QPoint point() const;
    QSize boxSize() const { return box_; }
    QSize moduleSize() const { return module_; }
    bool holdsImage() const { return !image_.isNull(); }
    QLineEdit& xEdit() const { return *x_; }
    QLineEdit& yEdit() const { return *y_; }

public slots:
    void reject() override; // Escape closes like the close box

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QPoint typed() const;
    QPoint clamped(QPoint p) const;
    void showValues();
    // Sends the point, tells the frame its box, and shows it.
    void moveTo(QPoint p);
    void sendPoint(QPoint p);
    void enterOrTab(QObject* watched, bool tab);
    void leaveEdit(QLineEdit* edit);
    void placeStrip();
    QRect imageArea() const;

    CommandFacade& facade_;
    BusyRunner& busy_;
    MessagePresenter& presenter_;
    IFrameMessenger* frame_ = nullptr;
    WallView* layout_ = nullptr;

    bool active_ = false;
    QSize output_{0, 0};
    QSize box_{locate::BoxSizes{}.boxWidth, locate::BoxSizes{}.boxHeight};
    QSize module_{0, 0};
    locate::BoxPoint at_;
    QImage image_;
    QFont font_;
    QLabel* xLabel_;
    QLabel* yLabel_;
    QLineEdit* x_;
    QLineEdit* y_;
};

} // namespace korvane::ui
