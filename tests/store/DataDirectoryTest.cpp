#include "core/store/DataDirectory.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace korvane;
using korvane::test::spit;
namespace fs = std::filesystem;

namespace {

TEST(DataDirectory, BesideTheExecutableFirstThenTheDataDirs) {
    const struct {
        const char* xdg;
        std::vector<fs::path> expected;
    } rows[] = {
        {nullptr, {"/opt/k/share/korvane", "/usr/local/share/korvane", "/usr/share/korvane"}},
        {"", {"/opt/k/share/korvane", "/usr/local/share/korvane", "/usr/share/korvane"}},
        // Relative and empty entries are ignored; an entry equal to the first is not repeated.
        {"relative:/opt/k/share/::/srv/data", {"/opt/k/share/korvane", "/srv/data/korvane"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(dataDirectories("/opt/k/bin/korvanectl", row.xdg), row.expected)
            << (row.xdg ? row.xdg : "(unset)");
    }
    // No executable known: only the data dirs.
    EXPECT_EQ(dataDirectories(fs::path(), "/srv/data"),
              (std::vector<fs::path>{"/srv/data/korvane"}));
}

TEST(DataDirectory, TheUsersOwnCopyWinsThenTheFirstDataFolderThatHasIt) {
    test::TempFolder dir;
    const fs::path home = dir.path() / "home";
    const fs::path first = dir.path() / "first";
    const fs::path second = dir.path() / "second";
    for (const auto& d : {home, first, second}) {
        fs::create_directories(d);
    }
    const std::vector<fs::path> dirs{first, second};
    spit(second / "screen.bmp", "b");
    spit(second / "pip.bmp", "b");
    spit(first / "pip.bmp", "a");
    spit(home / "main.ico", "own");
    // A folder of the wanted name is not a file.
    fs::create_directories(first / "screen.bmp");

    EXPECT_EQ(shippedFile(home / "main.ico", dirs), home / "main.ico");
    EXPECT_EQ(shippedFile(home / "pip.bmp", dirs), first / "pip.bmp");
    EXPECT_EQ(shippedFile(home / "screen.bmp", dirs), second / "screen.bmp");
    // Found nowhere: unchanged, so that the caller's own "missing" handling applies.
    EXPECT_EQ(shippedFile(home / "wall.bmp", dirs), home / "wall.bmp");
    EXPECT_EQ(shippedFile(fs::path(), dirs), fs::path());
}

} // namespace
