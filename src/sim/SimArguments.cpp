#include "SimArguments.h"

#include <arpa/inet.h>
#include <charconv>
#include <optional>

namespace korvane::sim {

namespace {

template <class T> std::optional<T> number(std::string_view text, T max) {
    T value{};
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint8_t> readType(std::string_view text) {
    const auto value = number<unsigned>(text, 255);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value);
}

std::optional<SimUdpAddress> udpAddress(std::string_view text) {
    const auto colon = text.rfind(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    SimUdpAddress a{std::string(text.substr(0, colon)), 0};
    in_addr parsed{};
    const auto port = number<unsigned>(text.substr(colon + 1), 65535);
    if (!port || ::inet_pton(AF_INET, a.address.c_str(), &parsed) != 1) {
        return std::nullopt;
    }
    a.port = static_cast<int>(*port);
    return a;
}

// Applies one option with its value; returns what was wrong, or an empty string.
std::string applyOption(SimArguments& a, std::string_view name, std::string_view value) {
    const std::string bad = "invalid value '" + std::string(value) + "' for " + std::string(name);
    if (name == "--link") {
        if (value.empty()) {
            return "--link needs a path";
        }
        a.link = std::filesystem::path(value);
    } else if (name == "--udp") {
        a.udp = udpAddress(value);
        if (!a.udp) {
            return bad + " (IPv4ADDRESS:PORT, port 0 for a free one)";
        }
    } else if (name == "--no-reply" || name == "--short-reply") {
        const auto type = readType(value);
        if (!type) {
            return bad + " (a read type 0..255)";
        }
        (name == "--no-reply" ? a.faults.noReply : a.faults.shortReply).insert(*type);
    } else if (name == "--bad-checksum") {
        if (value == "all") {
            a.faults.badChecksumAll = true;
        } else if (const auto type = readType(value)) {
            a.faults.badChecksum.insert(*type);
        } else {
            return bad + " (a read type 0..255 or 'all')";
        }
    } else if (name == "--late-reply") {
        const auto ms = number<unsigned long>(value, 600000);
        if (!ms) {
            return bad + " (milliseconds 0..600000)";
        }
        a.faults.lateReply = std::chrono::milliseconds{*ms};
    } else if (name == "--hangup-after") {
        const auto n = number<std::size_t>(value, 1000000000);
        if (!n) {
            return bad + " (a frame count)";
        }
        a.faults.hangUpAfter = *n;
    } else {
        return "unknown option '" + std::string(name) + "'";
    }
    return {};
}

} // namespace

SimArguments parseSimArguments(std::span<const std::string_view> args) {
    SimArguments a;
    for (std::size_t i = 0; i < args.size() && a.error.empty(); ++i) {
        std::string_view name = args[i];
        if (name == "--help" || name == "-h") {
            a.help = true;
            continue;
        }
        if (name == "--version") {
            a.version = true;
            continue;
        }
        if (name == "--no-pty") {
            a.pty = false;
            continue;
        }
        std::optional<std::string_view> value;
        if (const auto eq = name.find('=');
            name.starts_with("--") && eq != std::string_view::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (!name.starts_with("--")) {
            a.error = "unexpected argument '" + std::string(name) + "'";
            break;
        }
        if (!value) {
            if (i + 1 == args.size()) {
                a.error = std::string(name) + " needs a value";
                break;
            }
            value = args[++i];
        }
        a.error = applyOption(a, name, *value);
    }
    if (a.error.empty() && !a.pty && !a.udp) {
        a.error = "--no-pty needs --udp";
    } else if (a.error.empty() && !a.pty && !a.link.empty()) {
        a.error = "--link needs the pseudo-terminal";
    }
    return a;
}

std::string simUsage() {
    return "Usage: korvane-sim [OPTION]...\n"
           "Simulates the video processor on a pseudo-terminal. The first line printed is the\n"
           "terminal device to connect to; the simulator runs until SIGINT or SIGTERM.\n"
           "With --udp it also answers UDP datagrams and discovery broadcasts, and prints\n"
           "'udp ADDRESS:PORT'; the UDP side keeps a device state of its own.\n"
           "\n"
           "  --link PATH          also make PATH a symbolic link to the terminal device\n"
           "  --udp ADDR:PORT      serve UDP on ADDR:PORT (port 0: a free one)\n"
           "  --no-pty             serve UDP only\n"
           "  --no-reply TYPE      leave read requests of TYPE unanswered\n"
           "  --bad-checksum TYPE  answer TYPE (or 'all') with a wrong checksum\n"
           "  --short-reply TYPE   answer TYPE one byte short\n"
           "  --late-reply MS      hold every reply back MS milliseconds\n"
           "  --hangup-after N     drop the line after N accepted frames\n"
           "  --help               show this text\n"
           "  --version            show the version\n"
           "\n"
           "Fault options may be repeated.\n";
}

} // namespace korvane::sim
