#pragma once

#include "core/link/CommandCodes.h"
#include "core/store/TemplateTexts.h"

#include <cstdint>
#include <filesystem>

namespace korvane {

class DeviceLink;
class DeviceOperation;

// What loading a template needs from the program around it: the busy dialog, messages, the
// title, the panels and the layout. Every hook but runBusy does nothing by default, which is
// all the command line and the tests need.
class TemplateLoadHost {
public:
    virtual ~TemplateLoadHost() = default;

    // Runs a long operation the way the busy dialog does: with the link closed the operation is
    // not run and counts as success; an exception counts as failure. True for success.
    virtual bool runBusy(TemplateText caption, DeviceOperation& operation, DeviceLink& link);

    virtual void report(TemplateText) {}
    // The main window's title names the loaded file (windowTitle() in the program's language).
    virtual void setTitle(const std::filesystem::path& /*loadedFile*/) {}
    // The layout control drops its picture items before the mirror changes under it.
    virtual void clearLayoutItems() {}
    // Redraws every panel from the mirror; called with the send switch off.
    virtual void refreshPanels() {}
    // The mirror's freeze area is partial: picture 1 no longer covers the whole wall.
    virtual void freezeAreaPartial() {}
    // After the read-back, with the send switch off: the output resolution and the input of
    // picture 1 and 2 the processor reported.
    virtual void setCurrentResolution(std::uint8_t) {}
    virtual void pictureInputRead(Picture /*picture*/, std::uint8_t /*inputCode*/) {}
};

} // namespace korvane
