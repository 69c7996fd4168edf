#pragma once

#include <QAbstractButton>
#include <QIcon>

namespace korvane::ui {

// The header of one side pane: icon, title and an open/closed mark.
class PaneHeaderButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kHeight = 28;

    PaneHeaderButton(const QString& title, const QIcon& icon, QWidget* parent = nullptr);
    // The stack tells each header whether its pane is open, so that it draws that state.
    void setOpenState(bool open);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool open_ = false;
    bool hover_ = false;
};

} // namespace korvane::ui
