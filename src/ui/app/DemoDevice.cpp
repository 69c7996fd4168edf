#include "ui/app/DemoDevice.h"

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/InputCodes.h"
#include "core/link/ResolutionTable.h"
#include "sim/SimPtyServer.h"
#include "sim/SimUdpServer.h"
#include "ui/app/SimModelTransport.h"
#include "ui/dialogs/SerialPortChoice.h"

#include <exception>

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

DemoDevice::DemoDevice() : server_(std::make_unique<sim::SimPtyServer>()) {}

DemoDevice::~DemoDevice() {
    if (udp_) {
        udp_->stop();
    }
    server_->stop();
}

void DemoDevice::start() {
    server_->start();
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

std::string DemoDevice::devicePath() const {
    return server_->devicePath();
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
