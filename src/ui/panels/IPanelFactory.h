#pragma once

#include "ui/panels/PanelSet.h"

class QWidget;

namespace korvane::ui {

class IScheduleTimerCallback;
class ScheduleRunnerDialog;
struct PanelContext;

// Makes the frame's panes and the windows it opens; the frame tests hand in recording panes.
class IPanelFactory {
public:
    virtual ~IPanelFactory() = default;
    // Every pane, made and linked to the others it talks to.
    virtual PanelSet create(const PanelContext& context) = 0;
    // The schedule runner, modal, with its auto-start flag. While it is open `openRunner`
    // points to it. True when the operator declined the auto-start's question.
    virtual bool runScheduleRunner(QWidget* parent, IScheduleTimerCallback& timer, bool autoStart,
                                   ScheduleRunnerDialog*& openRunner) = 0;
    // The offline plan editor ("定制时间表") and the older plan dialog.
    virtual void runPlanEditor(QWidget* parent) = 0;
    virtual void runPlanDialog(QWidget* parent) = 0;
};

} // namespace korvane::ui
