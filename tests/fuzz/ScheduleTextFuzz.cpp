// The schedule file reader over any bytes: it never rejects a line, so the checks are the
// bounds it promises for what it keeps.

#include "FuzzSupport.h"
#include "core/schedule/ScheduleFileReader.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane;
    const std::string_view text = fuzz::asText({data, size});
    const std::vector<ScheduleTask> tasks = parseScheduleText(text);

    // One task per line; the last line counts without its line end.
    const auto lineEnds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    const std::size_t lines = lineEnds + (!text.empty() && text.back() != '\n' ? 1 : 0);
    FUZZ_CHECK(tasks.size() == lines);

    constexpr std::int64_t kLargest = 999'999'999;
    for (const ScheduleTask& t : tasks) {
        for (std::size_t i = 0; i < kScheduleNumericFieldCount; ++i) {
            FUZZ_CHECK(std::llabs(scheduleNumericField(t, i)) <= kLargest);
        }
        FUZZ_CHECK(t.path.size() <= kMaxSchedulePathBytes);
        FUZZ_CHECK(t.path.find_first_of(std::string_view(",'\0", 3)) == std::string::npos);
        (void)timeOfDay(t);
    }
    return 0;
}
