#include "ui/frame/FrameMessageTable.h"

#include "core/link/InputCodes.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "core/store/TemplateFile.h"
#include "ui/device/MessagePresenter.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/frame/FrameCallbacks.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/FrameState.h"
#include "ui/frame/FrameSynchroniser.h"
#include "ui/frame/FrameTemplateHost.h"
#include "ui/frame/FrameTimers.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/i18n/UiText.h"
#include "ui/panels/ICapturePanel.h"
#include "ui/panels/ICentrePane.h"
#include "ui/panels/IDualPicturePanel.h"
#include "ui/panels/IInputBar.h"
#include "ui/panels/ILayoutControl.h"
#include "ui/panels/IOutputPanel.h"
#include "ui/panels/IPanelFactory.h"
#include "ui/panels/IPictureQualityPanel.h"
#include "ui/panels/PanelSet.h"

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

struct FrameMessageTable::Row {
    FrameMessage message;
    bool waitsForDevice;
    int (FrameMessageTable::*handle)(long long, long long);
};

namespace {
using M = FrameMessage;
using F = FrameMessageTable;
} // namespace

// Every message the frame handles. A posted message marked as waiting runs only while no
// device operation does.
const FrameMessageTable::Row* FrameMessageTable::find(FrameMessage m) {
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

int FrameMessageTable::dispatch(FrameMessage m, long long first, long long second) {
    const Row* row = find(m);
    return row != nullptr ? (this->*(row->handle))(first, second) : 0;
}

bool FrameMessageTable::waitsForDevice(FrameMessage m) {
    const Row* row = find(m);
    return row != nullptr && row->waitsForDevice;
}

bool FrameMessageTable::known(FrameMessage m) {
    return find(m) != nullptr;
}

int FrameMessageTable::applyResolutionDefaults(long long, long long code) {
    return p_.synchroniser.applyResolutionDefaults(byteOf(code)) ? 1 : 0;
}

int FrameMessageTable::loadTemplatePath(long long, long long) {
    if (p_.templates.load(p_.state.templatePath) != LoadResult::Failed) {
        return 1;
    }
    p_.services.presenter.inform(&p_.window, uiText(TemplateText::OpenFailed));
    applyMirrorDefaults(p_.services.mirror, kDefaultResolution);
    const auto res = findResolution(kDefaultResolution);
    p_.callbacks.changeResolution(kDefaultResolution, res->width, res->height, res->refresh);
    return 0;
}

int FrameMessageTable::openScheduleRunner(long long autoStart, long long) {
    if (p_.state.runner != nullptr) {
        return 0; // already open
    }
    const bool declined = p_.services.panels.runScheduleRunner(&p_.window, p_.callbacks,
                                                               autoStart != 0, p_.state.runner);
    p_.state.runner = nullptr;
    // The start-up synchronisation waited for the schedule; with none restarted it runs now.
    if (declined) {
        p_.frame.postSynchronise(true);
    }
    return 1;
}

int FrameMessageTable::refreshOutputAndDual(long long flag, long long) {
    if (flag != 1) {
        SendSwitchOff quiet(p_.services.link);
        p_.panels.output->refreshFromMirror();
        p_.panels.dualPicture->refreshFromMirror();
    }
    return 1;
}

int FrameMessageTable::layoutFlag(long long kind, long long value) {
    ILayoutControl& layout = p_.panels.centre->layoutControl();
    switch (static_cast<LayoutFlagKind>(kind)) {
    case LayoutFlagKind::Picture1OnTop:
        layout.setPicture1OnTop(value != 0);
        layout.redraw();
        return 1;
    case LayoutFlagKind::Picture2Hollow:
        layout.setHollow(Picture::Two, value != 0);
        p_.panels.centre->widget()->update();
        return 1;
    case LayoutFlagKind::Picture1Hollow:
        layout.setHollow(Picture::One, value != 0);
        p_.panels.centre->widget()->update();
        return 1;
    default:
        return 0;
    }
}

int FrameMessageTable::pictureQualityInput(long long picture, long long code) {
    if (picture != 1) {
        return 0;
    }
    const std::uint8_t c = byteOf(code);
    p_.panels.pictureQuality->setInputKind(!(c == input::kVga || c == input::kVga2));
    return 1;
}

int FrameMessageTable::ignore(long long, long long) {
    return 0;
}

int FrameMessageTable::captureRefresh(long long flag, long long) {
    if (flag == 0) {
        p_.panels.capture->runRefreshOperation();
    }
    return 1;
}

int FrameMessageTable::pictureInput(long long kind, long long code) {
    const std::uint8_t c = byteOf(code);
    const auto k = static_cast<PictureInputKind>(kind);
    switch (k) {
    case PictureInputKind::Picture1:
        p_.panels.inputBar->selectPicture1Input(c, false);
        return 1;
    case PictureInputKind::Picture2:
    case PictureInputKind::Picture2Labelled:
        p_.panels.dualPicture->selectPicture2Input(std::min(c, kPicture2HighestInput));
        if (k == PictureInputKind::Picture2Labelled && namedInput(c)) {
            p_.frame.postLabelPicture(Picture::Two, c);
        }
        return 1;
    default:
        return 0;
    }
}

int FrameMessageTable::saveSlotTemplate(long long, long long slot) {
    p_.templates.save(slotTemplatePath(static_cast<int>(slot)));
    return 1;
}

int FrameMessageTable::loadSlotTemplate(long long, long long slot) {
    if (p_.templates.load(slotTemplatePath(static_cast<int>(slot))) == LoadResult::Failed) {
        p_.window.setWindowTitle(uiText(TemplateText::ProgramTitle));
        p_.services.presenter.inform(&p_.window, uiText(TemplateText::OpenFailed));
        return 0;
    }
    return 1;
}

int FrameMessageTable::synchronise(long long, long long startup) {
    return p_.synchroniser.synchronise(startup == 1);
}

int FrameMessageTable::seamlessCheck(long long, long long value) {
    p_.panels.inputBar->setSeamlessCheck(value != 0);
    return 1;
}

int FrameMessageTable::picture1WholeArea(long long, long long value) {
    p_.panels.centre->layoutControl().setPicture1WholeArea(value != 0);
    return 1;
}

int FrameMessageTable::labelPicture(long long selector, long long code) {
    p_.panels.centre->layoutControl().labelPicture(labelledPicture(selector), byteOf(code));
    return 1;
}

int FrameMessageTable::pointLocateClosed(long long flag, long long) {
    if (flag == 0) {
        p_.panels.centre->layoutControl().stopPositioning();
    }
    return 1;
}

int FrameMessageTable::selectBox(long long column, long long row) {
    p_.panels.centre->layoutControl().selectBox(static_cast<int>(column), static_cast<int>(row));
    return 1;
}

int FrameMessageTable::refreshAllWithSends(long long, long long) {
    p_.synchroniser.refreshAllPanels();
    return 1;
}

int FrameMessageTable::paneOpened(long long stack, long long pane) {
    p_.state.pendingRefresh = {true, static_cast<int>(stack), static_cast<int>(pane)};
    p_.timers.startPaneRefresh();
    return 1;
}

int FrameMessageTable::paneRefreshNow(long long stack, long long pane) {
    p_.synchroniser.refreshPane(static_cast<int>(stack), static_cast<int>(pane),
                                PaneRefreshPath::Message);
    return 1;
}

int FrameMessageTable::displayChange(long long, long long) {
    p_.window.update();
    p_.timers.startDisplayRepaint();
    return 1;
}

} // namespace korvane::ui
