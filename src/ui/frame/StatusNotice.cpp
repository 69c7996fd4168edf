#include "ui/frame/StatusNotice.h"

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>

namespace korvane::ui {

namespace {
// Long enough to be read after a busy dialog closes.
constexpr int kShownMs = 10000;

// The main window above `from`, else the program's main window: a dialog opened without a
// parent (or from a window of its own) still reports to the one status bar there is.
QMainWindow* statusWindow(QWidget* from) {
    for (QWidget* w = from; w != nullptr; w = w->parentWidget()) {
        if (auto* main = qobject_cast<QMainWindow*>(w)) {
            return main;
        }
    }
    QMainWindow* hidden = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* main = qobject_cast<QMainWindow*>(w)) {
            if (main->isVisible()) {
                return main;
            }
            hidden = hidden != nullptr ? hidden : main;
        }
    }
    return hidden;
}
} // namespace

void announceDone(QWidget* from, const QString& text) {
    if (QMainWindow* main = statusWindow(from)) {
        main->statusBar()->showMessage(text, kShownMs);
    }
}

} // namespace korvane::ui
