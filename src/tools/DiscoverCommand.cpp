#include "DiscoverCommand.h"

#include "core/link/Discovery.h"
#include "core/store/Settings.h"

#include <vector>

namespace korvane::ctl {

namespace {
constexpr std::string_view kName = "discover";

int runDiscover(int port, OfflineSession& s) {
    const std::string broadcast = !s.link.broadcastAddress.empty()
                                      ? s.link.broadcastAddress
                                      : Settings().readNetworkSettings().broadcastAddress;
    std::vector<DiscoveryResult> found;
    std::string error;
    if (discover(found, broadcast, port, kMaxDiscoveryResults, kDiscoveryAnswerWait, &error) < 0) {
        s.err << "korvanectl: " << kName << ": " << error << '\n';
        return kExitFailure;
    }
    // A processor that answered twice is listed once, as in the desktop program's list.
    const auto unique = withoutDuplicates(found);
    if (unique.empty()) {
        s.err << "korvanectl: " << kName << ": no processor answered at " << broadcast << ':'
              << port << '\n';
        return kExitFailure;
    }
    for (const DiscoveryResult& r : unique) {
        s.out << r.address << ':' << r.port << '\n';
    }
    return kExitOk;
}
} // namespace

Prepared prepareDiscover(std::span<const std::string> operands, LocalTime now) {
    if (operands.size() != 2 || operands[0] != "--port") {
        return wrongArity(kName, "--port P");
    }
    ArgValues v;
    std::string error;
    if (!takeOperand(kName, numberArg("P", 1, 0xFFFF), operands[1], now, v, error)) {
        return {{}, {}, error};
    }
    return {{}, [port = v[0]](OfflineSession& s) { return runDiscover(port, s); }, {}};
}

} // namespace korvane::ctl
