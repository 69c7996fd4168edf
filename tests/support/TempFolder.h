#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvane::test {

// A fresh folder for a test's files, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of `name` inside the folder.
    std::string file(const std::string& name) const;
    // Writes `bytes` to `name` inside the folder; its path.
    std::string write(const std::string& name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

// Points KORVANE_HOME at a fresh folder for the life of the object, so that the log and the
// settings the program opens by itself stay out of the user's files.
class ProgramHome {
public:
    ProgramHome();
    ~ProgramHome();
    ProgramHome(const ProgramHome&) = delete;
    ProgramHome& operator=(const ProgramHome&) = delete;

    const std::filesystem::path& path() const { return folder_.path(); }
    std::string file(const std::string& name) const { return folder_.file(name); }

private:
    TempFolder folder_;
    bool hadPrevious_ = false;
    std::string previous_;
};

// The whole content of a file; empty when it cannot be read.
std::string slurp(const std::filesystem::path& p);
// Replaces a file's content with `bytes`.
void spit(const std::filesystem::path& p, std::string_view bytes);
// How many entries a folder holds; a left-over temporary file shows up here.
std::size_t entryCount(const std::filesystem::path& dir);

} // namespace korvane::test
