#pragma once

#include "ui/panels/ICentrePane.h"
#include "ui/panels/ILayoutControl.h"

#include <QWidget>

namespace korvane {
struct ParameterMirror;
}

namespace korvane::ui {

// Stands in for the centre pane: draws the wall at the mirror's output resolution with both
// pictures, and keeps the flags the frame sets, until the layout control's issue replaces it.
class CPlaceholderCentrePane : public QWidget, public ICentrePane, public ILayoutControl {
    Q_OBJECT
public:
    explicit CPlaceholderCentrePane(const ParameterMirror& mirror, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    void refreshFromMirror() override { update(); }
    ILayoutControl& layoutControl() override { return *this; }

    void setPicture1OnTop(int onTop) override;
    void setHollow(int picture, bool hollow) override;
    void setPicture1WholeArea(int wholeArea) override;
    void labelPicture(int, std::uint8_t) override { update(); }
    void stopPositioning() override {}
    void selectBox(int, int) override {}
    void setBoxSizes(int, int, int, int) override {}
    void clearItems() override {}
    void redraw() override { update(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ParameterMirror& mirror_;
    bool picture1OnTop_ = true;
    bool hollow_[2] = {false, false};
};

} // namespace korvane::ui
