#include "core/store/DataDirectory.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace korvane {

namespace {
namespace fs = std::filesystem;

constexpr std::string_view kDefaultXdgDataDirs = "/usr/local/share:/usr/share";

bool isFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

void addOnce(std::vector<fs::path>& dirs, fs::path dir) {
    dir = dir.lexically_normal();
    for (const auto& d : dirs) {
        if (d == dir) {
            return;
        }
    }
    dirs.push_back(std::move(dir));
}
} // namespace

std::vector<fs::path> dataDirectories(const fs::path& executable, const char* xdgDataDirs) {
    std::vector<fs::path> dirs;
    if (executable.has_parent_path()) {
        addOnce(dirs, executable.parent_path().parent_path() / "share" / kDataFolderName);
    }
    // As the freedesktop base-directory rules say: unset or empty means the default list; relative
    // entries are ignored.
    std::string_view list = xdgDataDirs != nullptr && *xdgDataDirs != '\0'
                                ? std::string_view(xdgDataDirs)
                                : kDefaultXdgDataDirs;
    while (!list.empty()) {
        const auto colon = list.find(':');
        const std::string_view entry = list.substr(0, colon);
        if (entry.starts_with('/')) {
            addOnce(dirs, fs::path(entry) / kDataFolderName);
        }
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    return dirs;
}

std::vector<fs::path> dataDirectories() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return dataDirectories(ec ? fs::path() : exe, std::getenv("XDG_DATA_DIRS"));
}

fs::path shippedFile(const fs::path& wanted, std::span<const fs::path> dataDirs) {
    if (wanted.empty() || isFile(wanted)) {
        return wanted;
    }
    for (const auto& dir : dataDirs) {
        if (const fs::path candidate = dir / wanted.filename(); isFile(candidate)) {
            return candidate;
        }
    }
    return wanted;
}

fs::path shippedFile(const fs::path& wanted) {
    if (wanted.empty() || isFile(wanted)) {
        return wanted;
    }
    return shippedFile(wanted, dataDirectories());
}

} // namespace korvane
