#pragma once

#include "ui/panels/IPanelFactory.h"
#include "ui/panels/PanelContext.h"

#include <optional>

namespace korvane::ui {

// The panes the program shows. A new panel takes its pane in `create` and, if it talks to
// another panel, its link right there.
class PanelFactory : public IPanelFactory {
public:
    PanelSet create(const PanelContext& context) override;
    bool runScheduleRunner(QWidget* parent, IScheduleTimerCallback& timer, bool autoStart,
                           ScheduleRunnerDialog*& openRunner) override;
    void runPlanEditor(QWidget* parent) override;
    void runPlanDialog(QWidget* parent) override;

private:
    // The windows opened later work with what the panes were made with.
    std::optional<PanelContext> context_;
};

} // namespace korvane::ui
