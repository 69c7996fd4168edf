#include "ui/app/DemoDevice.h"

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/InputCodes.h"
#include "core/link/ResolutionTable.h"
#include "sim/SimPtyServer.h"
#include "ui/app/SimModelTransport.h"

namespace korvane::ui {

namespace {
// A set-up that shows both pictures, so the demo has something to display.
void setUpDemo(sim::SimPtyServer& server) {
    DeviceLink link(std::make_unique<SimModelTransport>(server), nullptr, nullptr);
    link.setSendSwitch(1);
    ParameterMirror mirror{};
    applyMirrorDefaults(mirror, kDefaultResolution);
    CommandFacade facade(link, mirror);
    facade.selectInput(Picture::One, input::kHdmi);
    facade.selectInput(Picture::Two, input::kDvi);
    facade.setPicture2OutputWindow({760, 560, 1200, 940});
    facade.setPipOn(1);
    facade.setVolume(45);
}
} // namespace

DemoDevice::DemoDevice() : server_(std::make_unique<sim::SimPtyServer>()) {}

DemoDevice::~DemoDevice() {
    server_->stop();
}

void DemoDevice::start() {
    server_->start();
    setUpDemo(*server_);
}

std::string DemoDevice::devicePath() const {
    return server_->devicePath();
}

} // namespace korvane::ui
