#pragma once

#include "ui/frame/PaneRefreshPlan.h"

#include <cstdint>

class QWidget;

namespace korvane::ui {

class IFrameMessenger;
struct FrameServices;
struct PanelSet;

// Keeps the panels and the processor in step: the synchronisation at start-up and on request,
// the reads of an opened side pane, and the redraw of every panel from the mirror.
class FrameSynchroniser {
public:
    FrameSynchroniser(QWidget& window, IFrameMessenger& frame, const FrameServices& services,
                      PanelSet& panels)
        : window_(window), frame_(frame), s_(services), panels_(panels) {}

    // Synchronise. At start-up the mirror first takes the defaults of code 6, and a schedule
    // that was running at the last exit reopens its runner instead of any read. 1 when
    // synchronise-all succeeded and the panels were redrawn.
    int synchronise(bool startup);
    // ApplyResolutionDefaults: the mirror's defaults for a resolution; nothing is sent. False (with
    // the message) for a code the table does not know.
    bool applyResolutionDefaults(std::uint8_t code);
    // After a successful synchronise-all: the current resolution, every panel, and the two
    // pictures' inputs from the switch state just read; all with the send switch off.
    void readBackDone();
    // Output, dual picture, sound, picture quality, capture, input bar, centre pane.
    void refreshAllPanels();
    // The reads of one side pane on a worker, then the redraw of what they changed.
    void refreshPane(int stack, int pane, PaneRefreshPath path);

private:
    QWidget& window_;
    IFrameMessenger& frame_;
    const FrameServices& s_;
    PanelSet& panels_;
};

} // namespace korvane::ui
