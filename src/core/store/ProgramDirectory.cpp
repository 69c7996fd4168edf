#include "core/store/ProgramDirectory.h"

#include "core/store/SettingsKeys.h"

#include <cstdlib>
#include <system_error>

namespace korvane {

namespace {
namespace fs = std::filesystem;

fs::path ensured(const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    return dir;
}

fs::path userConfigDirectory() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        return fs::path(xdg) / "korvane";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return fs::path(home) / ".config" / "korvane";
    }
    return fs::temp_directory_path() / "korvane";
}
} // namespace

fs::path programDirectory() {
    if (const char* home = std::getenv("KORVANE_HOME"); home != nullptr && *home != '\0') {
        return ensured(home);
    }
    // A copy that keeps its settings beside it (a portable install) stays portable; every other
    // program of this user shares one folder, so that all of them agree on one configuration.
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && exe.has_parent_path() &&
        fs::exists(exe.parent_path() / settingskey::kFileName, ec)) {
        return exe.parent_path();
    }
    return ensured(userConfigDirectory());
}

} // namespace korvane
