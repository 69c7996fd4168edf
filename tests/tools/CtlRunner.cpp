#include "CtlRunner.h"

#include "core/link/DeviceLink.h"

#include <algorithm>
#include <sstream>

namespace korvane::test {

namespace {
std::tm fixedNow() {
    std::tm t{};
    t.tm_year = 2020 - 1900;
    t.tm_mon = 1;
    t.tm_mday = 29;
    t.tm_hour = 13;
    t.tm_min = 14;
    t.tm_sec = 15;
    return t;
}
} // namespace

CtlResult CtlRunner::run(const std::vector<std::string>& args) {
    ctl::CtlEnvironment env;
    env.now = fixedNow;
    env.openLink = [this](const ctl::LinkOptions& options, MessageSink& messages, std::string&) {
        lastOptions = options;
        auto link = std::make_unique<DeviceLink>(std::make_unique<MemoryTransport>(wire), nullptr,
                                                 &messages);
        pacing.attach(*link);
        link->open();
        return link;
    };
    std::ostringstream out;
    std::ostringstream err;
    CtlResult r;
    r.status = ctl::runCtl(args, out, err, env);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::vector<std::uint8_t> expectedFrame(std::uint8_t code, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> f(4 + data.size());
    f[0] = 0xED;
    f[1] = 0xCB;
    f[2] = 0x00;
    f[3] = code;
    std::copy(data.begin(), data.end(), f.begin() + 4);
    unsigned sum = 0;
    for (std::size_t i = 2; i < f.size(); ++i) {
        sum += f[i];
    }
    f.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    return f;
}

} // namespace korvane::test
