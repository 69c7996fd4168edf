#pragma once

#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace korvane {

// The folder name under share/ that holds the files shipped with the program.
inline constexpr std::string_view kDataFolderName = "korvane";

// Where the files shipped with the program are (icons, the wall drawing's background pictures,
// the manual), best first: share/korvane beside the executable's folder (an install under any
// prefix, and the build tree), then each $XDG_DATA_DIRS entry's korvane folder
// (/usr/local/share and /usr/share when unset). These are read only; the user's own files stay
// in the program directory.
std::vector<std::filesystem::path> dataDirectories();
// The same for a given executable and $XDG_DATA_DIRS value (null: unset).
std::vector<std::filesystem::path> dataDirectories(const std::filesystem::path& executable,
                                                   const char* xdgDataDirs);

// `wanted` when that file exists (a copy the user keeps in the program directory wins);
// otherwise the first data folder's file of the same name; otherwise `wanted` unchanged.
std::filesystem::path shippedFile(const std::filesystem::path& wanted);
std::filesystem::path shippedFile(const std::filesystem::path& wanted,
                                  std::span<const std::filesystem::path> dataDirs);

} // namespace korvane
