#pragma once

#include "core/link/ResolutionTable.h"

#include <QString>
#include <array>
#include <cstdint>
#include <string>

namespace korvane::ui {

class ScheduleRunnerDialog;

// The side pane whose reads timer 3 will run.
struct PendingPaneRefresh {
    bool pending = false;
    int stack = -1;
    int pane = -1;
};

// What the main frame remembers between messages and commands.
struct FrameState {
    // The output resolution the output panel compares against.
    std::uint8_t currentResolution = kDefaultResolution;
    // Handed over by the template-file callback for LoadTemplatePath.
    std::string templatePath;
    // Set by a language change: the close asks nothing.
    bool restarting = false;
    bool chinese = true;
    // By picture.
    std::array<bool, 2> hollow{false, false};
    // Initial folder of the template file dialogs.
    QString lastTemplateFolder;
    PendingPaneRefresh pendingRefresh;
    // The schedule runner while it is open.
    ScheduleRunnerDialog* runner = nullptr;
    bool laidOut = false;
};

} // namespace korvane::ui
