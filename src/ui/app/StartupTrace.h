#pragma once

#include <QObject>

namespace korvane::ui {

class MainWindow;

// With KORVANE_TRACE_STARTUP set, prints to stderr when the main window is first painted and
// when its start-up synchronisation has ended, each as a steady-clock time in nanoseconds, so
// that a benchmark can time the start-up from outside. Without the variable it does nothing.
class StartupTrace : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kVariable = "KORVANE_TRACE_STARTUP";

    // Watches `frame` when the variable is set; the trace lives as long as the frame.
    static void attachIfAsked(MainWindow& frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit StartupTrace(MainWindow& frame);
    static void print(const char* what, int result = 1);

    bool painted_ = false;
    bool synchronised_ = false;
};

} // namespace korvane::ui
