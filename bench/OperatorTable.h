#pragma once

// The operator operations the benchmarks time on the desktop program (its main window with its
// own panels, against the simulated processor on a pseudo-terminal), and the table they fill:
// for each operation the wall time until the program came to rest, the floor of the waits its
// sent frames require, their ratio, and the longest time the operator's input was held back
// while neither a busy dialog nor the wait cursor showed it.

#include "FrameRig.h"
#include "ui/panels/PanelFactory.h"

#include <QElapsedTimer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace korvane::bench {

// Aims: wall time at most this times the floor, and no unseen hold longer than this.
constexpr double kRatioAim = 1.03;
constexpr qint64 kHiddenHoldAimMs = 100;

// A pause an operation owes to a frame it really sent: `ms` once per operation in which a frame
// with `code` (and, for a read request, read type `type`) went out.
struct Owed {
    std::uint8_t code;
    int type; // -1: any
    double ms;
};

struct OperationFigures {
    double wallMs;
    double floorMs;
    qint64 hiddenMs;
};
// Per operation, in the order the sessions run them; one entry per session.
using OperatorTable = std::vector<std::pair<std::string, std::vector<OperationFigures>>>;

// What a benchmark watches in every step besides the table (the event loop's stalls).
class StepWatch {
public:
    virtual ~StepWatch() = default;
    virtual void begin() = 0;
    // Called once the step has come to rest; returns what to print beside the step.
    virtual std::string end(const std::string& name, double seconds) = 0;
};

// Samples every 5 ms whether operator input is held back (a busy dialog or an unseen wait runs)
// while nothing shows it: no busy dialog on screen and no wait cursor.
class HiddenHoldProbe {
public:
    explicit HiddenHoldProbe(const ui::DeviceGate& gate);
    void start();
    // The longest unseen hold since start().
    qint64 stop();

private:
    void sample();

    const ui::DeviceGate& gate_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 since_ = -1;
    qint64 worst_ = 0;
};

// One session of the program: start-up, then every operator operation once, each adding its
// figures to the table.
class OperatorSession {
public:
    explicit OperatorSession(OperatorTable& table, StepWatch* watch = nullptr);

    // Opens the simulator's line, shows the main window and runs the operations.
    void runOperations();
    // A step outside the table, timed and watched like the operations.
    void step(const std::string& name, const std::function<void()>& action);

    ui::test::FrameRig& rig() { return rig_; }
    ui::MainWindow& frame() { return *frame_; }

private:
    void operation(const std::string& name, const std::vector<Owed>& owed,
                   const std::function<void()>& action);
    // The time from `since` to the program's last activity, once it has come to rest.
    qint64 waitQuiet(const QElapsedTimer& since);
    double floorMs(std::size_t fromFrame, const std::vector<Owed>& owed) const;
    template <class W> W& child(const char* name = nullptr);

    OperatorTable& table_;
    StepWatch* watch_;
    ui::test::FrameRig rig_;
    ui::PanelFactory panels_;
    ui::MainWindow* frame_ = nullptr;
    HiddenHoldProbe hidden_{rig_.gate};
    // Filled by the last step.
    qint64 lastActiveMs_ = 0;
    qint64 lastHiddenMs_ = 0;
};

// Prints the medians over the sessions, and the worst unseen hold of any session.
void printOperatorTable(OperatorTable& table, int sessions);

[[noreturn]] void sessionFailed(const char* what);

} // namespace korvane::bench
