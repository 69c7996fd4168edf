#pragma once

#include "ui/frame/FrameMessage.h"

#include <cstdint>

namespace korvane::ui {

// What panels and tool windows may ask of the main frame.
class IFrameMessenger {
public:
    virtual ~IFrameMessenger() = default;
    // Queued: handled from the frame's event loop.
    virtual void post(FrameMessage m, long long first = 0, long long second = 0) = 0;
    // Handled before returning; the handler's result.
    virtual int send(FrameMessage m, long long first = 0, long long second = 0) = 0;
    // Opens a side pane without announcing it (stack 0 left, 1 right).
    virtual void openPane(int stack, int pane) = 0;
    // The stack sends WM_USER+520 for its open pane.
    virtual void reannounceOpenPane(int stack) = 0;
    // The output resolution the output panel compares against.
    virtual std::uint8_t currentResolution() const = 0;
    virtual void setCurrentResolution(std::uint8_t code) = 0;
};

} // namespace korvane::ui
