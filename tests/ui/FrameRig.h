#pragma once

#include "CallLog.h"
#include "EventFence.h"
#include "FakePanels.h"
#include "ScriptedPresenter.h"
#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/store/Settings.h"
#include "sim/SimPtyServer.h"
#include "support/RecordingSleeper.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"
#include "ui/device/UiMessageSink.h"
#include "ui/frame/MainWindow.h"

#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <vector>

namespace korvane::ui::test {

// The main frame with recording panels, over the simulator on a real pseudo-terminal, with
// its settings in a folder of its own.
struct FrameRig {
    QTemporaryDir home;
    sim::SimPtyServer server;
    ScriptedPresenter presenter;
    UiMessageSink sink{presenter};
    DeviceLink link{nullptr, &sink};
    // The simulator answers at once: the processor's pacing pauses are noted and cut short.
    korvane::test::RecordingSleeper pacing;
    ParameterMirror mirror{};
    CommandFacade facade{link, mirror};
    Settings settings{settingsFile(home)};
    DeviceGate gate;
    BusyRunner busy{link, gate};
    CallLog log;
    FakePanelFactory panels{log};
    // The program's own panels in place of the recording ones, when set before makeFrame.
    IPanelFactory* realPanels = nullptr;
    int restarts = 0;
    std::unique_ptr<MainWindow> frame;
    // Every message the frame handled: number and result.
    std::vector<std::pair<int, int>> handled;

    FrameRig();
    ~FrameRig();
    static std::filesystem::path settingsFile(const QTemporaryDir& dir);

    // Starts the simulator and opens the link to it.
    bool connect();
    // Builds the frame; with `awaitStartUp` also waits for its start-up synchronisation.
    MainWindow& makeFrame(bool awaitStartUp = true);
    // Waits until the frame has handled `number` `count` times in all.
    bool waitHandled(int number, std::size_t count = 1, int timeoutMs = 30000);
    std::size_t handledCount(int number) const;

    // Waits until the frame has nothing left to do and the line is quiet: the messages posted
    // to it handled (and those they post in turn), no exchange running or waiting, no pane
    // refresh pending, and everything sent so far at the simulator (a fence sent after it has
    // arrived). False when that does not come within `timeoutMs`.
    bool settle(int timeoutMs = 10000);

    // What the simulator received, fences left out.
    std::vector<frame::CommandFrame> sent() const;
    std::size_t framesSoFar() const { return sent().size(); }
    std::vector<std::uint8_t> readsSince(std::size_t from) const;
    std::vector<std::uint8_t> codesSince(std::size_t from) const;
};

// The read types of one synchronise-all, identity last.
inline const std::vector<std::uint8_t> kSynchroniseAllReads = {0, 1, 2, 3, 4, 6, 11, 12, 14, 8};

} // namespace korvane::ui::test
