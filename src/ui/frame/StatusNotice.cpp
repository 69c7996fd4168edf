#include "ui/frame/StatusNotice.h"

#include <QMainWindow>
#include <QStatusBar>

namespace korvane::ui {

namespace {
// Long enough to be read after a busy dialog closes.
constexpr int kShownMs = 10000;
} // namespace

void announceDone(QWidget* from, const QString& text) {
    for (QWidget* w = from; w != nullptr; w = w->parentWidget()) {
        if (auto* main = qobject_cast<QMainWindow*>(w)) {
            main->statusBar()->showMessage(text, kShownMs);
            return;
        }
    }
}

} // namespace korvane::ui
