#include "frame/CFrameMessages.h"

#include "frame/FrameCallbacks.h"
#include "frame/FrameServices.h"
#include "frame/FrameState.h"
#include "frame/FrameSynchroniser.h"
#include "frame/FrameTemplateHost.h"
#include "frame/FrameTimers.h"
#include "frame/IFrameMessenger.h"
#include "i18n/UiText.h"
#include "link/InputCodes.h"
#include "link/ParameterMirror.h"
#include "link/ResolutionTable.h"
#include "panels/ICapturePanel.h"
#include "panels/ICentrePane.h"
#include "panels/IDualPicturePanel.h"
#include "panels/IInputBar.h"
#include "panels/ILayoutControl.h"
#include "panels/IOutputPanel.h"
#include "panels/IPictureQualityPanel.h"
#include "panels/PanelFactory.h"
#include "panels/PanelSet.h"
#include "store/TemplateFile.h"
#include "widgets/MessagePresenter.h"
#include "widgets/SendSwitchOff.h"

#include <QWidget>
#include <algorithm>

namespace korvane::ui {

namespace {
std::uint8_t byteOf(long long v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}

bool namedInput(std::uint8_t code) {
    using namespace input;
    return code == kAv1 || code == kAv2 || code == kVga || code == kHdmi || code == kDp ||
           code == kDvi;
}
} // namespace

struct CFrameMessages::Row {
    FrameMessage message;
    bool waitsForDevice;
    int (CFrameMessages::*handle)(long long, long long);
};

namespace {
using M = FrameMessage;
using F = CFrameMessages;
} // namespace

// Every message the frame handles. A posted message marked as waiting runs only while no
// device operation does.
const CFrameMessages::Row* CFrameMessages::find(FrameMessage m) {
    static const Row kTable[] = {
        {M::ApplyResolutionDefaults, true, &F::applyResolutionDefaults},
        {M::LoadTemplatePath, true, &F::loadTemplatePath},
        {M::OpenScheduleRunner, true, &F::openScheduleRunner},
        {M::RefreshOutputAndDual, true, &F::refreshOutputAndDual},
        {M::LayoutFlag, false, &F::layoutFlag},
        {M::PictureQualityInput, false, &F::pictureQualityInput},
        {M::Ignored114, false, &F::ignore},
        {M::CaptureRefresh, true, &F::captureRefresh},
        {M::Ignored117, false, &F::ignore},
        {M::Ignored118, false, &F::ignore},
        {M::PictureInput, true, &F::pictureInput},
        {M::SaveSlotTemplate, true, &F::saveSlotTemplate},
        {M::LoadSlotTemplate, true, &F::loadSlotTemplate},
        {M::Synchronise, true, &F::synchronise},
        {M::SeamlessCheck, false, &F::seamlessCheck},
        {M::Picture1WholeArea, false, &F::picture1WholeArea},
        {M::LabelPicture, false, &F::labelPicture},
        {M::PointLocateClosed, false, &F::pointLocateClosed},
        {M::SelectBox, false, &F::selectBox},
        {M::RefreshAllWithSends, true, &F::refreshAllWithSends},
        {M::PaneOpened, false, &F::paneOpened},
        {M::PaneRefreshNow, true, &F::paneRefreshNow},
        {M::DisplayChange, false, &F::displayChange},
    };
    const auto it = std::find_if(std::begin(kTable), std::end(kTable),
                                 [m](const Row& r) { return r.message == m; });
    return it != std::end(kTable) ? it : nullptr;
}

int CFrameMessages::dispatch(FrameMessage m, long long first, long long second) {
    const Row* row = find(m);
    return row != nullptr ? (this->*(row->handle))(first, second) : 0;
}

bool CFrameMessages::waitsForDevice(FrameMessage m) {
    const Row* row = find(m);
    return row != nullptr && row->waitsForDevice;
}

bool CFrameMessages::known(FrameMessage m) {
    return find(m) != nullptr;
}

int CFrameMessages::applyResolutionDefaults(long long, long long code) {
    return p_.synchroniser.applyResolutionDefaults(byteOf(code)) ? 1 : 0;
}

int CFrameMessages::loadTemplatePath(long long, long long) {
    if (p_.templates.load(p_.state.templatePath) != LoadResult::Failed) {
        return 1;
    }
    p_.services.presenter.inform(&p_.window, uiText(TemplateText::OpenFailed));
    applyMirrorDefaults(p_.services.mirror, kDefaultResolution);
    const auto res = findResolution(kDefaultResolution);
    p_.callbacks.changeResolution(kDefaultResolution, res->width, res->height, res->refresh);
    return 0;
}

int CFrameMessages::openScheduleRunner(long long, long long) {
    p_.services.panels.runScheduleRunner(&p_.window, p_.callbacks, true, p_.state.runner);
    p_.state.runner = nullptr;
    return 1;
}

int CFrameMessages::refreshOutputAndDual(long long flag, long long) {
    if (flag != 1) {
        SendSwitchOff quiet(p_.services.link);
        p_.panels.output->refreshFromMirror();
        p_.panels.dualPicture->refreshFromMirror();
    }
    return 1;
}

int CFrameMessages::layoutFlag(long long kind, long long value) {
    ILayoutControl& layout = p_.panels.centre->layoutControl();
    switch (kind) {
    case layoutflag::kPicture1OnTop:
        layout.setPicture1OnTop(static_cast<int>(value));
        layout.redraw();
        return 1;
    case layoutflag::kPicture2Hollow:
        layout.setHollow(2, value != 0);
        p_.panels.centre->widget()->update();
        return 1;
    case layoutflag::kPicture1Hollow:
        layout.setHollow(1, value != 0);
        p_.panels.centre->widget()->update();
        return 1;
    default:
        return 0;
    }
}

int CFrameMessages::pictureQualityInput(long long picture, long long code) {
    if (picture != 1) {
        return 0;
    }
    const std::uint8_t c = byteOf(code);
    p_.panels.pictureQuality->setInputKind(c == 8 || c == 9 ? 0 : 1);
    return 1;
}

int CFrameMessages::ignore(long long, long long) {
    return 0;
}

int CFrameMessages::captureRefresh(long long flag, long long) {
    if (flag == 0) {
        p_.panels.capture->runRefreshOperation();
    }
    return 1;
}

int CFrameMessages::pictureInput(long long kind, long long code) {
    const std::uint8_t c = byteOf(code);
    switch (kind) {
    case pictureinput::kPicture1:
        p_.panels.inputBar->selectPicture1Input(c, false);
        return 1;
    case pictureinput::kPicture2:
    case pictureinput::kPicture2Labelled:
        p_.panels.dualPicture->selectPicture2Input(std::min(c, pictureinput::kPicture2Highest));
        if (kind == pictureinput::kPicture2Labelled && namedInput(c)) {
            p_.frame.post(FrameMessage::LabelPicture, 0, c);
        }
        return 1;
    default:
        return 0;
    }
}

int CFrameMessages::saveSlotTemplate(long long, long long slot) {
    p_.templates.save(slotTemplatePath(static_cast<int>(slot)));
    return 1;
}

int CFrameMessages::loadSlotTemplate(long long, long long slot) {
    if (p_.templates.load(slotTemplatePath(static_cast<int>(slot))) == LoadResult::Failed) {
        p_.window.setWindowTitle(uiText(TemplateText::ProgramTitle));
        p_.services.presenter.inform(&p_.window, uiText(TemplateText::OpenFailed));
        return 0;
    }
    return 1;
}

int CFrameMessages::synchronise(long long, long long startup) {
    return p_.synchroniser.synchronise(startup == 1);
}

int CFrameMessages::seamlessCheck(long long, long long value) {
    p_.panels.inputBar->setSeamlessCheck(static_cast<int>(value));
    return 1;
}

int CFrameMessages::picture1WholeArea(long long, long long value) {
    p_.panels.centre->layoutControl().setPicture1WholeArea(static_cast<int>(value));
    return 1;
}

int CFrameMessages::labelPicture(long long selector, long long code) {
    p_.panels.centre->layoutControl().labelPicture(static_cast<int>(selector), byteOf(code));
    return 1;
}

int CFrameMessages::pointLocateClosed(long long flag, long long) {
    if (flag == 0) {
        p_.panels.centre->layoutControl().stopPositioning();
    }
    return 1;
}

int CFrameMessages::selectBox(long long column, long long row) {
    p_.panels.centre->layoutControl().selectBox(static_cast<int>(column), static_cast<int>(row));
    return 1;
}

int CFrameMessages::refreshAllWithSends(long long, long long) {
    p_.synchroniser.refreshAllPanels();
    return 1;
}

int CFrameMessages::paneOpened(long long stack, long long pane) {
    p_.state.pendingRefresh = {true, static_cast<int>(stack), static_cast<int>(pane)};
    p_.timers.startPaneRefresh();
    return 1;
}

int CFrameMessages::paneRefreshNow(long long stack, long long pane) {
    p_.synchroniser.refreshPane(static_cast<int>(stack), static_cast<int>(pane),
                                PaneRefreshPath::Message);
    return 1;
}

int CFrameMessages::displayChange(long long, long long) {
    p_.window.update();
    p_.timers.startDisplayRepaint();
    return 1;
}

} // namespace korvane::ui
