#include "core/schedule/ScheduleList.h"

#include "core/schedule/ScheduleFileReader.h"

#include <utility>

namespace korvane {

bool ScheduleList::load(const std::string& path) {
    auto tasks = readScheduleFile(path);
    if (!tasks) {
        return false;
    }
    assign(std::move(*tasks));
    return true;
}

void ScheduleList::loadBytes(std::string_view bytes) {
    assign(parseScheduleText(bytes));
}

void ScheduleList::assign(std::vector<ScheduleTask> tasks) {
    tasks_ = std::move(tasks);
    lastRun_ = LastRun{};
}

void ScheduleList::clear() {
    assign({});
}

DueDecision ScheduleList::findDue(const LocalTime& now) const {
    return dueTask(tasks_, now, lastRun_);
}

void ScheduleList::markRun(const ScheduleTask& task, const LocalTime& at) {
    lastRun_ = {task, at};
}

} // namespace korvane
