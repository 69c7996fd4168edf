#include "ReadCommand.h"

#include "HexText.h"
#include "core/link/DeviceLink.h"

namespace korvane::ctl {

namespace {
constexpr ArgRule kType = byteArg("TYPE");
constexpr ArgRule kFirst = numberArg("FIRST", 0, kPlanEntryCount - 1);
constexpr ArgRule kLast = numberArg("LAST", 0, kPlanEntryCount - 1);

struct ReadRequest {
    std::uint8_t type;
    std::uint8_t first;
    std::uint8_t last;
};

std::span<const std::uint8_t> entryBytes(const PlanEntry& e) {
    return {reinterpret_cast<const std::uint8_t*>(&e), sizeof e};
}

int runRead(const ReadRequest& r, Session& s) {
    if (s.link.read(r.type, r.first, r.last) == 0) {
        s.err << "korvanectl: read type " << int{r.type} << " failed: "
              << (readTypeInfo(r.type) ? "no valid reply" : "the processor has no reply to it")
              << '\n';
        return kExitFailure;
    }
    if (r.type == readtype::kPlanEntries) {
        for (unsigned i = r.first; i <= r.last; ++i) {
            s.out << hexBytes(entryBytes(s.link.planTable()[i])) << '\n';
        }
    } else {
        s.out << hexBytes(s.link.replyBuffer(r.type)) << '\n';
    }
    return kExitOk;
}

std::string refusal(const ArgRule& rule, const std::string& text) {
    return "read: " + std::string(rule.name) + " must be " + expectation(rule) + ", got '" + text +
           "'";
}
} // namespace

Prepared prepareRead(std::span<const std::string> operands, LocalTime now) {
    if (operands.size() != 1 && operands.size() != 3) {
        return {{}, {}, "read: wrong number of arguments; usage: read TYPE [FIRST LAST]"};
    }
    ArgValues v;
    if (!parseArg(kType, operands[0], now, v)) {
        return {{}, {}, refusal(kType, operands[0])};
    }
    ReadRequest r{static_cast<std::uint8_t>(v[0]), 0, kPlanEntryCount - 1};
    if (operands.size() == 3) {
        if (r.type != readtype::kPlanEntries) {
            return {{}, {}, "read: FIRST and LAST go only with type 15"};
        }
        if (!parseArg(kFirst, operands[1], now, v)) {
            return {{}, {}, refusal(kFirst, operands[1])};
        }
        if (!parseArg(kLast, operands[2], now, v)) {
            return {{}, {}, refusal(kLast, operands[2])};
        }
        r.first = static_cast<std::uint8_t>(v[1]);
        r.last = static_cast<std::uint8_t>(v[2]);
        if (r.last < r.first) {
            return {{}, {}, "read: LAST must not be below FIRST"};
        }
    }
    return {[r](Session& s) { return runRead(r, s); }, {}, {}};
}

} // namespace korvane::ctl
