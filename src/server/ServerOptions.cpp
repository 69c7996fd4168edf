#include "server/ServerOptions.h"

#include "core/base/Version.h"
#include "tools/ArgRule.h"

#include <QHostAddress>
#include <QString>
#include <optional>

namespace korvane::server {

namespace {
std::optional<std::string> port(std::string_view option, std::string_view value, int& to) {
    const auto n = ctl::parseInteger(value);
    if (!n || *n < 0 || *n > 65535) {
        return std::string(option) + " must be a port 0..65535 (0: any free port), got '" +
               std::string(value) + "'";
    }
    to = static_cast<int>(*n);
    return std::nullopt;
}

// The options of the server's own; the link options are korvanectl's.
std::optional<std::string> applyOwn(ServerOptions& o, std::string_view name,
                                    std::string_view value) {
    if (name == "--http") {
        return port(name, value, o.httpPort);
    }
    if (name == "--osc") {
        return port(name, value, o.oscPort);
    }
    if (name == "--listen") {
        if (QHostAddress(QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())))
                .isNull()) {
            return "--listen must be an IP address, got '" + std::string(value) + "'";
        }
        o.listen = value;
        return std::nullopt;
    }
    if (name == "--schedule") {
        if (value.empty()) {
            return "--schedule needs a file";
        }
        o.schedule = value;
        return std::nullopt;
    }
    return "unknown option '" + std::string(name) + "'";
}

bool linkOption(std::string_view name) {
    for (const auto& g : ctl::globalOptions()) {
        if (g.name == name && name != "--broadcast") {
            return true;
        }
    }
    return false;
}
} // namespace

ServerOptions parseServerOptions(std::span<const std::string> args) {
    ServerOptions o;
    for (std::size_t i = 0; i < args.size() && o.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
            return o;
        }
        if (arg == "--version") {
            o.version = true;
            return o;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        }
        if (!name.starts_with("--")) {
            o.error = "unexpected argument '" + arg + "'";
            break;
        }
        if (!value) {
            o.error = name + " needs a value";
            break;
        }
        if (linkOption(name)) {
            for (const auto& g : ctl::globalOptions()) {
                if (g.name == name) {
                    if (auto why = g.apply(o.link, *value)) {
                        o.error = *why;
                    }
                }
            }
        } else if (auto why = applyOwn(o, name, *value)) {
            o.error = *why;
        }
    }
    if (o.error.empty()) {
        if (auto missing = ctl::missingLinkTarget(o.link)) {
            o.error = *missing;
        }
    }
    return o;
}

std::string serverHelp() {
    return "Usage: korvane-server --device PATH [--baud N] [--timeout S] | --udp HOST:PORT\n"
           "                      [--http PORT] [--osc PORT] [--listen ADDR] [--wait S]\n"
           "                      [--schedule FILE.kss]\n"
           "\n"
           "Serves the processor to remote controls: an HTTP API with a web page and an events\n"
           "socket, and OSC over UDP. A remote action waits up to 10 s for a running operation,\n"
           "then is answered busy. Stops on SIGINT, SIGTERM or SIGHUP.\n"
           "\n"
           "  --device PATH     serial device of the processor, e.g. /dev/ttyUSB0\n"
           "  --baud N          9600, 19200, 38400, 57600 or 115200 (default 115200)\n"
           "  --timeout S       serial read time-out setting, 1..60 seconds (default 1)\n"
           "  --udp HOST:PORT   the processor's IPv4 address and port, in place of --device\n"
           "  --http PORT       HTTP port (default 8470; 0 = any free port)\n"
           "  --osc PORT        OSC port (default 8471; 0 = any free port)\n"
           "  --listen ADDR     address to listen on (default 127.0.0.1); beyond this computer\n"
           "                    writes need the token of the settings file\n"
           "  --wait S          wait up to S seconds for the device to appear (or, over UDP,\n"
           "                    to answer) instead of failing at once\n"
           "  --schedule FILE   run a schedule file, as the desktop program's runner does\n"
           "  --version         print the version\n"
           "  --help            print this help\n";
}

std::string serverVersion() {
    return versionLine("korvane-server");
}

} // namespace korvane::server
