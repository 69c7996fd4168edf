#include "core/store/TemplateFile.h"

#include "core/store/Settings.h"
#include "core/store/SettingsKeys.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvane;
using korvane::test::slurp;
using korvane::test::spit;
namespace tf = korvane::templatefile;

namespace {

// A mirror whose every byte differs from its neighbours, so that a shifted copy shows.
ParameterMirror patterned(std::uint8_t start) {
    ParameterMirror m{};
    auto* bytes = reinterpret_cast<std::uint8_t*>(&m);
    for (std::size_t i = 0; i < sizeof m; ++i) {
        bytes[i] = static_cast<std::uint8_t>(start + i * 7);
    }
    return m;
}

std::string bytesOf(const ParameterMirror& m) {
    return {reinterpret_cast<const char*>(&m), sizeof m};
}

struct TemplateFixture : ::testing::Test {
    test::TempFolder dir;
    Settings settings{dir.path() / "korvaneapp.ini"};
    std::filesystem::path file = dir.path() / "show.kvt";

    std::string recentFile() const {
        return IniFile(settings.file())
            .readString(settingskey::kRecentFile.section, settingskey::kRecentFile.name);
    }
};

TEST_F(TemplateFixture, SavedFileIsHeaderZerosAndTheMirror) {
    const ParameterMirror m = patterned(3);
    ASSERT_EQ(saveTemplateFile(file, m, settings), SaveResult::Saved);
    const std::string bytes = slurp(file);
    ASSERT_EQ(bytes.size(), 1030u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\x00\x01", 2));
    EXPECT_EQ(bytes.substr(2, 200), std::string(200, '\0'));
    EXPECT_EQ(bytes.substr(202), bytesOf(m));
    EXPECT_EQ(recentFile(), file.string());

    ParameterMirror back = patterned(99);
    std::vector<std::uint8_t> read;
    ASSERT_FALSE(readTemplateFile(file, read));
    EXPECT_EQ(applyTemplate(read, back), sizeof back);
    EXPECT_EQ(bytesOf(back), bytesOf(m));
}

// The header is never checked; a file shorter than a template is refused; a long one gives no
// more than the mirror. Applying bytes by themselves overwrites only the mirror bytes they hold.
TEST_F(TemplateFixture, ShortLongAndForeignFiles) {
    const ParameterMirror before = patterned(1);
    const std::string source =
        std::string(tf::kHeaderSize, '\xAB') + bytesOf(patterned(50)) + std::string(500, '\xCD');
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{100}, std::size_t{202}, std::size_t{203}, std::size_t{500},
          std::size_t{1029}, std::size_t{1030}, source.size()}) {
        spit(file, source.substr(0, size));
        std::vector<std::uint8_t> read;
        const std::error_code ec = readTemplateFile(file, read);
        if (size < tf::kFileSize) {
            EXPECT_EQ(ec, std::errc::message_size) << size;
            EXPECT_TRUE(templateRefused(ec));
            EXPECT_TRUE(read.empty()) << size;
        } else {
            ASSERT_FALSE(ec) << size;
            EXPECT_EQ(read.size(), tf::kFileSize) << size;
        }
        const auto bytes = reinterpret_cast<const std::uint8_t*>(source.data());
        ParameterMirror m = before;
        const std::size_t applied = applyTemplate({bytes, size}, m);
        const std::size_t expected =
            size > tf::kHeaderSize ? std::min(size - tf::kHeaderSize, sizeof m) : 0;
        EXPECT_EQ(applied, expected) << size;
        const std::string got = bytesOf(m);
        EXPECT_EQ(got.substr(0, expected), source.substr(tf::kHeaderSize, expected)) << size;
        EXPECT_EQ(got.substr(expected), bytesOf(before).substr(expected)) << size;
    }
}

TEST_F(TemplateFixture, InterruptedSaveLeavesTheOldTemplateWhole) {
    ASSERT_EQ(saveTemplateFile(file, patterned(1), settings), SaveResult::Saved);
    const std::string old = slurp(file);
    settings.writeRecentFile("/elsewhere.kvt");
    for (const std::size_t budget : {std::size_t{0}, std::size_t{202}, std::size_t{1029}}) {
        WriteStep crash = [left = budget](int fd, const std::uint8_t* data,
                                          std::size_t size) mutable -> ::ssize_t {
            if (left == 0) {
                errno = EIO;
                return -1;
            }
            const std::size_t n = std::min(size, left);
            left -= n;
            return ::write(fd, data, n);
        };
        EXPECT_EQ(saveTemplateFile(file, patterned(2), settings, {}, crash), SaveResult::Failed)
            << budget;
        EXPECT_EQ(slurp(file), old) << budget;
    }
    EXPECT_EQ(recentFile(), "/elsewhere.kvt");
    EXPECT_EQ(test::entryCount(dir.path()), 2u); // the template and the settings, no debris
}

TEST_F(TemplateFixture, OverwriteNeedsTheOperatorsYes) {
    int asked = 0;
    bool answer = false;
    const auto confirm = [&] {
        ++asked;
        return answer;
    };
    ASSERT_EQ(saveTemplateFile(file, patterned(1), settings, confirm), SaveResult::Saved);
    EXPECT_EQ(asked, 0) << "a new file needs no question";
    const std::string first = slurp(file);
    EXPECT_EQ(saveTemplateFile(file, patterned(2), settings, confirm), SaveResult::Refused);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(slurp(file), first);
    answer = true;
    EXPECT_EQ(saveTemplateFile(file, patterned(2), settings, confirm), SaveResult::Saved);
    EXPECT_EQ(slurp(file).substr(202), bytesOf(patterned(2)));
}

// A template without write permission is not replaced, even by a user the permissions do not
// bind; the recent file stays as it was.
TEST_F(TemplateFixture, AReadOnlyTemplateIsKept) {
    ASSERT_EQ(saveTemplateFile(file, patterned(1), settings), SaveResult::Saved);
    const std::string old = slurp(file);
    settings.writeRecentFile("/elsewhere.kvt");
    ::chmod(file.c_str(), 0444);
    EXPECT_EQ(saveTemplateFile(file, patterned(2), settings), SaveResult::Failed);
    EXPECT_EQ(slurp(file), old);
    EXPECT_EQ(recentFile(), "/elsewhere.kvt");
    EXPECT_EQ(test::entryCount(dir.path()), 2u);
}

TEST_F(TemplateFixture, SaveIntoAMissingFolderFails) {
    EXPECT_EQ(saveTemplateFile(dir.path() / "no" / "x.kvt", patterned(1), settings),
              SaveResult::Failed);
    EXPECT_EQ(recentFile(), "");
}

TEST(TemplateSlots, FilesLiveInTheProgramDirectory) {
    test::ProgramHome home;
    EXPECT_EQ(slotTemplatePath(3), home.path() / "KorvaneTemp3.kvt");
    EXPECT_EQ(slotFileName(10), "KorvaneTemp10.kvt");
    EXPECT_EQ(slotFileName(0), "KorvaneTemp0.kvt");
}

TEST(TemplateTitle, SlotFilesOneToFiveShowTheirNumber) {
    const std::string program = "Korvane Controller v3.0";
    const std::pair<const char*, std::string> cases[] = {
        {"", program},
        {"/opt/k/KorvaneTemp3.kvt", program + " - 模板3"},
        {"/opt/k/KorvaneTemp5.kvt", program + " - 模板5"},
        {"/opt/k/KorvaneTemp7.kvt", program + " - KorvaneTemp7.kvt"},
        {"/opt/k/KorvaneTemp10.kvt", program + " - KorvaneTemp10.kvt"},
        {"/opt/k/OldKorvaneTemp2.kvt", program + " - 模板2"},
        {"/home/op/shows/evening.kvt", program + " - evening.kvt"},
        {"relative.kvt", program + " - relative.kvt"},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(windowTitle(path), expected) << path;
    }
    EXPECT_EQ(windowTitle("/k/KorvaneTemp4.kvt", "Title", "Template "), "Title - Template 4");
}

} // namespace
