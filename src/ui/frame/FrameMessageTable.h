#pragma once

#include "ui/frame/FrameMessage.h"

class QWidget;

namespace korvane::ui {

class FrameCallbacks;
class FrameSynchroniser;
class FrameTemplateHost;
class FrameTimers;
class IFrameMessenger;
struct FrameServices;
struct FrameState;
struct PanelSet;

// The main frame's private messages and what each one does: one table, in the .cpp.
class FrameMessageTable {
public:
    struct Parts {
        QWidget& window;
        IFrameMessenger& frame;
        const FrameServices& services;
        FrameState& state;
        PanelSet& panels;
        FrameSynchroniser& synchroniser;
        FrameTemplateHost& templates;
        FrameCallbacks& callbacks;
        FrameTimers& timers;
    };

    explicit FrameMessageTable(const Parts& parts) : p_(parts) {}

    // Handles one message; the handler's result (0 for a message the frame does not know).
    int dispatch(FrameMessage m, long long first, long long second);
    // A posted message that touches the device or the mirror waits until no device operation
    // runs, rather than starting from inside another one's event loop.
    static bool waitsForDevice(FrameMessage m);
    static bool known(FrameMessage m);

private:
    struct Row;
    static const Row* find(FrameMessage m);

    int applyResolutionDefaults(long long, long long code);
    int loadTemplatePath(long long, long long);
    int openScheduleRunner(long long, long long);
    int refreshOutputAndDual(long long flag, long long);
    int layoutFlag(long long kind, long long value);
    int pictureQualityInput(long long picture, long long code);
    int ignore(long long, long long);
    int captureRefresh(long long flag, long long);
    int pictureInput(long long kind, long long code);
    int saveSlotTemplate(long long, long long slot);
    int loadSlotTemplate(long long, long long slot);
    int synchronise(long long, long long startup);
    int seamlessCheck(long long, long long value);
    int picture1WholeArea(long long, long long value);
    int labelPicture(long long selector, long long code);
    int pointLocateClosed(long long flag, long long);
    int selectBox(long long column, long long row);
    int refreshAllWithSends(long long, long long);
    int paneOpened(long long stack, long long pane);
    int paneRefreshNow(long long stack, long long pane);
    int displayChange(long long, long long);

    Parts p_;
};

} // namespace korvane::ui
