#include "core/schedule/TaskCheck.h"

#include "core/store/TemplateFile.h"

#include <filesystem>

namespace korvane {

TaskProblem taskProblem(const ScheduleTask& task) {
    if (task.invalid) {
        return TaskProblem::Invalid;
    }
    if (task.action != scheduleaction::kLoadTemplate) {
        return TaskProblem::None;
    }
    std::error_code ec;
    const auto status = std::filesystem::status(task.path, ec);
    if (task.path.empty() || !std::filesystem::exists(status)) {
        return TaskProblem::TemplateMissing;
    }
    // A template is a regular file of at least the full template size; anything shorter would
    // change only part of the mirror.
    if (!std::filesystem::is_regular_file(status) ||
        std::filesystem::file_size(task.path, ec) < templatefile::kFileSize || ec) {
        return TaskProblem::NotATemplate;
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
    case TaskProblem::None:
        break;
    }
    return {};
}

} // namespace korvane
