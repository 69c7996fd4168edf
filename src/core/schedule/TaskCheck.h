#pragma once

#include "core/schedule/ScheduleTask.h"

#include <string_view>

namespace korvane {

// What keeps a task from being carried out as written.
enum class TaskProblem {
    None,
    Invalid,         // a number longer than nine characters: the line never runs
    TemplateMissing, // action 0 names no existing file
    NotATemplate,    // action 0 names something that is not a template file
};

// Looks at the template file only for action 0, without opening it.
TaskProblem taskProblem(const ScheduleTask& task);

// The reason in English words, for the command line ("invalid line: ...", "template file
// missing", "not a template file"); empty for None.
std::string_view taskProblemText(TaskProblem problem);

} // namespace korvane
