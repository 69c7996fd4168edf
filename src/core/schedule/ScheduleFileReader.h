#pragma once

#include "core/schedule/ScheduleTask.h"
#include "core/store/InputFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// Reader of schedule script files (.kss): 8-bit text, one task per line.
//
// Lines end with LF; a CR right before it (or at the end of the last line) is dropped. The last
// line counts even without a line end; an empty file gives no tasks, a blank line an all-zero
// task. A line holds up to seventeen fields in ScheduleTask order, each ended by a comma or an
// apostrophe (the separator after the last field may be missing). An empty field ends the line:
// it and every later field keep their zero value. Fields after the seventeenth are ignored.
// Numbers read as atoi reads them (leading blanks, optional sign, digits up to the first
// non-digit, 0 without digits). No line is ever rejected.
//
// Outside the format, and handled so that nothing can overflow:
// - A numeric field longer than 9 characters makes the line invalid: the task is kept (so that
//   the lists can mark it) with `invalid` set and never runs. Its value is cut to the first 9
//   characters, so every value stays within ±999999999.
// - A path longer than 263 bytes is dropped and the task gets an empty path: a cut path could
//   name another, existing template file, whereas an empty one is a missing file that the
//   executor skips silently.
// - A NUL byte ends the path, as it would in the format's zero-terminated buffer.

// One line (without its line end) as a task.
ScheduleTask parseScheduleLine(std::string_view line);

// A whole file's bytes as tasks in file order.
std::vector<ScheduleTask> parseScheduleText(std::string_view bytes);

// Real schedules are a few kilobytes and a few dozen tasks; a file of more lines is refused (a
// file of blank lines would otherwise fill memory with tasks).
inline constexpr std::size_t kMaxScheduleTasks = 65536;
inline constexpr std::size_t kMaxScheduleFileBytes = filelimit::kSchedule;

// The tasks of the file at `path`, or nothing when it is not an existing regular file of at most
// 16 MiB, holds more than kMaxScheduleTasks lines or cannot be read (then `error`, when given,
// says why).
std::optional<std::vector<ScheduleTask>> readScheduleFile(const std::string& path,
                                                          std::string* error = nullptr);

} // namespace korvane
