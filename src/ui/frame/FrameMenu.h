#pragma once

#include <QObject>
#include <map>

class QAction;
class QMenu;
class QMenuBar;

namespace korvane::ui {

// The main window's menu bar, each action carrying its command number as its data. The window
// connects each action to what it does.
class FrameMenu : public QObject {
    Q_OBJECT
public:
    explicit FrameMenu(QMenuBar& bar, QObject* parent = nullptr);
    QAction* action(int command) const;

private:
    QAction* add(QMenu* menu, int command, const QString& text, const QIcon& icon);

    std::map<int, QAction*> actions_;
};

} // namespace korvane::ui
