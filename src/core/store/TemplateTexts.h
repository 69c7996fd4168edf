#pragma once

#include <string_view>

namespace korvane {

// The operator-facing texts around template files (Chinese source texts; the desktop program
// translates them).
enum class TemplateText {
    ProgramTitle,   // the main window's title without a file
    SlotTitle,      // followed by the slot number, in place of a slot file's name
    LoadingCaption, // busy caption while the mirror goes to the processor
    SynchroniseCaption,
    OverwriteQuestion,
    FileMissing,
    LoadFailed,
    Saved,
    SaveFailed,
    OpenFailed,
    FileError,
};

std::string_view templateText(TemplateText t);

} // namespace korvane
