#include "ui/app/DemoDevice.h"

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/InputCodes.h"
#include "core/link/ResolutionTable.h"
#include "sim/SimPtyServer.h"
#include "ui/app/SimModelTransport.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

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

DemoDevice::DemoDevice() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvane-demo-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    }
    folder_ = pattern;
    server_ = std::make_unique<sim::SimPtyServer>(sim::SimModel{}, folder_ / "ttyDemo");
}

DemoDevice::~DemoDevice() {
    server_->stop();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

void DemoDevice::start() {
    server_->start();
    if (!setUp_) {
        setUpDemo(*server_);
        setUp_ = true;
    }
}

void DemoDevice::stop() {
    server_->stop();
}

std::string DemoDevice::devicePath() const {
    return server_->linkPath().string();
}

} // namespace korvane::ui
