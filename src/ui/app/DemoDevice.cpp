#include "ui/app/DemoDevice.h"

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/InputCodes.h"
#include "core/link/ResolutionTable.h"
#include "sim/SimPtyServer.h"
#include "sim/SimUdpServer.h"
#include "ui/app/SimModelTransport.h"
#include "ui/dialogs/SerialPortChoice.h"

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <system_error>

namespace korvane::ui {

namespace {
// A set-up that shows both pictures, so the demo has something to display.
void setUpDemo(SimModelTransport::Feed feed) {
    DeviceLink link(std::make_unique<SimModelTransport>(std::move(feed)), nullptr, nullptr);
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
    if (udp_) {
        udp_->stop();
    }
    server_->stop();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

void DemoDevice::start() {
    server_->start();
    if (udp_) {
        udp_->start();
    }
    if (setUp_) {
        return;
    }
    setUp_ = true;
    setUpDemo([this](std::span<const std::uint8_t> bytes) {
        server_->withModel([&](sim::SimModel& model) { model.feed(bytes); });
    });
    sim::SimModel model;
    setUpDemo([&model](std::span<const std::uint8_t> bytes) { model.feed(bytes); });
    try {
        udp_ = std::make_unique<sim::SimUdpServer>(std::move(model), kUdpAddress, 0);
        udp_->start();
    } catch (const std::exception&) {
        udp_.reset();
    }
}

void DemoDevice::stop() {
    server_->stop();
    if (udp_) {
        udp_->stop();
    }
}

std::string DemoDevice::devicePath() const {
    return server_->linkPath().string();
}

SerialSettings DemoDevice::serialSettings() const {
    SerialSettings s;
    s.devicePath = devicePath();
    s.portNumber = portNumberFor(s.devicePath);
    s.timeout = kTimeout;
    s.baudRate = kBaudRate;
    return s;
}

NetworkSettings DemoDevice::networkSettings() const {
    NetworkSettings n;
    n.ip = kUdpAddress;
    n.port = udp_ ? udp_->port() : 0;
    n.broadcastAddress = kBroadcastAddress;
    return n;
}

} // namespace korvane::ui
