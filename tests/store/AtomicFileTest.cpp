#include "core/store/AtomicFile.h"

#include "core/store/IniFile.h"
#include "support/TempFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <span>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvane;
using korvane::test::slurp;
using korvane::test::spit;

namespace {

std::span<const std::uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// A write step that lets `budget` bytes through, then fails as a full disk would.
WriteStep failingAfter(std::size_t budget) {
    return [budget](int fd, const std::uint8_t* data, std::size_t size) mutable -> ::ssize_t {
        if (budget == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t n = std::min(size, budget);
        budget -= n;
        return ::write(fd, data, n);
    };
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFileAndNoDebris) {
    test::TempFolder dir;
    const auto path = dir.path() / "target";
    const std::string old = "old contents\n";
    const std::string replacement(5000, 'n');
    for (const std::size_t budget : {std::size_t{0}, std::size_t{1}, std::size_t{4999}}) {
        spit(path, old);
        const auto ec = writeFileAtomically(path, bytesOf(replacement), failingAfter(budget));
        EXPECT_EQ(ec, std::errc::no_space_on_device) << budget;
        EXPECT_EQ(slurp(path), old) << budget;
        EXPECT_EQ(test::entryCount(dir.path()), 1u) << budget;
    }
    // Short writes that go on succeed.
    EXPECT_FALSE(writeFileAtomically(path, bytesOf(replacement),
                                     [](int fd, auto* d, auto) { return ::write(fd, d, 1); }));
    EXPECT_EQ(slurp(path), replacement);
}

TEST(AtomicFile, KeepsPermissionsAndSymbolicLinks) {
    test::TempFolder dir;
    const auto real = dir.path() / "real.ini";
    const auto link = dir.path() / "link.ini";
    spit(real, "[s]\nk=1\n");
    ::chmod(real.c_str(), 0600);
    std::filesystem::create_symlink(real, link);
    IniFile ini(link);
    ASSERT_TRUE(ini.writeInt("s", "k", 2));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(slurp(real), "[s]\nk=2\n");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// A process that has ended: its pid is free (until the system hands it out again).
pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

// What writers killed half-way left beside the target goes with the next write of that target;
// the files of writers still running, of other targets, and names that only look alike stay.
TEST(AtomicFile, TheNextWriterRemovesWhatKilledWritersLeft) {
    test::TempFolder dir;
    const auto path = dir.path() / "KorvaneTemp1.kvt";
    spit(path, "old");
    const pid_t dead = endedProcess();
    const pid_t living = ::getppid(); // the test runner, or whatever started this test
    const std::string tmp = ".KorvaneTemp1.kvt.tmp";
    const std::string gone[] = {tmp + std::to_string(dead) + "-0",
                                tmp + std::to_string(dead) + "-17"};
    const std::string kept[] = {
        tmp + std::to_string(living) + "-0",                   // its writer may still finish
        tmp + std::to_string(::getpid()) + "-99",              // this process's other writer
        ".KorvaneTemp2.kvt.tmp" + std::to_string(dead) + "-0", // another file's
        tmp + std::to_string(dead),                            // not a name we give
        tmp + "x" + std::to_string(dead) + "-0",
        tmp + "99999999999999999999-0",
    };
    for (const auto& names :
         {std::span<const std::string>(gone), std::span<const std::string>(kept)}) {
        for (const auto& name : names) {
            spit(dir.path() / name, "half");
        }
    }
    ASSERT_FALSE(writeFileAtomically(path, bytesOf("new")));
    EXPECT_EQ(slurp(path), "new");
    for (const auto& name : gone) {
        EXPECT_FALSE(std::filesystem::exists(dir.path() / name)) << name;
    }
    for (const auto& name : kept) {
        EXPECT_TRUE(std::filesystem::exists(dir.path() / name)) << name;
    }
    EXPECT_EQ(test::entryCount(dir.path()), 1u + std::size(kept));
}

TEST(AtomicFile, AMissingFolderIsAnError) {
    test::TempFolder dir;
    const auto ec = writeFileAtomically(dir.path() / "no" / "such", bytesOf("x"));
    EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
}

} // namespace
