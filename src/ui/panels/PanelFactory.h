#pragma once

#include "ui/panels/PanelSet.h"

class QWidget;

namespace korvane::ui {

class IScheduleRunner;
class IScheduleTimerCallback;
struct PanelContext;

// Makes the frame's panes and the windows it opens, so that the frame can be built around
// stand-ins (tests, and panes whose own issue has not come yet).
class PanelFactory {
public:
    virtual ~PanelFactory() = default;
    virtual PanelSet create(const PanelContext& context) = 0;
    // The direct links between panels (seamless switch, change interfaces, layout window
    // interface), after the frame has attached itself to each.
    virtual void wire(PanelSet& panels) { (void)panels; }
    // The schedule runner, modal, with its auto-start flag. While it is open `openRunner` points
    // to it. True when the operator declined the auto-start's question.
    virtual bool runScheduleRunner(QWidget* parent, IScheduleTimerCallback& timer, bool autoStart,
                                   IScheduleRunner*& openRunner) {
        (void)parent;
        (void)timer;
        (void)autoStart;
        (void)openRunner;
        return false;
    }
    // The offline plan editor ("定制时间表") and plan dialog; absent until their windows exist.
    virtual bool hasPlanEditor() const { return false; }
    virtual void runPlanEditor(QWidget* parent) { (void)parent; }
    virtual void runPlanDialog(QWidget* parent) { (void)parent; }
};

} // namespace korvane::ui
