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

namespace {
// The lines a test reads to find the simulator: the terminal device, then the UDP address.
void announce(const SimPtyServer* pty, const SimUdpServer* udp) {
    if (pty != nullptr) {
        std::cout << pty->devicePath() << std::endl;
    }
    if (udp != nullptr) {
        std::cout << "udp " << udp->address() << ':' << udp->port() << std::endl;
    }
}
} // namespace

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

    // Blocked before the server threads exist, so that only sigwait below sees them.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int s : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2}) {
        sigaddset(&signals, s);
    }
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    std::unique_ptr<SimPtyServer> pty;
    std::unique_ptr<SimUdpServer> udp;
    try {
        if (parsed.pty) {
            SimModel model;
            model.setFaults(parsed.faults);
            pty = std::make_unique<SimPtyServer>(std::move(model), parsed.link);
            pty->start();
        }
        if (parsed.udp) {
            SimModel model;
            model.setFaults(parsed.faults);
            udp = std::make_unique<SimUdpServer>(std::move(model), parsed.udp->address,
                                                 parsed.udp->port);
            udp->start();
        }
        announce(pty.get(), udp.get());

        int received = 0;
        while (sigwait(&signals, &received) == 0 && received != SIGINT && received != SIGTERM) {
            // SIGUSR1 pulls the processor off the line, SIGUSR2 plugs it back in.
            if (pty) {
                pty->stop();
            }
            if (udp) {
                udp->stop();
            }
            if (received == SIGUSR2) {
                if (pty) {
                    pty->start();
                }
                if (udp) {
                    udp->start();
                }
                announce(pty.get(), udp.get());
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "korvane-sim: " << e.what() << '\n';
        return 1;
    }
    if (udp) {
        udp->stop();
    }
    if (pty) {
        pty->stop();
    }
    return 0;
}
