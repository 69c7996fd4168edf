#include "core/store/IniFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

using namespace korvane;
using korvane::test::slurp;
using korvane::test::spit;

namespace {

std::string withEndings(std::string text, const std::string& eol) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += eol;
        } else {
            out += c;
        }
    }
    return out;
}

struct IntegerCase {
    const char* text;
    int expected;
};

// The rules of the Windows conversion, including where it differs from strtol.
const IntegerCase kIntegers[] = {
    {"0", 0},
    {"42", 42},
    {"  7", 7},
    {"+5", 5},
    {"-1", -1},
    {"-60", -60},
    {"12abc", 12},
    {"abc", 0},
    {"0x20", 0},
    {"- 3", 0},
    {"2147483647", 2147483647},
    {"2147483648", -2147483647 - 1},
    {"4294967295", -1},
    {"4294967296", 0},
    {"4294967297", 1},
    {"-4294967297", -1},
    {"42A94967297", 42},
};

TEST(IniFile, ProfileIntegerFollowsTheWindowsRule) {
    for (const auto& c : kIntegers) {
        EXPECT_EQ(IniFile::profileInteger(c.text), c.expected) << c.text;
    }
}

class IniLineEnds : public ::testing::TestWithParam<std::string> {
protected:
    test::TempFolder dir;
    std::filesystem::path file = dir.path() / "a.ini";
    std::string eol = GetParam();
};

INSTANTIATE_TEST_SUITE_P(Endings, IniLineEnds, ::testing::Values("\r\n", "\n"),
                         [](const auto& p) { return p.param == "\n" ? "LF" : "CRLF"; });

TEST_P(IniLineEnds, ReadsLikeThePrivateProfileFunctions) {
    spit(file, withEndings("\xEF\xBB\xBF[First]\n"
                           "  Alpha  =  one two  \n"
                           "; alpha=comment\n"
                           "quoted=\"  padded  \"\n"
                           "single='x'\n"
                           "half=\"open\n"
                           "empty=\n"
                           "alpha=second\n"
                           "novalue\n"
                           "[ Second ] trailing text\n"
                           "key=2\n"
                           "[first]\n"
                           "late=3\n"
                           "alpha=merged\n",
                           eol));
    const IniFile ini(file);
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"first", "ALPHA", "one two"},     // names fold case; blanks around go; first key wins
        {"FIRST", "quoted", "  padded  "}, // one pair of quotes goes, what they enclose stays
        {"first", "single", "x"},
        {"first", "half", "\"open"},
        {"first", "empty", ""},       // present but empty: not the default
        {"first", "novalue", "dflt"}, // no '=': no key
        {"first", "; alpha", "dflt"},
        {"second", "key", "2"},
        {"first", "late", "dflt"}, // a repeated section is not merged into the first
        {"third", "key", "dflt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ini.readString(c.section, c.key, "dflt"), c.expected)
            << c.section << "/" << c.key;
    }
}

TEST_P(IniLineEnds, WritesChangeOnlyTheirLineAndKeepTheFileStyle) {
    const std::string before = withEndings("; settings by hand\n"
                                           "\n"
                                           "[comm]\n"
                                           "CommPort = 3   ; the USB adaptor\n"
                                           "baudrate=9600\n"
                                           "\n"
                                           "; next the application\n"
                                           "[APP]\n"
                                           "lang=CHN",
                                           eol);
    spit(file, before);
    IniFile ini(file);
    ASSERT_TRUE(ini.writeInt("COMM", "commport", 7));
    ASSERT_TRUE(ini.writeString("comm", "timeout", "5"));
    ASSERT_TRUE(ini.writeString("app", "recentfile", "/t/a.kvt"));
    ASSERT_TRUE(ini.writeString("net", "ip", "127.0.0.2"));
    EXPECT_EQ(slurp(file), withEndings("; settings by hand\n"
                                       "\n"
                                       "[comm]\n"
                                       "CommPort = 7\n"
                                       "baudrate=9600\n"
                                       "timeout=5\n"
                                       "\n"
                                       "; next the application\n"
                                       "[APP]\n"
                                       "lang=CHN\n"
                                       "recentfile=/t/a.kvt\n"
                                       "[net]\n"
                                       "ip=127.0.0.2\n",
                                       eol));
    EXPECT_EQ(ini.readInt("comm", "commport", 999), 7);
}

TEST(IniFile, FirstWriteCreatesTheFile) {
    test::TempFolder dir;
    IniFile ini(dir.path() / "new.ini");
    EXPECT_EQ(ini.readInt("comm", "commport", 999), 999);
    EXPECT_FALSE(std::filesystem::exists(ini.path()));
    ASSERT_TRUE(ini.writeInt("comm", "commport", 4));
    EXPECT_EQ(slurp(ini.path()), "[comm]\r\ncommport=4\r\n");
}

TEST(IniFile, IntegerReadsTreatEmptyAsMissingAndGarbageAsZero) {
    test::TempFolder dir;
    spit(dir.path() / "a.ini", "[s]\nempty=\nword=abc\nblank=   \nneg=-3\n");
    const IniFile ini(dir.path() / "a.ini");
    EXPECT_EQ(ini.readInt("s", "empty", 96), 96);
    EXPECT_EQ(ini.readInt("s", "blank", 96), 96);
    EXPECT_EQ(ini.readInt("s", "missing", 96), 96);
    EXPECT_EQ(ini.readInt("s", "word", 96), 0);
    EXPECT_EQ(ini.readInt("s", "neg", 96), -3);
}

TEST(IniFile, TextsAreCutToTheCallersLength) {
    test::TempFolder dir;
    const std::string longText(1000, 'x');
    IniFile ini(dir.path() / "a.ini");
    ASSERT_TRUE(ini.writeString("s", "long", longText));
    EXPECT_EQ(ini.readString("s", "long"), std::string(IniFile::kTextLength, 'x'));
    EXPECT_EQ(ini.readString("s", "long", {}, 5), "xxxxx");
    EXPECT_EQ(ini.readString("s", "missing", "default", 3), "def");
    // The whole value stays in the file.
    EXPECT_EQ(ini.readString("s", "long", {}, 5000), longText);
}

TEST(IniFile, RefusedWritesLeaveTheFileAlone) {
    test::TempFolder dir;
    const auto path = dir.path() / "a.ini";
    const std::string before = "[s]\nk=v\n";
    spit(path, before);
    IniFile ini(path);
    struct Case {
        std::string section, key, value;
    };
    const Case cases[] = {
        {"", "k", "v"},           {"a]b", "k", "v"},      {" s", "k", "v"},
        {"s\n", "k", "v"},        {"s", "", "v"},         {"s", "a=b", "v"},
        {"s", "[k", "v"},         {"s", ";k", "v"},       {"s", "k ", "v"},
        {"s", "k", "two\nlines"}, {"s", "k", "cr\ronly"}, {"s", "k", std::string("nul\0byte", 8)},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(ini.writeString(c.section, c.key, c.value)) << c.section << "/" << c.key;
    }
    EXPECT_EQ(slurp(path), before);
}

TEST(IniFile, AFileThatCannotBeReadIsNotReplaced) {
    test::TempFolder dir;
    const auto path = dir.path() / "a.ini";
    std::filesystem::create_directory(path);
    std::filesystem::create_directory(path / "keep");
    IniFile ini(path);
    EXPECT_EQ(ini.readInt("comm", "commport", 999), 999);
    EXPECT_FALSE(ini.writeInt("comm", "commport", 1));
    EXPECT_TRUE(std::filesystem::exists(path / "keep"));
    EXPECT_EQ(test::entryCount(dir.path()), 1u);
}

// Only a regular file of at most 4 MiB is a settings file; anything else reads as empty at once
// and is never written over: a FIFO without a writer, a device that never ends, a huge file.
TEST(IniFile, WhatIsNoSettingsFileReadsAsEmptyAndIsKept) {
    test::TempFolder dir;
    const auto fifo = dir.path() / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto endless = dir.path() / "zero.ini";
    std::filesystem::create_symlink("/dev/zero", endless);
    const auto huge = dir.path() / "huge.ini";
    const std::string hugeText = "[comm]\ncommport=5\n" + std::string(4u << 20, ';');
    spit(huge, hugeText);
    const auto limit = dir.path() / "limit.ini";
    const std::string head = "[comm]\ncommport=6\n";
    spit(limit, head + std::string((4u << 20) - head.size(), ';'));
    for (const auto& path : {fifo, endless, huge}) {
        SCOPED_TRACE(path.filename().string());
        IniFile ini(path);
        EXPECT_EQ(ini.readInt("comm", "commport", 999), 999);
        EXPECT_FALSE(ini.writeInt("comm", "commport", 1));
    }
    EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
    EXPECT_TRUE(std::filesystem::is_symlink(endless));
    EXPECT_EQ(slurp(huge), hugeText);
    EXPECT_EQ(IniFile(limit).readInt("comm", "commport", 999), 6) << "exactly 4 MiB is read";
}

// A settings file without write permission stays as it is, whoever writes.
TEST(IniFile, AReadOnlyFileIsKept) {
    test::TempFolder dir;
    const auto path = dir.path() / "a.ini";
    spit(path, "[s]\nk=1\n");
    ::chmod(path.c_str(), 0444);
    IniFile ini(path);
    EXPECT_FALSE(ini.writeInt("s", "k", 2));
    EXPECT_EQ(ini.readInt("s", "k", 0), 1);
    EXPECT_EQ(slurp(path), "[s]\nk=1\n");
    EXPECT_EQ(test::entryCount(dir.path()), 1u);
}

TEST(IniFile, GarbageFilesReadAsMissingKeysAndKeepTheirBytes) {
    test::TempFolder dir;
    const auto path = dir.path() / "a.ini";
    for (unsigned round = 1; round <= 20; ++round) {
        std::mt19937 gen(round);
        std::uniform_int_distribution<int> byte(0, 255);
        std::string garbage(4096, '\0');
        for (auto& c : garbage) {
            c = static_cast<char>(byte(gen));
        }
        spit(path, garbage);
        IniFile ini(path);
        EXPECT_EQ(ini.readInt("korvane-test", "value", 123), 123);
        ASSERT_TRUE(ini.writeInt("korvane-test", "value", 321));
        EXPECT_EQ(ini.readInt("korvane-test", "value", 123), 321) << "round " << round;
        EXPECT_TRUE(slurp(path).starts_with(garbage)) << "round " << round;
    }
}

TEST(IniFile, ConcurrentWritersLoseNoKey) {
    test::TempFolder dir;
    IniFile ini(dir.path() / "a.ini");
    constexpr int kThreads = 4;
    constexpr int kRounds = 10;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&ini, t] {
            for (int r = 0; r < kRounds; ++r) {
                ini.writeInt("s", "key" + std::to_string(t) + "_" + std::to_string(r), r);
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        for (int r = 0; r < kRounds; ++r) {
            EXPECT_EQ(ini.readInt("s", "key" + std::to_string(t) + "_" + std::to_string(r), -1), r);
        }
    }
}

} // namespace
