#include "support/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace korvane::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        // Every test using it would write beside the user's files otherwise.
        throw std::runtime_error("no temporary folder: " + pattern);
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempFolder::file(const std::string& name) const {
    return (path_ / name).string();
}

std::string TempFolder::write(const std::string& name, std::string_view bytes) const {
    spit(path_ / name, bytes);
    return file(name);
}

ProgramHome::ProgramHome() {
    if (const char* old = std::getenv("KORVANE_HOME")) {
        hadPrevious_ = true;
        previous_ = old;
    }
    ::setenv("KORVANE_HOME", folder_.path().c_str(), 1);
}

ProgramHome::~ProgramHome() {
    if (hadPrevious_) {
        ::setenv("KORVANE_HOME", previous_.c_str(), 1);
    } else {
        ::unsetenv("KORVANE_HOME");
    }
}

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spit(const std::filesystem::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::size_t entryCount(const std::filesystem::path& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) {
        ++n;
    }
    return n;
}

} // namespace korvane::test
