#include "store/AtomicFile.h"

#include "StoreTestSupport.h"
#include "store/IniFile.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
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
    test::TempDir dir;
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
    test::TempDir dir;
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

TEST(AtomicFile, AMissingFolderIsAnError) {
    test::TempDir dir;
    const auto ec = writeFileAtomically(dir.path() / "no" / "such", bytesOf("x"));
    EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
}

} // namespace
