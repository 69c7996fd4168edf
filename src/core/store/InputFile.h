#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

namespace korvane {

// How large each kind of file the programs read may be; anything larger is not one of them.
namespace filelimit {
inline constexpr std::size_t kTemplate = std::size_t{1} << 20;
inline constexpr std::size_t kPlanText = std::size_t{1} << 20;
inline constexpr std::size_t kSettings = std::size_t{4} << 20;
inline constexpr std::size_t kSchedule = std::size_t{16} << 20;
} // namespace filelimit

// Reads `file` whole into `out` when it is a regular file of at most `limit` bytes. Opening
// never waits (a FIFO without a writer, a terminal), and nothing beyond `limit` is read, so a
// device that never ends is refused at once. Errors: the open's errno; invalid_argument for
// anything but a regular file; file_too_large beyond the limit. `out` is empty on error.
std::error_code readRegularFile(const std::filesystem::path& file, std::size_t limit,
                                std::string& out);

// The checks of readRegularFile without reading: `size` is the file's size when it passes.
std::error_code checkRegularFile(const std::filesystem::path& file, std::size_t limit,
                                 std::uintmax_t& size);

// "not a regular file", "larger than N bytes", or the system's text.
std::string inputFileErrorText(const std::error_code& ec, std::size_t limit);

} // namespace korvane
