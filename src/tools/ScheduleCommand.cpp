#include "ScheduleCommand.h"

#include "ScheduleRunner.h"
#include "core/schedule/DueTask.h"
#include "core/schedule/ScheduleFileReader.h"
#include "core/schedule/ScheduleRowTexts.h"
#include "core/schedule/TaskCheck.h"

#include <optional>
#include <vector>

namespace korvane::ctl {

namespace {
constexpr std::string_view kSynopsis =
    "show FILE.kss | due FILE.kss --at DATETIME [--last N [--ran DATETIME]] | run FILE.kss";
// Any year a schedule line can name in four digits.
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

struct DueQuery {
    korvane::LocalTime at;
    std::optional<std::size_t> last;
    std::optional<korvane::LocalTime> ran;
};

int showSchedule(const std::vector<ScheduleTask>& tasks, OfflineSession& s) {
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        s.out << scheduleRowLine(tasks[i], i);
        // A task that will not run as written is marked at the end of its line.
        if (const TaskProblem problem = taskProblem(tasks[i]); problem != TaskProblem::None) {
            s.out << '\t' << (problem == TaskProblem::Invalid ? "" : "skipped: ")
                  << taskProblemText(problem);
        }
        s.out << '\n';
    }
    return kExitOk;
}

int showDue(const std::vector<ScheduleTask>& tasks, const DueQuery& q, OfflineSession& s) {
    LastRun lastRun;
    if (q.last) {
        // Without --ran the task ran at the moment asked about.
        lastRun = {tasks[*q.last], q.ran.value_or(q.at)};
    }
    const DueDecision d = dueTask(tasks, q.at, lastRun);
    const std::string candidate = d.candidate ? std::to_string(*d.candidate) : "";
    switch (d.verdict) {
    case DueVerdict::Due:
        s.out << "due\t" << scheduleRowLine(tasks[*d.candidate], *d.candidate) << '\n';
        break;
    case DueVerdict::AlreadyRun:
        s.out << "none: task " << candidate
              << " is the latest for this day so far and has already run\n";
        break;
    case DueVerdict::BeforeFirstTask:
        s.out << "none: no task for this day has reached its time yet\n";
        break;
    }
    return kExitOk;
}

// "--at DATETIME" and "--last N" in any order.
Prepared prepareDue(const std::string& path, std::vector<ScheduleTask> tasks,
                    std::span<const std::string> options, LocalTime now) {
    constexpr std::string_view kName = "schedule due";
    std::optional<korvane::LocalTime> at;
    std::optional<korvane::LocalTime> ran;
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i < options.size(); i += 2) {
        if (i + 1 >= options.size() ||
            (options[i] != "--at" && options[i] != "--last" && options[i] != "--ran")) {
            return wrongArity(kName, "FILE.kss --at DATETIME [--last N [--ran DATETIME]]");
        }
        const std::string& value = options[i + 1];
        if (options[i] == "--at" || options[i] == "--ran") {
            const auto v = parseDateTime(value, now, kFirstYear, kLastYear);
            if (!v) {
                return refuse(kName, options[i] +
                                         " must be a date and time YYYY-MM-DD HH:MM:SS or now, "
                                         "got '" +
                                         value + "'");
            }
            (options[i] == "--at" ? at : ran) =
                makeLocalTime((*v)[0], (*v)[1], (*v)[2], (*v)[3], (*v)[4], (*v)[5]);
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
    if (ran && !last) {
        return refuse(kName, "--ran needs --last N");
    }
    if (!at) {
        return refuse(kName, "--at DATETIME is required");
    }
    const DueQuery q{*at, last, ran};
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
