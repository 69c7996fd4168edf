#include "ui/panels/CPanelFactory.h"

#include "ui/locate/PointLocateWindow.h"
#include "ui/locate/TestPatternWindow.h"
#include "ui/panels/CapturePanel.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/DualPicturePanel.h"
#include "ui/panels/IAutoUpdateQuery.h"
#include "ui/panels/IDualPicturePanel.h"
#include "ui/panels/ISeamlessSwitch.h"
#include "ui/panels/InputBar.h"
#include "ui/panels/OutputPanel.h"
#include "ui/panels/PictureQualityPanel.h"
#include "ui/panels/SoundPanel.h"
#include "ui/schedule/LegacyPlanDialog.h"
#include "ui/schedule/PlanEditorDialog.h"
#include "ui/schedule/ScheduleRunnerDialog.h"
#include "ui/wall/CentrePane.h"
#include "ui/wall/WallView.h"

namespace korvane::ui {

namespace {
// Puts a panel in its pane in place of the stand-in made there.
template <class Pane> void take(Pane*& pane, Pane* panel) {
    delete pane->widget();
    pane = panel;
}
} // namespace

PanelSet CPanelFactory::create(const PanelContext& context) {
    context_.emplace(context);
    PanelSet set = placeholders_.create(context);
    take<IInputBar>(set.inputBar, new InputBar(context));
    take<IPictureQualityPanel>(set.pictureQuality, new PictureQualityPanel(context));
    take<IOutputPanel>(set.output, new OutputPanel(context));
    take<ISoundPanel>(set.sound, new SoundPanel(context));
    take<ICommPanel>(set.communication, new CommunicationPanel(context));
    take<ICentrePane>(set.centre, new CentrePane(context));
    take<ICapturePanel>(set.capture, new CapturePanel(context));
    take<IDualPicturePanel>(set.dualPicture, new DualPicturePanel(context));
    set.pointLocate = new PointLocateWindow(context);
    set.testPattern = new TestPatternWindow(context);
    return set;
}

void CPanelFactory::wire(PanelSet& panels) {
    placeholders_.wire(panels);
    if (auto* bar = dynamic_cast<InputBar*>(panels.inputBar)) {
        bar->setDualPicture(panels.dualPicture, dynamic_cast<ISeamlessSwitch*>(panels.dualPicture));
        bar->setAutoUpdateQuery(dynamic_cast<IAutoUpdateQuery*>(panels.communication));
    }
    if (auto* capture = dynamic_cast<CapturePanel*>(panels.capture)) {
        capture->setDualPicture(panels.dualPicture);
    }
    auto* centre = dynamic_cast<CentrePane*>(panels.centre);
    auto* output = dynamic_cast<OutputPanel*>(panels.output);
    if (centre != nullptr && output != nullptr) {
        output->setLayoutControl(&centre->ledControl());
        // Dragging picture 1 on the drawing changes the window the output panel shows.
        QObject::connect(centre, &CentrePane::picture1WindowChanged, output,
                         &OutputPanel::refreshWindow);
    }
    if (auto* dual = dynamic_cast<DualPicturePanel*>(panels.dualPicture)) {
        dual->setAutoUpdateQuery(dynamic_cast<IAutoUpdateQuery*>(panels.communication));
        if (output != nullptr) {
            // Picture 2 stays within the output the output panel last set, custom sizes too.
            dual->setOutputSizeSource([output] { return output->outputSize(); });
        }
        if (centre != nullptr) {
            dual->setLayoutControl(&centre->ledControl());
            QObject::connect(centre, &CentrePane::picture2WindowChanged, dual,
                             &DualPicturePanel::windowChanged);
        }
    }
    auto* locate = dynamic_cast<PointLocateWindow*>(panels.pointLocate);
    if (centre != nullptr && locate != nullptr) {
        locate->setLayoutControl(&centre->ledControl());
        centre->ledControl().setPointLocateView(locate);
    }
}

bool CPanelFactory::runScheduleRunner(QWidget* parent, IScheduleTimerCallback& timer,
                                      bool autoStart, IScheduleRunner*& openRunner) {
    return context_ && ScheduleRunnerDialog::runModal(parent, timer, context_->settings,
                                                      context_->presenter, autoStart, openRunner);
}

void CPanelFactory::runPlanEditor(QWidget* parent) {
    if (context_) {
        PlanEditorDialog dlg(*context_, parent);
        dlg.exec();
    }
}

void CPanelFactory::runPlanDialog(QWidget* parent) {
    if (context_) {
        LegacyPlanDialog dlg(*context_, parent);
        dlg.exec();
    }
}

} // namespace korvane::ui
