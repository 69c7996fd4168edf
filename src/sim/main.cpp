#include "SimArguments.h"
#include "SimPtyServer.h"
#include "SimUdpServer.h"
#include "core/base/Version.h"

#include <csignal>
#include <exception>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

using namespace korvane::sim;

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const SimArguments parsed = parseSimArguments(args);
    if (!parsed.error.empty()) {
        std::cerr << "korvane-sim: " << parsed.error << "\nTry 'korvane-sim --help'.\n";
        return 2;
    }
    if (parsed.help) {
        std::cout << simUsage();
        return 0;
    }
    if (parsed.version) {
        std::cout << korvane::versionLine("korvane-sim");
        return 0;
    }

    // Blocked before the server thread exists, so that only sigwait below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::unique_ptr<SimPtyServer> pty;
    std::unique_ptr<SimUdpServer> udp;
    try {
        if (parsed.pty) {
            SimModel model;
            model.setFaults(parsed.faults);
            pty = std::make_unique<SimPtyServer>(std::move(model), parsed.link);
            pty->start();
            std::cout << pty->devicePath() << std::endl;
        }
        if (parsed.udp) {
            SimModel model;
            model.setFaults(parsed.faults);
            udp = std::make_unique<SimUdpServer>(std::move(model), parsed.udp->address,
                                                 parsed.udp->port);
            udp->start();
            std::cout << "udp " << udp->address() << ':' << udp->port() << std::endl;
        }
    } catch (const std::exception& e) {
        std::cerr << "korvane-sim: " << e.what() << '\n';
        return 1;
    }

    int received = 0;
    sigwait(&stopSignals, &received);
    if (udp) {
        udp->stop();
    }
    if (pty) {
        pty->stop();
    }
    return 0;
}
