#pragma once

#include <QObject>
#include <functional>
#include <map>

class QAction;
class QMenu;
class QMenuBar;

namespace korvane::ui {

// The main window's menu bar, each item named by its command number.
class FrameMenu : public QObject {
    Q_OBJECT
public:
    FrameMenu(QMenuBar& bar, std::function<void(int)> onCommand, QObject* parent = nullptr);
    QAction* action(int command) const;

private:
    QAction* add(QMenu& menu, int command, const QString& text, const QIcon& icon);

    std::function<void(int)> onCommand_;
    std::map<int, QAction*> actions_;
};

} // namespace korvane::ui
