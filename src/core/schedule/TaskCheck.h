#pragma once

#include "core/schedule/ScheduleTask.h"

#include <string_view>

namespace korvane {

// What keeps a task from being carried out as written.
enum class TaskProblem {
    None,
    Invalid,            // a number longer than nine characters: the line never runs
    TemplateMissing,    // action 0 names no existing file
    NotATemplate,       // action 0 names something the template load refuses
    TemplateUnreadable, // action 0 names a file that could not be read (permissions, I/O)
};

// Reads the template file of action 0 with the same reader and rule as the template load
// (program and command line), so a task is marked exactly when its load would refuse it.
TaskProblem taskProblem(const ScheduleTask& task);

// The reason in English words, for the command line ("invalid line: ...", "template file
// missing", "not a template file", "template file unreadable"); empty for None.
std::string_view taskProblemText(TaskProblem problem);

} // namespace korvane
