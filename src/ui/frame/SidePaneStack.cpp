#include "ui/frame/SidePaneStack.h"

#include "ui/device/MessagePresenter.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/frame/PaneHeaderButton.h"

#include <QScrollArea>
#include <new>

namespace korvane::ui {

SidePaneStack::SidePaneStack(QWidget* parent) : QWidget(parent) {}

bool SidePaneStack::addPane(const QString& title, const QIcon& icon, QWidget* panel) {
    PaneHeaderButton* header = nullptr;
    QScrollArea* scroll = nullptr;
    try {
        header = new PaneHeaderButton(title, icon, this);
        scroll = new QScrollArea(this);
        panes_.push_back({header, panel, scroll, false});
    } catch (const std::bad_alloc&) {
        delete header;
        delete scroll;
        if (presenter_ != nullptr) {
            presenter_->inform(this,
                               tr("Failed to add a new pane to the stack.\n\nOut of memory."));
        }
        return false;
    }
    scroll->setFrameStyle(QFrame::NoFrame);
    scroll->setLineWidth(0);
    scroll->setContentsMargins(0, 0, 0, 0);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(panel);
    const int n = paneCount() - 1;
    connect(header, &QAbstractButton::clicked, this, [this, n] { headerClicked(n); });
    header->show();
    setOpen(n);
    return true;
}

int SidePaneStack::openPaneIndex() const {
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        if (panes_[i].open) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void SidePaneStack::openPane(int pane) {
    if (pane >= 0 && pane < paneCount()) {
        setOpen(pane);
    }
}

void SidePaneStack::reannounce() {
    const int open = openPaneIndex();
    if (owner_ != nullptr && open >= 0) {
        owner_->sendPaneRefreshNow(index_, open);
    }
}

PaneHeaderButton* SidePaneStack::header(int pane) const {
    return pane >= 0 && pane < paneCount() ? panes_[static_cast<std::size_t>(pane)].header
                                           : nullptr;
}

QWidget* SidePaneStack::panel(int pane) const {
    return pane >= 0 && pane < paneCount() ? panes_[static_cast<std::size_t>(pane)].panel : nullptr;
}

void SidePaneStack::headerClicked(int pane) {
    if (pane == openPaneIndex()) {
        return;
    }
    setOpen(pane);
    if (owner_ != nullptr) {
        owner_->postPaneOpened(index_, pane);
    }
}

void SidePaneStack::setOpen(int pane) {
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        Pane& p = panes_[i];
        p.open = static_cast<int>(i) == pane;
        p.header->setOpenState(p.open);
        p.scroll->setVisible(p.open);
        p.panel->setVisible(p.open);
    }
    layoutPanes();
}

void SidePaneStack::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPanes();
}

void SidePaneStack::layoutPanes() {
    const int open = openPaneIndex();
    const int h = PaneHeaderButton::kHeight;
    const int w = width();
    int top = 0;
    for (int i = 0; i <= open; ++i) {
        panes_[static_cast<std::size_t>(i)].header->setGeometry(0, top, w, h);
        top += h + 1;
    }
    int bottom = height();
    for (int i = paneCount() - 1; i > open; --i) {
        bottom -= h;
        panes_[static_cast<std::size_t>(i)].header->setGeometry(0, bottom, w, h);
        bottom -= 1;
    }
    if (open >= 0) {
        panes_[static_cast<std::size_t>(open)].scroll->setGeometry(0, top, w,
                                                                   std::max(0, bottom - top));
    }
}

} // namespace korvane::ui
