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

// Seconds with an optional fraction, to the millisecond.
std::optional<std::chrono::milliseconds> seconds(std::string_view text) {
    constexpr double kMostSeconds = 3600;
    double value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end || !(value > 0) || value > kMostSeconds) {
        return std::nullopt;
    }
    return std::chrono::milliseconds{static_cast<long long>(value * 1000 + 0.5)};
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
    } else if (name == "--no-reply" || name == "--short-reply" || name == "--short-length") {
        const auto type = readType(value);
        if (!type) {
            return bad + " (a read type 0..255)";
        }
        (name == "--no-reply"      ? a.faults.noReply
         : name == "--short-reply" ? a.faults.shortReply
                                   : a.faults.shortLengthByte)
            .insert(*type);
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
    } else if (name == "--silent-after") {
        const auto n = number<std::size_t>(value, 1000000000);
        if (!n) {
            return bad + " (a frame count)";
        }
        a.faults.silentAfter = *n;
    } else if (name == "--silent-for") {
        const auto ms = seconds(value);
        if (!ms) {
            return bad + " (seconds, more than 0 and at most 3600, e.g. 2.5)";
        }
        a.faults.silentFor = *ms;
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
    if (a.error.empty() && a.faults.silentAfter.has_value() != (a.faults.silentFor.count() > 0)) {
        a.error = "--silent-after and --silent-for go together";
    } else if (a.error.empty() && !a.pty && !a.udp) {
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
           "SIGUSR1 drops the line (and removes the --link path) and stops answering UDP;\n"
           "SIGUSR2 brings both back, on a new terminal device that is printed again.\n"
           "With --udp it also answers UDP datagrams and discovery broadcasts, and prints\n"
           "'udp ADDRESS:PORT'; the UDP side keeps a device state of its own.\n"
           "\n"
           "  --link PATH          also make PATH a symbolic link to the terminal device\n"
           "  --udp ADDR:PORT      serve UDP on ADDR:PORT (port 0: a free one)\n"
           "  --no-pty             serve UDP only\n"
           "  --no-reply TYPE      leave read requests of TYPE unanswered\n"
           "  --bad-checksum TYPE  answer TYPE (or 'all') with a wrong checksum\n"
           "  --short-reply TYPE   answer TYPE one byte short\n"
           "  --short-length TYPE  answer TYPE with a length byte one below its payload\n"
           "  --late-reply MS      hold every reply back MS milliseconds\n"
           "  --hangup-after N     drop the line after N accepted frames\n"
           "  --silent-after N     after N accepted frames hear and answer nothing ...\n"
           "  --silent-for S       ... for S seconds (e.g. 2.5), then carry on\n"
           "  --help               show this text\n"
           "  --version            show the version\n"
           "\n"
           "Fault options may be repeated.\n";
}

} // namespace korvane::sim
