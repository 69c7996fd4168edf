#pragma once

#include "ui/panels/CPlaceholderPanelFactory.h"
#include "ui/panels/PanelContext.h"
#include "ui/panels/PanelFactory.h"

#include <optional>

namespace korvane::ui {

// The panes the program shows: each pane's own panel where it exists, the stand-in otherwise.
// A new panel takes its pane in `create` (one line) and, if it talks to another panel, its
// link in `wire`.
class CPanelFactory : public PanelFactory {
public:
    PanelSet create(const PanelContext& context) override;
    void wire(PanelSet& panels) override;
    bool runScheduleRunner(QWidget* parent, IScheduleTimerCallback& timer, bool autoStart,
                           IScheduleRunner*& openRunner) override;
    bool hasPlanEditor() const override { return true; }
    void runPlanEditor(QWidget* parent) override;
    void runPlanDialog(QWidget* parent) override;

private:
    CPlaceholderPanelFactory placeholders_;
    // The windows opened later work with what the panes were made with.
    std::optional<PanelContext> context_;
};

} // namespace korvane::ui
