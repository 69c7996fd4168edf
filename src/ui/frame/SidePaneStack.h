#pragma once

#include <QWidget>
#include <vector>

class QScrollArea;

namespace korvane::ui {

class PaneHeaderButton;
class IFrameMessenger;
class MessagePresenter;

// A column of collapsible panes with exactly one open: the open pane's header stays where it
// is in the list, its panel fills the space below it, and the headers of the panes after it
// sit at the bottom.
class SidePaneStack : public QWidget {
    Q_OBJECT
public:
    explicit SidePaneStack(QWidget* parent = nullptr);

    // Adds a pane, which becomes the open one without being announced. False (with the
    // out-of-memory message) when it cannot be added.
    bool addPane(const QString& title, const QIcon& icon, QWidget* panel);
    void setStackIndex(int index) { index_ = index; }
    int stackIndex() const { return index_; }
    void setOwner(IFrameMessenger* owner) { owner_ = owner; }
    void setPresenter(MessagePresenter* presenter) { presenter_ = presenter; }

    int paneCount() const { return static_cast<int>(panes_.size()); }
    // -1 before the first pane.
    int openPaneIndex() const;
    // Opens a pane by number, without announcing it.
    void openPane(int pane);
    // Sends PaneRefreshNow (stack, open pane) to the owner.
    void reannounce();
    PaneHeaderButton* header(int pane) const;
    QWidget* panel(int pane) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Pane {
        PaneHeaderButton* header;
        QWidget* panel;
        // Holds the panel; scrolls when the column is shorter than the panel.
        QScrollArea* scroll;
        bool open;
    };
    void headerClicked(int pane);
    void setOpen(int pane);
    void layoutPanes();

    std::vector<Pane> panes_;
    int index_ = -1;
    IFrameMessenger* owner_ = nullptr;
    MessagePresenter* presenter_ = nullptr;
};

} // namespace korvane::ui
