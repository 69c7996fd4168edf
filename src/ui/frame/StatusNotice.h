#pragma once

class QString;
class QWidget;

namespace korvane::ui {

// Says in the main window's status bar what a one-shot action did. `from` is the widget that
// acted: the main window above it, or the program's main window when none is above it (a
// dialog opened without a parent). Without any main window nothing is shown.
void announceDone(QWidget* from, const QString& text);

} // namespace korvane::ui
