// The plan text parser: a text it accepts must come back unchanged through the writer, and a
// refusal must name its line.

#include "FuzzSupport.h"
#include "core/schedule/PlanText.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane;
    const PlanTextParse parsed = parsePlanText(fuzz::asText({data, size}));
    if (!parsed.ok) {
        FUZZ_CHECK(parsed.errorLine >= 1);
        FUZZ_CHECK(parsed.error.starts_with("line " + std::to_string(parsed.errorLine) + ": "));
        FUZZ_CHECK(parsed.items == PlanItems{});
        return 0;
    }
    FUZZ_CHECK(parsed.errorLine == 0 && parsed.error.empty());
    const std::string written = formatPlanText(parsed.items);
    const PlanTextParse again = parsePlanText(written);
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(again.items == parsed.items);
    FUZZ_CHECK(formatPlanText(again.items) == written);
    return 0;
}
