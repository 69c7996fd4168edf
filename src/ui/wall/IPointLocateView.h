#pragma once

class QImage;
class QRect;

namespace korvane::ui {

// What the point-locate tool takes from the layout control while positioning: the drawing of
// the wall and the selected box's cell in it (control pixels), from which it copies the box's
// image.
class IPointLocateView {
public:
    virtual ~IPointLocateView() = default;
    // A new box was selected on the drawing: copy its image and move the tool's point to the
    // box's top-left pixel.
    virtual void takeBox(const QImage& surface, const QRect& cell, int column, int row,
                         int boxWidth, int boxHeight) = 0;
    // The tool chose the box itself: only its image is new.
    virtual void takeBoxImage(const QImage& surface, const QRect& cell) = 0;
};

} // namespace korvane::ui
