#include "panels/CPanelFactory.h"

#include "layout/CImageControlDlg.h"
#include "layout/CLEDControl.h"
#include "panels/CImageCommSetDlg.h"
#include "panels/CImageSetDlg.h"
#include "panels/CInputSelectDlg.h"
#include "panels/COutputSetDlg.h"
#include "panels/CSoundDlg.h"
#include "panels/IAutoUpdateQuery.h"
#include "panels/IDualPicturePanel.h"
#include "panels/ISeamlessSwitch.h"
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
    return set;
}

void CPanelFactory::wire(PanelSet& panels) {
    placeholders_.wire(panels);
    if (auto* bar = dynamic_cast<CInputSelectDlg*>(panels.inputBar)) {
        bar->setDualPicture(panels.dualPicture, dynamic_cast<ISeamlessSwitch*>(panels.dualPicture));
        bar->setAutoUpdateQuery(dynamic_cast<IAutoUpdateQuery*>(panels.communication));
    }
    auto* centre = dynamic_cast<CImageControlDlg*>(panels.centre);
    auto* output = dynamic_cast<COutputSetDlg*>(panels.output);
    if (centre != nullptr && output != nullptr) {
        output->setLayoutControl(&centre->ledControl());
        // Dragging picture 1 on the drawing changes the window the output panel shows.
        QObject::connect(centre, &CImageControlDlg::picture1WindowChanged, output,
                         &COutputSetDlg::refreshWindow);
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
