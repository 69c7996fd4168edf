#include "CtlPtyFixture.h"
#include "core/schedule/LocalTime.h"
#include "core/store/TemplateTexts.h"

#include <csignal>
#include <fstream>
#include <stdexcept>

using namespace korvane;
using namespace korvane::test;

namespace {

// A daily schedule line: hour, action (0 = load template, 1 = switch input), channel, path.
std::string dailyLine(int hour, int action, int channel, const std::string& path) {
    return "0,0,0," + std::to_string(hour) + ",0,0,0,0,0,0,0,0,0,0," + std::to_string(action) +
           "," + std::to_string(channel) + "," + path + "\n";
}

} // namespace

TEST_F(CtlPty, ScheduleRunDoesEachDueTaskAtItsTick) {
    // Inputs whose limits hold the input windows, so that the template load sends them too.
    send({"SelectInput", "1", "HDMI"});
    send({"SelectInput", "2", "HDMI"});
    send({"SetAudio", "1", "33"});
    const std::string tmpl = (home / "evening.kvt").string();
    ok({"sync", "--save", tmpl});
    send({"SetAudio", "1", "5"});
    const std::string missing = (home / "missing.kvt").string();
    const auto schedule = home / "day.kss";
    std::ofstream(schedule, std::ios::binary)
        << dailyLine(8, 0, 0, tmpl) << dailyLine(9, 1, 11, "") << dailyLine(10, 0, 0, missing)
        << dailyLine(11, 1, 8, "");

    // One clock reading per tick; each also marks where the previous tick's frames end.
    const struct {
        int hour, minute, second;
        std::vector<int> codes; // what this tick sends
    } ticks[] = {
        {7, 59, 59, {}}, {8, 0, 0, joined({kSendEveryParameter, kSyncReads})},
        {8, 0, 2, {}},   {9, 0, 0, {0x11}},
        {10, 0, 0, {}}, // the template file is missing: counted as run, nothing sent
        {10, 0, 2, {}},  {11, 0, 0, {0x11}},
    };
    const std::size_t start = framesSoFar();
    std::vector<std::size_t> marks;
    ctl::CtlEnvironment env;
    env.schedule.tickPeriod = std::chrono::milliseconds{100};
    env.schedule.clock = [&] {
        marks.push_back(framesSoFar());
        const std::size_t n = marks.size() - 1;
        if (n >= std::size(ticks) + 3) {
            throw std::runtime_error("the runner did not stop");
        }
        if (n == std::size(ticks)) {
            std::raise(SIGTERM); // the runner ends after this tick
        }
        const auto& t = ticks[std::min(n, std::size(ticks) - 1)];
        return makeLocalTime(2024, 5, 6, t.hour, t.minute, t.second);
    };
    const CtlRun r = ctl({"schedule", "run", schedule.string()}, env);
    EXPECT_EQ(r.status, 0);
    // The missing template is named on stderr when its task comes.
    EXPECT_EQ(r.err, "korvanectl: schedule run: 2024-05-06 10:00:00 skipped task 2: template file "
                     "missing: " +
                         missing + "\n");
    EXPECT_EQ(r.out, "2024-05-06 08:00:00\t0\t每天\t天\t08:00:00\t脚本\t" + tmpl + "\n" +
                         "2024-05-06 09:00:00\t1\t每天\t天\t09:00:00\t通道切换\tHDMI\n"
                         "2024-05-06 11:00:00\t3\t每天\t天\t11:00:00\t通道切换\tVGA\n");

    ASSERT_EQ(marks.size(), std::size(ticks) + 1);
    // Before the first tick the runner synchronises, as the desktop program has done.
    EXPECT_EQ(codesSince(start),
              joined({kSyncReads, ticks[1].codes, ticks[3].codes, ticks[6].codes}));
    EXPECT_EQ(marks[0] - start, kSyncReads.size());
    for (std::size_t i = 0; i < std::size(ticks); ++i) {
        SCOPED_TRACE(i);
        const auto all = codesSince(marks[i]);
        const std::vector<int> tick(
            all.begin(), all.begin() + static_cast<std::ptrdiff_t>(marks[i + 1] - marks[i]));
        EXPECT_EQ(tick, ticks[i].codes);
    }
    EXPECT_EQ(framesSoFar(), marks.back()) << "the last tick sent nothing";
    const auto frames = server.receivedFrames();
    EXPECT_EQ(hex(frames[marks[4] - 1]).substr(12, 5), "00 0B");
    EXPECT_EQ(hex(frames.back()).substr(12, 5), "00 08");
    EXPECT_EQ(server.state().mirror.volume, 33) << "the template was loaded";
}

// A task whose template is no template (one byte short of one) is skipped with its reason on
// stderr and sends nothing; the next task still runs.
TEST_F(CtlPty, ScheduleRunRefusesAShortTemplate) {
    const std::string tmpl = (home / "short.kvt").string();
    std::ofstream(tmpl, std::ios::binary) << std::string(1029, '\x01');
    const auto schedule = home / "short.kss";
    std::ofstream(schedule, std::ios::binary) << dailyLine(8, 0, 0, tmpl) << dailyLine(9, 1, 8, "");
    const int hours[] = {8, 9};
    std::vector<std::size_t> marks;
    ctl::CtlEnvironment env;
    env.schedule.tickPeriod = std::chrono::milliseconds{100};
    env.schedule.clock = [&] {
        marks.push_back(framesSoFar());
        if (marks.size() > std::size(hours) + 2) {
            throw std::runtime_error("the runner did not stop");
        }
        if (marks.size() == std::size(hours) + 1) {
            std::raise(SIGTERM);
        }
        return makeLocalTime(2024, 5, 6, hours[std::min(marks.size() - 1, std::size(hours) - 1)], 0,
                             0);
    };
    const CtlRun r = ctl({"schedule", "run", schedule.string()}, env);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "korvanectl: schedule run: 2024-05-06 08:00:00 skipped task 0: not a template "
                     "file: " +
                         tmpl + "\n");
    EXPECT_EQ(r.out, "2024-05-06 09:00:00\t1\t每天\t天\t09:00:00\t通道切换\tVGA\n");
    ASSERT_EQ(marks.size(), std::size(hours) + 1);
    EXPECT_EQ(marks[1], marks[0]) << "the short template sent nothing";
    EXPECT_EQ(codesSince(marks[1]), std::vector<int>{0x11});
}
