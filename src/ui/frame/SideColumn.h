#pragma once

#include <QPointer>
#include <QWidget>

namespace korvane::ui {

// A side column of the splitter: hosts one child (the side pane stack) and keeps it at the
// column's size less one pixel on every side.
class SideColumn : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 30;
    static constexpr int kMaximumWidth = 300;

    explicit SideColumn(QWidget* parent = nullptr);
    void setHostedChild(QWidget* child);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeChild();
    QPointer<QWidget> child_;
};

} // namespace korvane::ui
