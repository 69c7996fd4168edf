#pragma once

#include "core/link/CommandCodes.h"
#include "ui/device/FileChoice.h"

class QWidget;

namespace korvane::ui {

class FrameSynchroniser;
class FrameTemplateHost;
class IFrameMessenger;
struct FrameServices;
struct FrameState;
struct PanelSet;

// The menu commands that reach the processor or the settings.
class FrameCommands {
public:
    FrameCommands(QWidget& window, IFrameMessenger& frame, const FrameServices& services,
                  FrameState& state, PanelSet& panels, FrameSynchroniser& synchroniser,
                  FrameTemplateHost& templates)
        : window_(window), frame_(frame), s_(services), state_(state), panels_(panels),
          synchroniser_(synchroniser), templates_(templates) {}

    // "打开脚本" / "保存脚本": template files through a file dialog.
    void openTemplateFile();
    void saveTemplateFile();
    // "加载模板": the processor recalls its stored template N, then everything is read back.
    // True when the recall succeeded.
    bool recallDeviceTemplate(int slot);
    // "保存模板": one TemplateSlot store command, nothing else.
    void storeDeviceTemplate(int slot);
    // "恢复到出厂设置": confirmation, the reset, its wait, then a synchronisation.
    void factoryReset();
    // "自动调整".
    void autoAdjust();
    // "画面1中空" / "画面2中空"; the new state.
    bool toggleHollow(Picture picture);
    // "中文" / "英文": true when the language changed and the program is restarting.
    bool switchLanguage(bool chinese);

private:
    // The path picked in a template file dialog (empty for Cancel); a pick moves the folder the
    // next dialog starts in.
    QString chooseTemplateFile(FileChoice::Mode mode);

    QWidget& window_;
    IFrameMessenger& frame_;
    const FrameServices& s_;
    FrameState& state_;
    PanelSet& panels_;
    FrameSynchroniser& synchroniser_;
    FrameTemplateHost& templates_;
};

} // namespace korvane::ui
