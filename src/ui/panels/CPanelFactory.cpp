#include "panels/CPanelFactory.h"

#include "layout/CImageControlDlg.h"
#include "layout/CLEDControl.h"
#include "locate/CPointLocateDlg.h"
#include "locate/CTestPatternDlg.h"
#include "panels/CDoubleFaceDlg.h"
#include "panels/CImageCommSetDlg.h"
#include "panels/CImageGrappicDlg.h"
#include "panels/CImageSetDlg.h"
#include "panels/CInputSelectDlg.h"
#include "panels/COutputSetDlg.h"
#include "panels/CSoundDlg.h"
#include "panels/IAutoUpdateQuery.h"
#include "panels/IDualPicturePanel.h"
#include "panels/ISeamlessSwitch.h"
#include "schedule/CScheduleRunDlg.h"
#include "schedule/COfflinePlanDlg.h"
#include "schedule/CPlanEditDlg.h"

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
    take<IInputBar>(set.inputBar, new CInputSelectDlg(context));
    take<IPictureQualityPanel>(set.pictureQuality, new CImageSetDlg(context));
    take<IOutputPanel>(set.output, new COutputSetDlg(context));
    take<ISoundPanel>(set.sound, new CSoundDlg(context));
    take<ICommPanel>(set.communication, new CImageCommSetDlg(context));
    take<ICentrePane>(set.centre, new CImageControlDlg(context));
    take<ICapturePanel>(set.capture, new CImageGrappicDlg(context));
    take<IDualPicturePanel>(set.dualPicture, new CDoubleFaceDlg(context));
    set.pointLocate = new CPointLocateDlg(context);
    set.testPattern = new CTestPatternDlg(context);
    return set;
}

void CPanelFactory::wire(PanelSet& panels) {
    placeholders_.wire(panels);
    if (auto* bar = dynamic_cast<CInputSelectDlg*>(panels.inputBar)) {
        bar->setDualPicture(panels.dualPicture, dynamic_cast<ISeamlessSwitch*>(panels.dualPicture));
        bar->setAutoUpdateQuery(dynamic_cast<IAutoUpdateQuery*>(panels.communication));
    }
    if (auto* capture = dynamic_cast<CImageGrappicDlg*>(panels.capture)) {
        capture->setDualPicture(panels.dualPicture);
    }
    auto* centre = dynamic_cast<CImageControlDlg*>(panels.centre);
    auto* output = dynamic_cast<COutputSetDlg*>(panels.output);
    if (centre != nullptr && output != nullptr) {
        output->setLayoutControl(&centre->ledControl());
        // Dragging picture 1 on the drawing changes the window the output panel shows.
        QObject::connect(centre, &CImageControlDlg::picture1WindowChanged, output,
                         &COutputSetDlg::refreshWindow);
    }
    if (auto* dual = dynamic_cast<CDoubleFaceDlg*>(panels.dualPicture)) {
        dual->setAutoUpdateQuery(dynamic_cast<IAutoUpdateQuery*>(panels.communication));
        if (output != nullptr) {
            // Picture 2 stays within the output the output panel last set, custom sizes too.
            dual->setOutputSizeSource([output] { return output->outputSize(); });
        }
        if (centre != nullptr) {
            dual->setLayoutControl(&centre->ledControl());
            QObject::connect(centre, &CImageControlDlg::picture2WindowChanged, dual,
                             &CDoubleFaceDlg::windowChanged);
        }
    }
    auto* locate = dynamic_cast<CPointLocateDlg*>(panels.pointLocate);
    if (centre != nullptr && locate != nullptr) {
        locate->setLayoutControl(&centre->ledControl());
        centre->ledControl().setPointLocateView(locate);
    }
}

void CPanelFactory::runScheduleRunner(QWidget* parent, IScheduleTimerCallback& timer,
                                      bool autoStart, IScheduleRunner*& openRunner) {
    if (context_) {
        CScheduleRunDlg::runModal(parent, timer, context_->settings, context_->presenter, autoStart,
                                  openRunner);
    }
}

void CPanelFactory::runPlanEditor(QWidget* parent) {
    if (context_) {
        CPlanEditDlg dlg(*context_, parent);
        dlg.exec();
    }
}

void CPanelFactory::runPlanDialog(QWidget* parent) {
    if (context_) {
        COfflinePlanDlg dlg(*context_, parent);
        dlg.exec();
    }
}

} // namespace korvane::ui
