#include "ScheduleCommand.h"

#include "ScheduleRunner.h"
#include "core/schedule/DueTask.h"
#include "core/schedule/ScheduleFileReader.h"
#include "core/schedule/ScheduleRowTexts.h"

#include <optional>
#include <vector>

namespace korvane::ctl {

namespace {
constexpr std::string_view kSynopsis =
    "show FILE.kss | due FILE.kss --at DATETIME [--last N] | run FILE.kss";
// Any year a schedule line can name in four digits.
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

struct DueQuery {
    korvane::LocalTime at;
    std::optional<std::size_t> last;
};

int showSchedule(const std::vector<ScheduleTask>& tasks, OfflineSession& s) {
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        s.out << scheduleRowLine(tasks[i], i) << '\n';
    }
    return kExitOk;
}

int showDue(const std::vector<ScheduleTask>& tasks, const DueQuery& q, OfflineSession& s) {
    const ScheduleTask lastRun = q.last ? tasks[*q.last] : ScheduleTask{};
    const DueDecision d = dueTask(tasks, q.at, lastRun);
    const std::string candidate = d.candidate ? std::to_string(*d.candidate) : "";
    switch (d.verdict) {
    case DueVerdict::Due:
        s.out << "due\t" << scheduleRowLine(tasks[*d.candidate], *d.candidate) << '\n';
        break;
    case DueVerdict::AlreadyRun:
        s.out << "none: task " << candidate << " is the latest so far and has already run\n";
        break;
    case DueVerdict::NotToday:
        s.out << "none: task " << candidate << " is the latest so far but not for this day\n";
        break;
    case DueVerdict::BeforeFirstTask:
        s.out << "none: no task's time has come yet on this day\n";
        break;
    }
    return kExitOk;
}

// "--at DATETIME" and "--last N" in any order.
Prepared prepareDue(const std::string& path, std::vector<ScheduleTask> tasks,
                    std::span<const std::string> options, LocalTime now) {
    constexpr std::string_view kName = "schedule due";
    std::optional<korvane::LocalTime> at;
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i < options.size(); i += 2) {
        if (i + 1 >= options.size() || (options[i] != "--at" && options[i] != "--last")) {
            return wrongArity(kName, "FILE.kss --at DATETIME [--last N]");
        }
        const std::string& value = options[i + 1];
        if (options[i] == "--at") {
            const auto v = parseDateTime(value, now, kFirstYear, kLastYear);
            if (!v) {
                return refuse(kName, "--at must be a date and time YYYY-MM-DD HH:MM:SS or now, "
                                     "got '" +
                                         value + "'");
            }
            at = makeLocalTime((*v)[0], (*v)[1], (*v)[2], (*v)[3], (*v)[4], (*v)[5]);
            continue;
        }
        const auto n = parseInteger(value);
        if (!n || *n < 0 || static_cast<std::size_t>(*n) >= tasks.size()) {
            const std::string numbers =
                tasks.empty() ? "it has none" : "0.." + std::to_string(tasks.size() - 1);
            return refuse(kName, "--last must be a task number of " + path + " (" + numbers +
                                     "), got '" + value + "'");
        }
        last = static_cast<std::size_t>(*n);
    }
    if (!at) {
        return refuse(kName, "--at DATETIME is required");
    }
    const DueQuery q{*at, last};
    return {
        {}, [tasks = std::move(tasks), q](OfflineSession& s) { return showDue(tasks, q, s); }, {}};
}
} // namespace

std::string scheduleRowLine(const ScheduleTask& task, std::size_t row) {
    const ScheduleRowTexts t = scheduleRowTexts(task, row);
    return t.number + '\t' + t.periodKind + '\t' + t.periodDetail + '\t' + t.time + '\t' +
           t.action + '\t' + t.target;
}

Prepared prepareSchedule(std::span<const std::string> operands, LocalTime now) {
    if (operands.size() < 2) {
        return wrongArity("schedule", kSynopsis);
    }
    const std::string& verb = operands[0];
    const std::string& path = operands[1];
    if (verb != "show" && verb != "due" && verb != "run") {
        return wrongArity("schedule", kSynopsis);
    }
    if (verb != "due" && operands.size() != 2) {
        return wrongArity("schedule " + verb, "FILE.kss");
    }
    std::string why;
    auto tasks = readScheduleFile(path, &why);
    if (!tasks) {
        return refuseFile("schedule " + verb, "cannot read " + path + ": " + why);
    }
    if (verb == "show") {
        return {{},
                [tasks = std::move(*tasks)](OfflineSession& s) { return showSchedule(tasks, s); },
                {}};
    }
    if (verb == "due") {
        return prepareDue(path, std::move(*tasks), operands.subspan(2), now);
    }
    return {[tasks = std::move(*tasks)](Session& s) { return runSchedule(s, tasks); }, {}, {}};
}

} // namespace korvane::ctl
