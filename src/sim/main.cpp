#include "SimArguments.h"
#include "SimPtyServer.h"

#include <csignal>
#include <exception>
#include <iostream>
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

    // Blocked before the server thread exists, so that only sigwait below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    SimModel model;
    model.setFaults(parsed.faults);
    SimPtyServer server(std::move(model), parsed.link);
    try {
        server.start();
    } catch (const std::exception& e) {
        std::cerr << "korvane-sim: " << e.what() << '\n';
        return 1;
    }
    std::cout << server.devicePath() << std::endl;

    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    return 0;
}
