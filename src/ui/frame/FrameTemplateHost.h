#pragma once

#include "core/store/TemplateLoadHost.h"
#include "core/store/TemplateLoader.h"

#include <QString>
#include <filesystem>

class QWidget;

namespace korvane::ui {

class FrameSynchroniser;
class IFrameMessenger;
struct FrameServices;
struct PanelSet;

// Template files from the frame: the loader of the core with the busy dialog, the frame's
// messages, title, panels and layout.
class FrameTemplateHost : public TemplateLoadHost {
public:
    FrameTemplateHost(QWidget& window, IFrameMessenger& frame, const FrameServices& services,
                      PanelSet& panels, FrameSynchroniser& synchroniser)
        : window_(window), frame_(frame), s_(services), panels_(panels),
          synchroniser_(synchroniser) {}

    LoadResult load(const std::filesystem::path& file);
    // Saves the mirror and says how it went ("文件已保存!", "文件保存失败!", nothing when the
    // operator keeps the existing file).
    void save(const std::filesystem::path& file);

    bool runBusy(TemplateText caption, DeviceOperation& operation, DeviceLink& link) override;
    void report(TemplateText text) override;
    void setTitle(const std::filesystem::path& loadedFile) override;
    void clearLayoutItems() override;
    void refreshPanels() override;
    void freezeAreaPartial() override;
    void setCurrentResolution(std::uint8_t code) override;
    void pictureInputRead(Picture picture, std::uint8_t inputCode) override;

private:
    QWidget& window_;
    IFrameMessenger& frame_;
    const FrameServices& s_;
    PanelSet& panels_;
    FrameSynchroniser& synchroniser_;
};

} // namespace korvane::ui
