#pragma once

#include <cstdint>
#include <string>

namespace korvane::ui {

// The frame's callback to the output panel.
class IOutputResolutionCallback {
public:
    virtual ~IOutputResolutionCallback() = default;
    // Sends the resolution (custom: width, height, refresh), waits for the processor and
    // synchronises; the synchronisation's result.
    virtual int changeResolution(std::uint8_t code, int width, int height, int refresh) = 0;
    // Loads a template file from the frame's message loop (LoadTemplatePath).
    virtual void loadTemplateFile(const std::string& path) = 0;
};

} // namespace korvane::ui
