#include "core/schedule/TaskCheck.h"

#include "core/store/Settings.h"
#include "core/store/TemplateFile.h"

namespace korvane {

TaskProblem taskProblem(const ScheduleTask& task) {
    if (task.invalid) {
        return TaskProblem::Invalid;
    }
    if (task.action != scheduleaction::kLoadTemplate) {
        return TaskProblem::None;
    }
    if (!Settings::fileExists(task.path)) {
        return TaskProblem::TemplateMissing;
    }
    if (const auto ec = checkTemplateFile(task.path)) {
        return templateRefused(ec) ? TaskProblem::NotATemplate : TaskProblem::TemplateUnreadable;
    }
    return TaskProblem::None;
}

std::string_view taskProblemText(TaskProblem problem) {
    switch (problem) {
    case TaskProblem::Invalid:
        return "invalid line: a number longer than 9 characters";
    case TaskProblem::TemplateMissing:
        return "template file missing";
    case TaskProblem::NotATemplate:
        return "not a template file";
    case TaskProblem::TemplateUnreadable:
        return "template file unreadable";
    case TaskProblem::None:
        break;
    }
    return {};
}

} // namespace korvane
