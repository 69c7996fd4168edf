#include "ui/frame/SideColumn.h"

namespace korvane::ui {

SideColumn::SideColumn(QWidget* parent) : QWidget(parent) {
    setMinimumWidth(kMinimumWidth);
    setMaximumWidth(kMaximumWidth);
}

void SideColumn::setHostedChild(QWidget* child) {
    child_ = child;
    if (child_ != nullptr) {
        child_->setParent(this);
        placeChild();
        child_->show();
    }
}

void SideColumn::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeChild();
}

void SideColumn::placeChild() {
    if (child_ == nullptr) {
        return;
    }
    const QRect r = rect().adjusted(1, 1, -1, -1);
    child_->setGeometry(r.left(), r.top(), std::max(0, r.width()), std::max(0, r.height()));
    child_->update();
}

} // namespace korvane::ui
