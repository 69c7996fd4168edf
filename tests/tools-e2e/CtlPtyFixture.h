#pragma once

#include "core/link/Frame.h"
#include "sim/SimPtyServer.h"
#include "support/Hex.h"
#include "support/RecordingSleeper.h"
#include "support/TempFolder.h"
#include "tools/CtlMain.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace korvane::test {

struct CtlRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The processor's clock stands still at this moment, so that a clock read gives exactly what
// was set.
inline std::chrono::sys_seconds simNow() {
    using namespace std::chrono;
    return sys_days{year{2024} / 5 / 6} + hours{7};
}

// `env` with every link it opens paced by `pacing`.
inline ctl::CtlEnvironment paced(ctl::CtlEnvironment env, const RecordingSleeper& pacing) {
    env.openLink = [open = env.openLink, &pacing](const ctl::LinkOptions& options,
                                                  MessageSink& messages, std::string& error) {
        auto link = open(options, messages, error);
        if (link) {
            pacing.attach(*link);
        }
        return link;
    };
    return env;
}

// korvanectl in-process against the simulator on a real pseudo-terminal, with its program
// folder (settings, log) in a fresh temporary folder.
struct CtlPty : ::testing::Test {
    sim::SimPtyServer server{sim::SimModel{simNow}};
    ProgramHome programHome;
    const std::filesystem::path& home = programHome.path();
    // The simulator answers at once: the processor's pacing pauses are noted and cut short.
    RecordingSleeper pacing;

    void SetUp() override { server.start(); }
    void TearDown() override { server.stop(); }

    CtlRun ctl(const std::vector<std::string>& words, const ctl::CtlEnvironment& env = {}) {
        std::vector<std::string> args = {"--device", server.devicePath()};
        args.insert(args.end(), words.begin(), words.end());
        std::ostringstream out, err;
        const int status = ctl::runCtl(args, out, err, paced(env, pacing));
        return {status, out.str(), err.str()};
    }
    // Runs and expects success; the standard output.
    std::string ok(const std::vector<std::string>& words) {
        const CtlRun r = ctl(words);
        EXPECT_EQ(r.status, 0) << words[0] << ": " << r.err;
        return r.out;
    }

    // One command through `send`, once the simulator has taken it.
    void send(const std::vector<std::string>& words) {
        const std::size_t before = framesSoFar();
        std::vector<std::string> line = {"send"};
        line.insert(line.end(), words.begin(), words.end());
        ok(line);
        waitForFrames(before + 1);
    }

    std::size_t framesSoFar() const { return server.receivedFrames().size(); }
    // Writes get no answer, so the simulator may still be reading the last frames.
    void waitForFrames(std::size_t count) const {
        for (int i = 0; i < 300 && framesSoFar() < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds{10});
        }
    }
    // The command codes the simulator accepted since `from`, read requests as 0x00 + type
    // written as their type with the high bit set, so that a sequence reads as one list.
    std::vector<int> codesSince(std::size_t from) const {
        std::vector<int> codes;
        const auto frames = server.receivedFrames();
        for (std::size_t i = from; i < frames.size(); ++i) {
            const auto& f = frames[i];
            codes.push_back(f[frame::kCodeOffset] == 0 ? 0x100 | f[frame::kDataOffset]
                                                       : f[frame::kCodeOffset]);
        }
        return codes;
    }
};

// Read request `type` as codesSince lists it.
constexpr int readOf(int type) {
    return 0x100 | type;
}

// Synchronise-all's reads, identity last.
inline const std::vector<int> kSyncReads = {readOf(0),  readOf(1), readOf(2),  readOf(3),
                                            readOf(4),  readOf(6), readOf(11), readOf(12),
                                            readOf(14), readOf(8)};

// Send-all in send-every-parameter mode: resolution, seamless, picture 1 input, audio, picture
// 1 output, eleven picture-quality items, PIP, picture 2 input and output, switch effect,
// overlay, picture 1 input window, freeze area, capture, picture 2 input window, input options,
// audio ports.
inline const std::vector<int> kSendEveryParameter = {
    0x02, 0x08, 0x11, 0x09, 0x04, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
    0x03, 0x03, 0x06, 0x11, 0x05, 0x22, 0x15, 0x0F, 0x18, 0x0E, 0x10, 0x20, 0x24};

inline std::vector<int> joined(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& p : parts) {
        for (const int c : p) {
            all.push_back(c);
        }
    }
    return all;
}

// "Name = value" lines as a map.
inline std::map<std::string, std::string> fields(const std::string& out) {
    std::map<std::string, std::string> m;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        const auto eq = line.find(" = ");
        if (eq != std::string::npos) {
            m[line.substr(0, eq)] = line.substr(eq + 3);
        }
    }
    return m;
}

} // namespace korvane::test
