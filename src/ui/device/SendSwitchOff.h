#pragma once

#include "core/link/DeviceLink.h"

namespace korvane::ui {

// Panels redraw from the mirror with the send switch off, so that the change notifications of
// their own controls send nothing back; the switch is on again afterwards, whatever happened.
class SendSwitchOff {
public:
    explicit SendSwitchOff(DeviceLink& link) : link_(link) { link_.setSendSwitch(0); }
    ~SendSwitchOff() { link_.setSendSwitch(1); }
    SendSwitchOff(const SendSwitchOff&) = delete;
    SendSwitchOff& operator=(const SendSwitchOff&) = delete;

private:
    DeviceLink& link_;
};

} // namespace korvane::ui
