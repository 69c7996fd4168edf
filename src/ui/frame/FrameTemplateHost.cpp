#include "ui/frame/FrameTemplateHost.h"

#include "core/store/TemplateFile.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/MessagePresenter.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/FrameSynchroniser.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/i18n/UiText.h"
#include "ui/panels/ICentrePane.h"
#include "ui/panels/ILayoutControl.h"
#include "ui/panels/PanelSet.h"

#include <QWidget>

namespace korvane::ui {

LoadResult FrameTemplateHost::load(const std::filesystem::path& file) {
    const OperationContext ctx{s_.link, s_.mirror, s_.facade, s_.messages};
    TemplateLoader loader(ctx, s_.settings, *this);
    return loader.load(file);
}

void FrameTemplateHost::save(const std::filesystem::path& file) {
    const auto result = saveTemplateFile(file, s_.mirror, s_.settings, [this] {
        return s_.presenter.confirm(&window_, uiText(TemplateText::OverwriteQuestion));
    });
    if (result == SaveResult::Saved) {
        report(TemplateText::Saved);
    } else if (result == SaveResult::Failed) {
        report(TemplateText::SaveFailed);
    }
}

bool FrameTemplateHost::runBusy(TemplateText caption, DeviceOperation& operation, DeviceLink&) {
    return s_.busy.run(&window_, uiText(caption), operation) == BusyResult::Succeeded;
}

void FrameTemplateHost::report(TemplateText text) {
    s_.presenter.inform(&window_, uiText(text));
}

void FrameTemplateHost::setTitle(const std::filesystem::path& loadedFile) {
    // The words of the title follow the program's language.
    window_.setWindowTitle(QString::fromStdString(
        windowTitle(loadedFile, uiText(TemplateText::ProgramTitle).toStdString(),
                    uiText(TemplateText::SlotTitle).toStdString())));
}

void FrameTemplateHost::clearLayoutItems() {
    panels_.centre->layoutControl().clearItems();
}

void FrameTemplateHost::refreshPanels() {
    synchroniser_.refreshAllPanels();
}

void FrameTemplateHost::freezeAreaPartial() {
    frame_.postPicture1WholeArea(true);
}

void FrameTemplateHost::setCurrentResolution(std::uint8_t code) {
    frame_.setCurrentResolution(code);
}

void FrameTemplateHost::pictureInputRead(Picture picture, std::uint8_t inputCode) {
    frame_.sendPictureInput(picture, inputCode);
}

} // namespace korvane::ui
