#include "CtlOptions.h"

#include "ArgRule.h"
#include "core/link/UdpSocket.h"
#include "core/store/Settings.h"

#include <algorithm>
#include <array>

namespace korvane::ctl {

namespace {
constexpr std::array kBaudRates = {9600, 19200, 38400, 57600, 115200};
constexpr int kMinTimeout = 1;
constexpr int kMaxTimeout = 60;

std::optional<std::string> applyDevice(LinkOptions& o, std::string_view value) {
    if (value.empty()) {
        return "--device needs a path";
    }
    o.serial.devicePath = value;
    return std::nullopt;
}

std::optional<std::string> applyBaud(LinkOptions& o, std::string_view value) {
    const auto n = parseInteger(value);
    if (!n || std::ranges::find(kBaudRates, *n) == kBaudRates.end()) {
        std::string rates;
        for (const int rate : kBaudRates) {
            rates += " " + std::to_string(rate);
        }
        return "--baud must be one of" + rates + ", got '" + std::string(value) + "'";
    }
    o.serial.baudRate = static_cast<int>(*n);
    o.baudGiven = true;
    return std::nullopt;
}

std::optional<std::string> applyTimeout(LinkOptions& o, std::string_view value) {
    const auto n = parseInteger(value);
    if (!n || *n < kMinTimeout || *n > kMaxTimeout) {
        return "--timeout must be " + std::to_string(kMinTimeout) + ".." +
               std::to_string(kMaxTimeout) + " seconds, got '" + std::string(value) + "'";
    }
    o.serial.timeout = static_cast<int>(*n);
    o.timeoutGiven = true;
    return std::nullopt;
}

// HOST:PORT with a dotted IPv4 address, as the UDP link takes it.
std::optional<std::string> applyUdp(LinkOptions& o, std::string_view value) {
    const std::size_t colon = value.rfind(':');
    const std::string host(value.substr(0, colon));
    const auto port =
        colon == std::string_view::npos ? std::nullopt : parseInteger(value.substr(colon + 1));
    if (!port || *port < 1 || *port > 0xFFFF || !udpEndpoint(host, static_cast<int>(*port))) {
        return "--udp must be HOST:PORT with a dotted IPv4 address and a port 1..65535, got '" +
               std::string(value) + "'";
    }
    NetworkSettings network;
    network.ip = host;
    network.port = static_cast<int>(*port);
    o.network = network;
    return std::nullopt;
}

std::optional<std::string> applyBroadcast(LinkOptions& o, std::string_view value) {
    if (!udpEndpoint(std::string(value), 1)) {
        return "--broadcast must be a dotted IPv4 address, got '" + std::string(value) + "'";
    }
    o.broadcastAddress = value;
    return std::nullopt;
}

// Up to a day: a bound that still catches a typing slip like 10000000.
constexpr int kMostWaitSeconds = 86400;

std::optional<std::string> applyWait(LinkOptions& o, std::string_view value) {
    const auto n = parseInteger(value);
    if (!n || *n < 0 || *n > kMostWaitSeconds) {
        return "--wait must be 0.." + std::to_string(kMostWaitSeconds) + " seconds, got '" +
               std::string(value) + "'";
    }
    o.waitSeconds = static_cast<int>(*n);
    return std::nullopt;
}

std::optional<std::string> applyVerbose(LinkOptions& o, std::string_view) {
    o.verbose = true;
    return std::nullopt;
}

constexpr std::array<GlobalOption, 7> kOptions{{
    {"--device", "PATH",
     "serial device of the processor, e.g. /dev/ttyUSB0 (default: the settings file's, when "
     "its [link] mode is not network)",
     applyDevice},
    {"--baud", "N", "9600, 19200, 38400, 57600 or 115200 (default: the settings file's, else 9600)",
     applyBaud},
    {"--timeout", "S",
     "serial read time-out setting, 1..60 seconds (default: the settings file's, else 1)",
     applyTimeout},
    {"--udp", "HOST:PORT",
     "the processor's IPv4 address and port, in place of --device (default: the settings "
     "file's, when its [link] mode is network)",
     applyUdp},
    {"--broadcast", "ADDR",
     "where discover sends its request (default: the settings file's broadcast address)",
     applyBroadcast},
    {"--wait", "S",
     "wait up to S seconds for the device to appear (or, over UDP, to answer) instead of "
     "failing at once",
     applyWait},
    {"--verbose", "", "say which device, line settings and addresses are used, and from where",
     applyVerbose},
}};

const char* origin(bool given) {
    return given ? "command line" : "settings file";
}

bool isHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}
} // namespace

std::span<const GlobalOption> globalOptions() {
    return kOptions;
}

CommandLine parseCommandLine(std::span<const std::string> args) {
    CommandLine line;
    std::size_t i = 0;
    for (; i < args.size() && args[i].starts_with("-"); ++i) {
        const std::string_view arg = args[i];
        if (isHelp(arg)) {
            line.help = true;
            return line;
        }
        if (arg == "--version") {
            line.version = true;
            return line;
        }
        const std::size_t eq = arg.find('=');
        const std::string_view name = arg.substr(0, eq);
        const auto option = std::ranges::find(kOptions, name, &GlobalOption::name);
        if (option == kOptions.end()) {
            line.error = "unknown option '" + std::string(arg) + "'";
            return line;
        }
        std::string_view value;
        if (option->valueName.empty()) {
            if (eq != std::string_view::npos) {
                line.error = std::string(name) + " takes no value";
                return line;
            }
        } else if (eq != std::string_view::npos) {
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            line.error = std::string(name) + " needs a value";
            return line;
        }
        if (auto error = option->apply(line.link, value)) {
            line.error = std::move(*error);
            return line;
        }
    }
    if (i == args.size()) {
        line.error = "a command is required";
        return line;
    }
    line.subCommand = args[i];
    line.operands.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    return line;
}

void completeFromSettings(LinkOptions& o, const Settings& settings, std::ostream& report) {
    const SerialSettings stored = settings.readSerialSettings();
    const bool deviceGiven = !o.serial.devicePath.empty() || o.network.has_value();
    // Without a link on the command line, the link the desktop program used last.
    if (!deviceGiven && settings.readNetworkMode()) {
        o.network = settings.readNetworkSettings();
    } else if (!deviceGiven) {
        o.serial.devicePath = stored.devicePath;
    }
    if (!o.baudGiven) {
        o.serial.baudRate = stored.baudRate;
    }
    if (!o.timeoutGiven) {
        o.serial.timeout = stored.timeout;
    }
    const bool broadcastGiven = !o.broadcastAddress.empty();
    if (!broadcastGiven) {
        o.broadcastAddress = settings.readNetworkSettings().broadcastAddress;
    }
    if (!o.verbose) {
        return;
    }
    report << "korvanectl: settings file " << settings.file().string() << '\n';
    report << "korvanectl: link " << (o.network ? "network" : "serial") << " ("
           << (deviceGiven ? "command line" : "settings file, [link] mode") << ")\n";
    if (o.network) {
        report << "korvanectl: processor " << o.network->ip << ':' << o.network->port
               << " over UDP (" << origin(deviceGiven) << ")\n";
    } else {
        report << "korvanectl: device "
               << (o.serial.devicePath.empty() ? "(none)" : o.serial.devicePath) << " ("
               << origin(deviceGiven) << ")\n";
        report << "korvanectl: baud rate " << o.serial.baudRate << " (" << origin(o.baudGiven)
               << ")\n";
        report << "korvanectl: time-out " << o.serial.timeout << " s (" << origin(o.timeoutGiven)
               << ")\n";
    }
    report << "korvanectl: broadcast address " << o.broadcastAddress << " ("
           << origin(broadcastGiven) << ")\n";
}

std::optional<std::string> missingLinkTarget(const LinkOptions& options) {
    const bool serial = !options.serial.devicePath.empty();
    if (serial && options.network) {
        return "--device and --udp cannot be given together";
    }
    if (!serial && !options.network) {
        return "--device PATH or --udp HOST:PORT is required";
    }
    return std::nullopt;
}

} // namespace korvane::ctl
