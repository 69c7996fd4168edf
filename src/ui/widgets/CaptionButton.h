#pragma once

#include <QPushButton>

namespace korvane::ui {

// A push button whose caption may use all but a thin margin of its width. The style's own
// margins are wide enough to cut a caption fitted to a narrow button at both sides; this one
// draws the button without its caption, then the caption inside kMargin.
class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    static constexpr int kMargin = 3;

    using QPushButton::QPushButton;

    // The width a caption may take on a button `width` wide.
    static int captionRoom(int width);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace korvane::ui
