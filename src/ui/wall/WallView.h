#pragma once

#include "ui/panels/ILayoutControl.h"
#include "ui/wall/LayoutGeometry.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QWidget>
#include <array>
#include <optional>

namespace korvane {
class Settings;
class CommandFacade;
class DeviceLink;
struct ParameterMirror;
} // namespace korvane

namespace korvane::ui {

class BusyRunner;
class IPointLocateView;
struct PanelContext;

// The wall drawn to scale with picture 1 and picture 2. The operator drags and resizes either
// picture; when a drag ends the picture's new output window goes to the processor.
class WallView : public QWidget, public ILayoutControl {
    Q_OBJECT
public:
    enum class Drag { None, RubberBand, Move, Resize };

    explicit WallView(const PanelContext& context, QWidget* parent = nullptr);

    // ILayoutControl. The hollow, whole-area and label settings belong to the control, not to
    // the pictures, so a re-fit keeps what the frame last said.
    void setPicture1OnTop(bool onTop) override;
    void setHollow(Picture picture, bool hollow) override;
    void setPicture1WholeArea(bool wholeArea) override;
    void labelPicture(Picture picture, std::uint8_t code) override;
    void stopPositioning() override;
    void selectBox(int column, int row) override;
    void setBoxSizes(int boxWidth, int boxHeight, int moduleWidth, int moduleHeight) override;
    void clearItems() override;
    // Takes both windows and picture 2's switch from the mirror again (panels call it after
    // sending a window themselves), unless a drag is running, and repaints.
    void redraw() override;

    // From the centre pane, with the control already at its size, for an output of `output`
    // pixels. An empty size or scale keeps the pictures as they are.
    void setUp(double scaleX, double scaleY, QSize output);
    // An output window (x, y, x + width, y + height) for picture `which`.
    void setPictureRectangle(const Rect& output, Picture which);
    // Resizing stops here (control pixels).
    void setMinimumPictureSize(QSize size) { minimum_ = size; }

    // The point-locate tool: positioning shows the box grid, a click selects a box.
    void startPositioning(int boxWidth, int boxHeight, int moduleWidth, int moduleHeight);
    void selectBoxAtPicture1Centre();
    void setPointLocateView(IPointLocateView* view) { locate_ = view; }
    QSize boxSize() const { return {boxWidth_, boxHeight_}; }
    QSize moduleSize() const { return {moduleWidth_, moduleHeight_}; }
    // The output in pixels, as the last set-up found it (0 × 0 before).
    QSize outputSize() const { return {outputWidth_, outputHeight_}; }

    // What the drawing shows.
    std::optional<Rect> pictureRect(Picture which) const;
    bool pictureShown(Picture which) const;
    std::optional<Picture> selectedPicture() const;
    // The input code picture `which` is labelled with; -1 before any.
    int labelCode(Picture which) const;
    bool positioning() const { return positioning_; }
    QPoint selectedPoint() const { return selectedPoint_; }
    QPointF selectedBox() const { return selectedBox_; }
    Drag drag() const { return drag_; }
    wall::Scale scale() const { return scale_; }

signals:
    // A picture's output window was sent.
    void windowSent(Picture picture);
    // Sending picture 1's window ended its whole-area display.
    void wholeAreaCleared();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Item {
        Rect rect;      // control pixels
        Rect alternate; // picture 1's whole-area rectangle: the client area at set-up
        bool selected = false;
        bool hidden = false;
    };

    std::array<Picture, 2> hitOrder() const;
    std::optional<Picture> itemAt(QPoint p) const;
    Rect drawnRect(Picture which) const;
    void select(std::optional<Picture> which);
    void pointTo(QPoint p);
    QPoint confined(QPoint p) const;
    void confineFor(Picture which, QPoint press);
    void dragTo(QPoint p);
    void sendWindow(Picture which);
    void paintPicture(QPainter& p, Picture which) const;
    void paintPositioning(QImage& surface);
    void placeFromMirror();
    int boxStepX() const;
    int boxStepY() const;

    ParameterMirror& mirror_;
    CommandFacade& facade_;
    DeviceLink& link_;
    Settings& settings_;
    BusyRunner& busy_;
    IPointLocateView* locate_ = nullptr;

    wall::Scale scale_;
    int outputWidth_ = 0;
    int outputHeight_ = 0;
    // By picture, as are the arrays below.
    std::array<std::optional<Item>, 2> items_;
    std::array<bool, 2> hollow_{false, false};
    std::array<int, 2> inputCode_{-1, -1};
    std::array<QImage, 2> background_;
    bool wholeArea_ = false;
    bool picture1OnTop_ = false;
    QSize minimum_{0, 0};
    QFont font_;

    Drag drag_ = Drag::None;
    wall::Handle handle_ = wall::Handle::None;
    bool captured_ = false;
    std::optional<QRect> confine_;
    QPoint remembered_{-1, -1};
    QPoint start_{-1, -1};
    QPoint current_{-1, -1};
    QPoint last_{-1, -1};

    bool positioning_ = false;
    int boxWidth_ = 96;
    int boxHeight_ = 96;
    int moduleWidth_ = 16;
    int moduleHeight_ = 16;
    QPoint selectedPoint_{0, 0};
    QPointF selectedBox_{0, 0};
    bool locateFull_ = false;
    bool locateImage_ = false;
};

} // namespace korvane::ui
