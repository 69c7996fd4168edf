#include "ui/frame/FrameSynchroniser.h"

#include "core/commands/ReadBack.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "core/store/Settings.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/i18n/UiText.h"
#include "ui/panels/ICapturePanel.h"
#include "ui/panels/ICentrePane.h"
#include "ui/panels/ICommPanel.h"
#include "ui/panels/IDualPicturePanel.h"
#include "ui/panels/IInputBar.h"
#include "ui/panels/IOutputPanel.h"
#include "ui/panels/IPanel.h"
#include "ui/panels/IPictureQualityPanel.h"
#include "ui/panels/PanelSet.h"

#include <QCoreApplication>
#include <vector>

namespace korvane::ui {

namespace {
struct ReadOutcome {
    bool ok = false;
    std::vector<std::uint8_t> payload;
};
} // namespace

int FrameSynchroniser::synchronise(bool startup) {
    try {
        if (startup) {
            applyResolutionDefaults(kDefaultResolution);
            if (s_.settings.readScheduleRunning() != 0) {
                frame_.postOpenScheduleRunner(true);
                return 0;
            }
        }
        const OperationContext ctx{s_.link, s_.mirror, s_.facade, s_.messages};
        ReadBack identity(ctx, ReadBackKind::Identity);
        if (s_.busy.run(&window_, QString(), identity) == BusyResult::Succeeded) {
            {
                SendSwitchOff quiet(s_.link);
                panels_.communication->setOnlineIndicator(s_.link.isOpen() != 0);
            }
            ReadBack info(ctx, ReadBackKind::DeviceInfo);
            if (s_.busy.run(&window_, QString(), info) == BusyResult::Succeeded) {
                SendSwitchOff quiet(s_.link);
                panels_.inputBar->hideExtendedInput();
            }
        }
        SynchroniseAll all(ctx, false);
        if (s_.busy.run(&window_, uiText(TemplateText::SynchroniseCaption), all) ==
            BusyResult::Succeeded) {
            readBackDone();
            return 1;
        }
    } catch (...) {
        // A failed step has reported itself; the program carries on with what it has.
    }
    return 0;
}

bool FrameSynchroniser::applyResolutionDefaults(std::uint8_t code) {
    if (!findResolution(code)) {
        s_.presenter.inform(&window_, QCoreApplication::translate("korvane::ui::FrameSynchroniser",
                                                                  "不支持的分辨率!"));
        return false;
    }
    frame_.setCurrentResolution(code);
    SendSwitchOff quiet(s_.link);
    applyMirrorDefaults(s_.mirror, code);
    refreshAllPanels();
    return true;
}

void FrameSynchroniser::readBackDone() {
    SendSwitchOff quiet(s_.link);
    frame_.setCurrentResolution(s_.mirror.pq[pq::kOutputResolution]);
    refreshAllPanels();
    frame_.sendPictureInput(Picture::One, s_.mirror.switchState[sw::kPicture1Input]);
    frame_.sendPictureInput(Picture::Two, s_.mirror.switchState[sw::kPicture2Input]);
}

void FrameSynchroniser::refreshAllPanels() {
    panels_.output->refreshFromMirror();
    panels_.dualPicture->refreshFromMirror();
    panels_.sound->refreshFromMirror();
    panels_.pictureQuality->refreshFromMirror();
    panels_.capture->refreshFromMirror();
    panels_.inputBar->refreshInputs(false);
    panels_.centre->refreshFromMirror();
}

void FrameSynchroniser::refreshPane(int stack, int pane, PaneRefreshPath path) {
    DeviceLink& link = s_.link;
    if (path == PaneRefreshPath::Message && link.isOpen() == 0) {
        return;
    }
    const auto reads = paneRefreshReads(stack, pane);
    if (reads.empty() && path == PaneRefreshPath::Timer) {
        return;
    }
    std::vector<ReadOutcome> got(reads.size());
    s_.busy.runUnseen([&] {
        if (path == PaneRefreshPath::Message) {
            link.purgeInput();
        }
        for (std::size_t i = 0; i < reads.size(); ++i) {
            if (link.read(reads[i].type) != 0) {
                const auto p = replyPayload(link.replyBuffer(reads[i].type));
                got[i] = {true, {p.begin(), p.end()}};
            }
        }
    });
    if (reads.empty()) {
        return;
    }
    SendSwitchOff quiet(link);
    bool any = false;
    for (std::size_t i = 0; i < reads.size(); ++i) {
        if (got[i].ok) {
            reads[i].copy(s_.mirror, got[i].payload, path);
            any = true;
        }
    }
    const auto ok = [&got](std::size_t i) { return got[i].ok; };
    if (stack == 0 && pane == 0 && ok(0)) {
        panels_.pictureQuality->refreshFromMirror();
    } else if (stack == 0 && pane == 1 && (ok(1) || ok(2))) {
        panels_.capture->refreshFromMirror();
    } else if (stack == 0 && pane == 2 && any) {
        panels_.sound->refreshFromMirror();
    } else if (stack == 1 && pane == 0) {
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (ok(i)) {
                panels_.output->refreshFromMirror(); // once after each read that succeeded
            }
        }
    } else if (stack == 1 && pane == 1) {
        if (ok(0)) {
            panels_.inputBar->refreshInputs(true);
        }
        if (ok(1) || ok(2)) {
            panels_.dualPicture->refreshFromMirror();
        }
    }
}

} // namespace korvane::ui
