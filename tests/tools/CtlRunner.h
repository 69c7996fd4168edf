#pragma once

#include "support/Hex.h"
#include "support/MemoryTransport.h"
#include "support/RecordingSleeper.h"
#include "tools/CtlMain.h"

#include <memory>
#include <string>
#include <vector>

namespace korvane::test {

struct CtlResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs korvanectl in-process over an in-memory line, with the clock fixed at
// 2020-02-29 13:14:15 local time.
class CtlRunner {
public:
    std::shared_ptr<MemoryLine> wire = std::make_shared<MemoryLine>();
    // The pacing pauses the runs asked for, cut short.
    RecordingSleeper pacing;
    // The options the last run handed to the link.
    ctl::LinkOptions lastOptions;

    CtlResult run(const std::vector<std::string>& args);
};

// The 13-byte frame of `code` with `data`, checksum worked out here independently of the core.
std::vector<std::uint8_t> expectedFrame(std::uint8_t code, const std::vector<std::uint8_t>& data);

} // namespace korvane::test
