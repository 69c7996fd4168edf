#pragma once

class QString;
class QWidget;

namespace korvane::ui {

// Says in the main window's status bar what a one-shot action did. `from` is any widget of the
// main window or of a dialog it owns; without a main window above it nothing is shown.
void announceDone(QWidget* from, const QString& text);

} // namespace korvane::ui
