#include "ui/panels/Picture2Window.h"

#include "ui/panels/PanelNumbers.h"

#include <algorithm>

namespace korvane::ui {

namespace {

std::size_t at(Picture2Field f) {
    return static_cast<std::size_t>(f);
}

// One direction: `position` + `size` must stay within `output`.
void fit(int& position, int& size, int output, int minimum, bool sizeEdited, bool positionEdited) {
    if (position + size <= output) {
        return;
    }
    if (sizeEdited) {
        size = output - position;
        if (size < minimum) {
            size = std::min(minimum, output);
            position = output - size;
        }
    } else if (positionEdited) {
        position = output - size;
    }
}

} // namespace

Picture2Window normalisePicture2Window(const std::array<QString, 4>& texts, Picture2Field edited,
                                       int outputWidth, int outputHeight) {
    Picture2Window w;
    w.width = evenEntry(texts[at(Picture2Field::Width)], {kPicture2MinimumWidth, outputWidth});
    w.x = evenEntry(texts[at(Picture2Field::X)], {0, outputWidth});
    w.height = evenEntry(texts[at(Picture2Field::Height)], {kPicture2MinimumHeight, outputHeight});
    w.y = evenEntry(texts[at(Picture2Field::Y)], {0, outputHeight});
    fit(w.x, w.width, outputWidth, kPicture2MinimumWidth, edited == Picture2Field::Width,
        edited == Picture2Field::X);
    fit(w.y, w.height, outputHeight, kPicture2MinimumHeight, edited == Picture2Field::Height,
        edited == Picture2Field::Y);
    return w;
}

} // namespace korvane::ui
