#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <sys/types.h>
#include <system_error>

namespace korvane {

// One write(2)-like step: writes up to `size` bytes to `fd` and gives the count, or -1 with
// errno set. Tests put a failing step here to stand for a full disk or a crash half-way.
using WriteStep = std::function<::ssize_t(int fd, const std::uint8_t* data, std::size_t size)>;

// Replaces `target` with exactly `bytes`, or leaves it untouched: the bytes go to a new file in
// the same folder, which is synced and then renamed over the target. A symbolic link is
// followed, so the link itself stays. An existing target's permission bits are kept; one
// without write permission (no write bit at all, or none for this user) is not replaced.
// Temporary files that writers of the same target left when they were killed half-way are
// removed first; those of writers still running are not touched.
// Gives an empty error code on success.
std::error_code writeFileAtomically(const std::filesystem::path& target,
                                    std::span<const std::uint8_t> bytes,
                                    const WriteStep& step = {});

} // namespace korvane
