#include "ui/panels/PanelFactory.h"

#include "ui/locate/PointLocateWindow.h"
#include "ui/locate/TestPatternWindow.h"
#include "ui/panels/CapturePanel.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/DualPicturePanel.h"
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

PanelSet PanelFactory::create(const PanelContext& context) {
    context_.emplace(context);
    auto* bar = new InputBar(context);
    auto* quality = new PictureQualityPanel(context);
    auto* output = new OutputPanel(context);
    auto* sound = new SoundPanel(context);
    auto* communication = new CommunicationPanel(context);
    auto* centre = new CentrePane(context);
    auto* capture = new CapturePanel(context);
    auto* dual = new DualPicturePanel(context);
    auto* locate = new PointLocateWindow(context);
    auto* testPattern = new TestPatternWindow(context);
    WallView& wall = centre->wallView();

    // The seamless switch and picture 2 exclude each other; picture 2's panel redraws after the
    // bar read picture 2 back.
    bar->setAutoUpdateQuery(communication);
    QObject::connect(bar, &InputBar::picture2ReadBack, dual, &DualPicturePanel::refreshFromMirror);
    QObject::connect(bar, &InputBar::picture2SwitchAllowed, dual,
                     &DualPicturePanel::enablePicture2Switch);
    QObject::connect(bar, &InputBar::picture2ForcedOff, dual, &DualPicturePanel::forcePicture2Off);
    QObject::connect(bar, &InputBar::picture1InputChanged, dual,
                     &DualPicturePanel::picture1InputChanged);
    // Picture 2's capture window was read back: the dual-picture panel leaves picture 2's on/off
    // state with the processor.
    QObject::connect(capture, &CapturePanel::picture2WindowReadBack, dual,
                     [dual] { dual->refresh(true); });

    output->setLayoutControl(&wall);
    // Dragging picture 1 on the drawing changes the window the output panel shows.
    QObject::connect(centre, &CentrePane::picture1WindowChanged, output,
                     &OutputPanel::refreshWindow);

    dual->setAutoUpdateQuery(communication);
    // Picture 2 stays within the output the output panel last set, custom sizes too.
    dual->setOutputSizeSource([output] { return output->outputSize(); });
    dual->setLayoutControl(&wall);
    QObject::connect(centre, &CentrePane::picture2WindowChanged, dual,
                     &DualPicturePanel::windowChanged);

    locate->setLayoutControl(&wall);
    wall.setPointLocateView(locate);

    PanelSet set;
    set.inputBar = bar;
    set.pictureQuality = quality;
    set.capture = capture;
    set.sound = sound;
    set.output = output;
    set.dualPicture = dual;
    set.communication = communication;
    set.centre = centre;
    set.pointLocate = locate;
    set.testPattern = testPattern;
    return set;
}

bool PanelFactory::runScheduleRunner(QWidget* parent, IScheduleTimerCallback& timer, bool autoStart,
                                     ScheduleRunnerDialog*& openRunner) {
    return context_ && ScheduleRunnerDialog::runModal(parent, timer, context_->settings,
                                                      context_->presenter, autoStart, openRunner);
}

void PanelFactory::runPlanEditor(QWidget* parent) {
    if (context_) {
        PlanEditorDialog dlg(*context_, parent);
        dlg.exec();
    }
}

void PanelFactory::runPlanDialog(QWidget* parent) {
    if (context_) {
        LegacyPlanDialog dlg(*context_, parent);
        dlg.exec();
    }
}

} // namespace korvane::ui
