#pragma once

#include "ui/frame/FrameServices.h"
#include "ui/frame/FrameState.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/panels/PanelSet.h"

#include <QMainWindow>
#include <memory>

class QLabel;
class QSplitter;

namespace korvane {
class ScheduleExecutor;
}

namespace korvane::ui {

class FrameMessageTable;
class SideColumn;
class SideColumn;
class SidePaneStack;
class FrameCallbacks;
class FrameCommands;
class FrameMenu;
class FrameScheduleActions;
class FrameSynchroniser;
class FrameTemplateHost;
class FrameTimers;
class LinkStatusView;
class LinkStatusField;

// The single top-level window: the input bar across the top, the centre pane between two
// columns of collapsible panes, the status bar and the menu. Panels, the schedule runner and
// the tool windows reach each other through its messages.
class MainWindow : public QMainWindow, public IFrameMessenger {
    Q_OBJECT
public:
    static constexpr int kLeftStack = 0;
    static constexpr int kRightStack = 1;
    // Below these client sizes the column widths stay as they are.
    static constexpr int kSideColumnsReserve = 538;
    static constexpr int kLeftColumnWidth = 240;
    static constexpr int kRightColumnWidth = 298;
    static constexpr int kInitialColumnWidth = 200;
    // The smallest frame at which every pane, the drawing and the status bar stay readable; on
    // a smaller screen the frame's minimum is the screen's available area instead.
    static constexpr int kMinimumWidth = 800;
    static constexpr int kMinimumHeight = 560;
    static constexpr const char* kDefaultIcon = "main.ico";

    explicit MainWindow(const FrameServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    void post(FrameMessage m, long long first = 0, long long second = 0) override;
    int send(FrameMessage m, long long first = 0, long long second = 0) override;
    void openPane(int stack, int pane) override;
    void reannounceOpenPane(int stack) override;
    std::uint8_t currentResolution() const override { return state_.currentResolution; }
    void setCurrentResolution(std::uint8_t code) override { state_.currentResolution = code; }

    // Triggers the menu action with this command number.
    void runCommand(int command);
    QAction* action(int command) const;
    SidePaneStack& stack(int index) const;
    PanelSet& panels() { return panels_; }
    FrameState& state() { return state_; }
    FrameTimers& timers() { return *timers_; }
    ScheduleExecutor& scheduleExecutor() { return *executor_; }
    FrameCallbacks& callbacks() { return *callbacks_; }
    // Sets the frame's minimum size: its own, or the primary screen's available area when that
    // is smaller.
    void fitMinimumToScreen();
    // The latest message, on the left of the status bar.
    void setStatusText(const QString& text);
    // The link as it is now, in the status bar's permanent field on the right.
    LinkStatusField& linkStatus() const { return *linkStatus_; }

signals:
    // After the frame handled a message (posted or sent): its number and the result.
    void messageHandled(int number, int result);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildClientArea();
    void buildInputBar();
    void buildStatusBar();
    void wirePanels();
    void connectMenu();
    int deliver(FrameMessage m, long long first, long long second);
    void scheduleTick();
    void displayRepaint();
    void pendingPaneRefresh();
    void updateMenuChecks();
    void showTestPattern();

    FrameServices s_;
    FrameState state_;
    PanelSet panels_;
    QSplitter* splitter_ = nullptr;
    SideColumn* leftColumn_ = nullptr;
    SideColumn* rightColumn_ = nullptr;
    SidePaneStack* stacks_[2] = {nullptr, nullptr};
    QLabel* statusText_ = nullptr;
    LinkStatusField* linkStatus_ = nullptr;
    std::unique_ptr<FrameMenu> menu_;
    std::unique_ptr<FrameTimers> timers_;
    std::unique_ptr<FrameSynchroniser> synchroniser_;
    std::unique_ptr<FrameTemplateHost> templates_;
    std::unique_ptr<FrameScheduleActions> scheduleActions_;
    std::unique_ptr<ScheduleExecutor> executor_;
    std::unique_ptr<FrameCallbacks> callbacks_;
    std::unique_ptr<FrameMessageTable> messages_;
    std::unique_ptr<FrameCommands> commands_;
    std::unique_ptr<LinkStatusView> linkView_;
};

} // namespace korvane::ui
