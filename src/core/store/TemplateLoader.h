#pragma once

#include "core/commands/DeviceOperation.h"

#include <filesystem>

namespace korvane {

class Settings;
class TemplateLoadHost;

enum class LoadResult : int {
    Loaded = 0,
    Failed = -1,
    SendFailed = -2,
    FileMissing = -3,
    Unreadable = -4,
};

// Puts a template file into the processor: the file goes into the mirror and the panels, every
// parameter is sent, then everything is read back.
//   Loaded       the file was applied and sent (a failed read-back still counts as loaded; the
//                panels then show the file's values)
//   Failed       a step after reading the file threw
//   SendFailed   sending to the processor failed; the mirror holds the file's values
//   FileMissing  no such file
//   Unreadable   the file exists but is no template (shorter than a template, not a regular
//                file, too large: reported as the open failure) or could not be read (a file
//                error); nothing changed and nothing sent
// The send switch is on again afterwards, whatever happened.
class TemplateLoader {
public:
    TemplateLoader(const OperationContext& ctx, Settings& settings, TemplateLoadHost& host)
        : ctx_(ctx), settings_(settings), host_(host) {}

    LoadResult load(const std::filesystem::path& file);

private:
    OperationContext ctx_;
    Settings& settings_;
    TemplateLoadHost& host_;
};

} // namespace korvane
