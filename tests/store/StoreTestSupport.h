#pragma once

#include "../core/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace korvane::test {

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void spit(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Points the program directory at a fresh folder for the life of the object.
class ProgramHome {
public:
    ProgramHome() {
        if (const char* old = std::getenv("KORVANE_HOME")) {
            previous_ = old;
        }
        ::setenv("KORVANE_HOME", dir_.path().c_str(), 1);
    }
    ~ProgramHome() {
        if (previous_) {
            ::setenv("KORVANE_HOME", previous_->c_str(), 1);
        } else {
            ::unsetenv("KORVANE_HOME");
        }
    }
    ProgramHome(const ProgramHome&) = delete;
    ProgramHome& operator=(const ProgramHome&) = delete;
    const std::filesystem::path& path() const { return dir_.path(); }

private:
    TempDir dir_;
    std::optional<std::string> previous_;
};

// How many entries a folder holds; a left-over temporary file shows up here.
inline std::size_t entryCount(const std::filesystem::path& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) {
        ++n;
    }
    return n;
}

} // namespace korvane::test
