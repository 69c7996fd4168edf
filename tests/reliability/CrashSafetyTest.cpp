// A writer process killed with SIGKILL at random moments, many times, in the middle of saving a
// template file or of writing the settings file: the file it was replacing must be whole and
// readable after every kill, holding either what it held before or the new content.

#include "core/store/Settings.h"
#include "core/store/SettingsKeys.h"
#include "core/store/TemplateFile.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace korvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool isTemporaryOf(const std::string& file, const std::string& name) {
    return file.starts_with("." + name + ".tmp");
}

// Removes the temporary files that killed writers left in `folder`; gives how many of them
// belonged to `name`, i.e. whether the kill came while `name` was being replaced.
int removeTemporaries(const fs::path& folder, const std::string& name) {
    int ofName = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string file = entry.path().filename().string();
        if (file.starts_with(".") && file.find(".tmp") != std::string::npos) {
            ofName += isTemporaryOf(file, name) ? 1 : 0;
            fs::remove(entry.path());
        }
    }
    return ofName;
}

// True once the writer has begun replacing `name`: its temporary file shows in `folder`.
bool replacementBegun(const fs::path& folder, const std::string& name) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (isTemporaryOf(entry.path().filename().string(), name)) {
            return true;
        }
    }
    return false;
}

struct KillRun {
    int rounds;
    std::chrono::microseconds longestWait; // after a replacement has begun
};

// Forks `writer`, which loops forever, kills it at a random moment and asks `intact` about the
// files, `run.rounds` times. Gives how many kills came in the middle of replacing `watched`.
int killWriterRepeatedly(const fs::path& folder, const std::string& watched, KillRun run,
                         const std::function<void()>& writer,
                         const std::function<testing::AssertionResult()>& intact) {
    // Printed on failure, so that the kill moments can be drawn again.
    const unsigned start = std::random_device{}();
    SCOPED_TRACE("random start " + std::to_string(start));
    std::mt19937 random(start);
    // Half the kills come as soon as a replacement shows, so that even on a fast disk many land
    // inside one; the others at any moment up to the longest wait after it.
    std::bernoulli_distribution atOnce(0.5);
    std::uniform_int_distribution<long> wait(0, run.longestWait.count());
    int midWrite = 0;
    for (int round = 0; round < run.rounds && !testing::Test::HasFailure(); ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            writer();
            ::_exit(3); // a writer that returns has failed to save
        }
        if (child < 0) {
            ADD_FAILURE() << "fork: " << std::strerror(errno);
            break;
        }
        // The wait starts when a replacement has begun, whatever the speed of the machine, so
        // that the kills fall on every step of one (writing, syncing, renaming) and after it.
        const auto giveUp = std::chrono::steady_clock::now() + 10s;
        while (!replacementBegun(folder, watched) && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(20us);
        }
        if (!atOnce(random)) {
            std::this_thread::sleep_for(std::chrono::microseconds(wait(random)));
        }
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "round " << round << ": the writer ended by itself (a save failed)";
        EXPECT_TRUE(intact()) << "round " << round;
        midWrite += removeTemporaries(folder, watched);
    }
    return midWrite;
}

// A slow disk: a few bytes per write call and a pause before each, so that a save lasts long
// enough for kills to land in all of its steps.
::ssize_t slowWrite(int fd, const std::uint8_t* data, std::size_t size) {
    std::this_thread::sleep_for(200us);
    return ::write(fd, data, std::min<std::size_t>(size, 64));
}

ParameterMirror filledWith(std::uint8_t value) {
    ParameterMirror m;
    std::memset(&m, value, sizeof m);
    return m;
}

// Whole: exactly what one save of a uniformly filled mirror writes. A torn file mixes two fills
// or is short.
testing::AssertionResult wholeTemplate(const fs::path& file) {
    std::vector<std::uint8_t> bytes;
    if (const auto ec = readTemplateFile(file, bytes)) {
        return testing::AssertionFailure() << "unreadable: " << ec.message();
    }
    ParameterMirror loaded{};
    if (applyTemplate(bytes, loaded) != sizeof loaded) {
        return testing::AssertionFailure() << "short file: " << bytes.size() << " bytes";
    }
    const TemplateBytes expected = encodeTemplate(filledWith(bytes[templatefile::kHeaderSize]));
    if (!std::equal(bytes.begin(), bytes.end(), expected.begin(), expected.end())) {
        return testing::AssertionFailure() << "torn file";
    }
    return testing::AssertionSuccess();
}

TEST(CrashSafety, TemplateSaveKilledAtAnyMomentLeavesAWholeFile) {
    const test::TempFolder dir;
    const fs::path file = dir.path() / "show.kvt";
    const fs::path ini = dir.path() / std::string(settingskey::kFileName);
    Settings settings(ini);
    ASSERT_EQ(saveTemplateFile(file, filledWith(0), settings), SaveResult::Saved);

    const int midWrite = killWriterRepeatedly(
        dir.path(), file.filename().string(), {100, 8ms},
        [&] {
            // Each save changes every byte of the mirror part.
            const auto current =
                static_cast<std::uint8_t>(slurp(file).at(templatefile::kHeaderSize));
            for (auto fill = static_cast<std::uint8_t>(current + 1);; ++fill) {
                if (saveTemplateFile(file, filledWith(fill), settings, {}, slowWrite) !=
                    SaveResult::Saved) {
                    return;
                }
            }
        },
        [&] { return wholeTemplate(file); });
    EXPECT_GE(midWrite, 10) << "too few kills came in the middle of a save to show anything";

    // What the killed writers left behind does not stand in the way of the next save.
    EXPECT_EQ(saveTemplateFile(file, filledWith(0xA5), settings), SaveResult::Saved);
    EXPECT_TRUE(wholeTemplate(file));
    EXPECT_EQ(slurp(file).at(templatefile::kHeaderSize), '\xA5');
}

TEST(CrashSafety, SettingsWriteKilledAtAnyMomentLeavesAWholeFile) {
    const test::TempFolder dir;
    const fs::path ini = dir.path() / std::string(settingskey::kFileName);
    // A large file makes each write long enough to be hit: every write rewrites and syncs all
    // of it.
    const std::string prefix = "; written by the crash-safety test\r\n[set]\r\nBoxH=";
    std::string suffix = "\r\nMBoxH=24\r\n[filler]\r\n";
    for (int i = 0; i < 16000; ++i) {
        suffix += "key" + std::to_string(i) + "=" +
                  std::string(56, static_cast<char>('a' + i % 26)) + "\r\n";
    }
    {
        std::ofstream out(ini, std::ios::binary);
        out << prefix << 0 << suffix;
    }

    const int midWrite = killWriterRepeatedly(
        dir.path(), ini.filename().string(), {60, 3ms},
        [&] {
            Settings settings(ini);
            for (int width = settings.readBoxWidth() + 1;; ++width) {
                if (!settings.writeBoxWidth(width)) {
                    return;
                }
            }
        },
        [&] {
            const std::string text = slurp(ini);
            const bool framed = text.size() > prefix.size() + suffix.size() &&
                                text.starts_with(prefix) && text.ends_with(suffix);
            const std::string value =
                framed ? text.substr(prefix.size(), text.size() - prefix.size() - suffix.size())
                       : std::string();
            if (!framed || !std::all_of(value.begin(), value.end(),
                                        [](char c) { return c >= '0' && c <= '9'; })) {
                return testing::AssertionFailure() << "damaged file of " << text.size() << " bytes";
            }
            const Settings settings(ini);
            if (settings.readBoxWidth() != std::stoi(value) || settings.readModuleWidth() != 24) {
                return testing::AssertionFailure() << "the settings read back wrong";
            }
            return testing::AssertionSuccess();
        });
    EXPECT_GE(midWrite, 6) << "too few kills came in the middle of a write to show anything";

    Settings settings(ini);
    EXPECT_TRUE(settings.writeBoxWidth(7));
    EXPECT_EQ(settings.readBoxWidth(), 7);
    EXPECT_EQ(slurp(ini), prefix + "7" + suffix);
}

} // namespace
} // namespace korvane
