#include "core/store/TemplateLoader.h"

#include "core/commands/SendAll.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/store/Settings.h"
#include "core/store/TemplateFile.h"
#include "core/store/TemplateLoadHost.h"

#include <vector>

namespace korvane {

namespace {

// Panels redraw with the send switch off so that their own change notifications send nothing;
// it comes back on even when a step throws.
class SendSwitchOff {
public:
    explicit SendSwitchOff(DeviceLink& link) : link_(link) { link_.setSendSwitch(0); }
    ~SendSwitchOff() { link_.setSendSwitch(1); }
    SendSwitchOff(const SendSwitchOff&) = delete;
    SendSwitchOff& operator=(const SendSwitchOff&) = delete;

private:
    DeviceLink& link_;
};
} // namespace

LoadResult TemplateLoader::load(const std::filesystem::path& file) {
    if (!Settings::fileExists(file)) {
        host_.report(TemplateText::FileMissing);
        return LoadResult::FileMissing;
    }
    std::vector<std::uint8_t> bytes;
    if (const auto ec = readTemplateFile(file, bytes)) {
        // A file that is no template (too short, not a regular file, too large) is one the
        // load cannot open; nothing is changed or sent either way.
        host_.report(templateRefused(ec) ? TemplateText::OpenFailed : TemplateText::FileError);
        return LoadResult::Unreadable;
    }
    settings_.writeRecentFile(file);
    try {
        host_.setTitle(file);
        {
            SendSwitchOff quiet(ctx_.link);
            host_.clearLayoutItems();
            applyTemplate(bytes, ctx_.mirror);
            host_.refreshPanels();
        }
        SendAll send(ctx_, SendAll::Mode::EveryParameter);
        if (!host_.runBusy(TemplateText::LoadingCaption, send, ctx_.link)) {
            host_.report(TemplateText::LoadFailed);
            return LoadResult::SendFailed;
        }
        if (ctx_.mirror.freezeArea == 0) {
            host_.freezeAreaPartial();
        }
        // The processor needs its settling time before it answers, hence the initial wait.
        SynchroniseAll readBack(ctx_, true);
        if (host_.runBusy(TemplateText::SynchroniseCaption, readBack, ctx_.link)) {
            SendSwitchOff quiet(ctx_.link);
            host_.setCurrentResolution(ctx_.mirror.pq[pq::kOutputResolution]);
            host_.refreshPanels();
            host_.pictureInputRead(Picture::One, ctx_.mirror.switchState[sw::kPicture1Input]);
            host_.pictureInputRead(Picture::Two, ctx_.mirror.switchState[sw::kPicture2Input]);
        }
    } catch (...) {
        return LoadResult::Failed;
    }
    return LoadResult::Loaded;
}

} // namespace korvane
