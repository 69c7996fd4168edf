#include "core/store/TemplateLoader.h"

#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/Frame.h"
#include "core/link/PayloadLayout.h"
#include "core/store/Settings.h"
#include "core/store/SettingsKeys.h"
#include "core/store/TemplateFile.h"
#include "core/store/TemplateLoadHost.h"
#include "support/MemoryTransport.h"
#include "support/RecordingSink.h"
#include "support/TempFolder.h"

#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace korvane;
using namespace std::chrono_literals;

namespace {

// An in-memory processor: every read request is answered at once with a reply of the right
// length (all-zero payload unless set), except for the types told to stay silent.
class AnsweringTransport : public test::MemoryTransport {
public:
    struct Behaviour {
        std::set<std::uint8_t> silent;
        std::vector<std::uint8_t> switchState;
        bool reopenFails = false;
    };
    AnsweringTransport(std::shared_ptr<test::MemoryLine> line, Behaviour& b)
        : MemoryTransport(std::move(line)), b_(b) {}

    int open() override { return b_.reopenFails ? 0 : MemoryTransport::open(); }
    int writeAll(const std::uint8_t* bytes, std::size_t length) override {
        const int n = MemoryTransport::writeAll(bytes, length);
        const auto code = static_cast<std::uint8_t>(CommandCode::ReadBlock);
        if (n > 0 && bytes[frame::kCodeOffset] == code) {
            answer(bytes[frame::kDataOffset]);
        }
        return n;
    }

private:
    void answer(std::uint8_t type) {
        const auto info = readTypeInfo(type);
        if (!info || b_.silent.contains(type)) {
            return;
        }
        std::vector<std::uint8_t> payload(info->replyLength - frame::kReplyOverhead, 0);
        if (type == readtype::kSwitchState) {
            std::copy(b_.switchState.begin(), b_.switchState.end(), payload.begin());
        }
        if (type == readtype::kIdentity) {
            std::memcpy(payload.data(), kIdentity, sizeof kIdentity);
        }
        std::vector<std::uint8_t> reply(info->replyLength);
        frame::buildReply(0, payload, reply);
        line().queueReply(reply);
    }

    Behaviour& b_;
};

// Records what the loader asks of the program, with the send switch at that moment.
struct RecordingHost : TemplateLoadHost {
    explicit RecordingHost(DeviceLink& l) : link(l) {}
    DeviceLink& link;
    std::vector<std::string> events;
    std::vector<TemplateText> reports;
    std::vector<TemplateText> busyCaptions;
    bool throwOnRefresh = false;

    bool runBusy(TemplateText caption, DeviceOperation& op, DeviceLink& l) override {
        busyCaptions.push_back(caption);
        return TemplateLoadHost::runBusy(caption, op, l);
    }
    void report(TemplateText t) override { reports.push_back(t); }
    void setTitle(const std::filesystem::path& file) override {
        events.push_back("title " + windowTitle(file));
    }
    void clearLayoutItems() override { events.push_back(withSwitch("clear")); }
    void refreshPanels() override {
        if (throwOnRefresh) {
            throw std::runtime_error("panel failed");
        }
        events.push_back(withSwitch("refresh"));
    }
    void freezeAreaPartial() override { events.push_back("partial"); }
    void setCurrentResolution(std::uint8_t code) override {
        events.push_back(withSwitch("resolution " + std::to_string(code)));
    }
    void pictureInputRead(Picture picture, std::uint8_t input) override {
        const int number = picture == Picture::One ? 1 : 2;
        events.push_back(
            withSwitch("input " + std::to_string(number) + "=" + std::to_string(input)));
    }
    std::string withSwitch(const std::string& e) const {
        return e + (link.sendSwitch() != 0 ? " (switch on)" : " (switch off)");
    }
};

struct LoaderFixture : ::testing::Test {
    test::ProgramHome home;
    std::shared_ptr<test::MemoryLine> wire = std::make_shared<test::MemoryLine>();
    AnsweringTransport::Behaviour processor{{}, {11, 1, 12, 1, 0, 1}, false};
    test::RecordingSink sink;
    DeviceLink link{std::make_unique<AnsweringTransport>(wire, processor), nullptr, &sink};
    ParameterMirror mirror{};
    CommandFacade facade{link, mirror};
    Settings settings;
    RecordingHost host{link};
    std::vector<std::chrono::milliseconds> sleeps;
    ParameterMirror fileMirror{};
    std::filesystem::path file = slotTemplatePath(3);

    LoaderFixture() {
        link.setSleeper([this](std::chrono::milliseconds d) { sleeps.push_back(d); });
        link.setSendSwitch(1);
        applyMirrorDefaults(mirror, 6);
        applyMirrorDefaults(fileMirror, 9);
        fileMirror.pq[pq::kBrightness] = 77;
        fileMirror.freezeArea = 0;
        fileMirror.switchState[sw::kPicture1Input] = 8;
        const TemplateBytes bytes = encodeTemplate(fileMirror);
        test::spit(file, std::string(bytes.begin(), bytes.end()));
    }

    LoadResult load() {
        TemplateLoader loader({link, mirror, facade, &sink}, settings, host);
        return loader.load(file);
    }
    std::size_t readRequests() const {
        std::size_t n = 0;
        for (const auto& f : wire->writes) {
            n += f[frame::kCodeOffset] == static_cast<std::uint8_t>(CommandCode::ReadBlock);
        }
        return n;
    }
    bool sameAsFile() const { return std::memcmp(&mirror, &fileMirror, sizeof mirror) == 0; }
    std::string recentFile() const {
        return IniFile(settings.file())
            .readString(settingskey::kRecentFile.section, settingskey::kRecentFile.name);
    }
};

TEST_F(LoaderFixture, SendsTheFileThenReadsEverythingBack) {
    ASSERT_EQ(load(), LoadResult::Loaded);
    const std::vector<std::string> expected = {
        "title Korvane Controller v3.0 - 模板3",
        "clear (switch off)",
        "refresh (switch off)",
        "partial",
        "resolution 0 (switch off)",
        "refresh (switch off)",
        "input 1=11 (switch off)",
        "input 2=12 (switch off)",
    };
    EXPECT_EQ(host.events, expected);
    EXPECT_EQ(host.busyCaptions,
              (std::vector{TemplateText::LoadingCaption, TemplateText::SynchroniseCaption}));
    EXPECT_TRUE(host.reports.empty());
    EXPECT_TRUE(sink.ids.empty());
    EXPECT_EQ(link.sendSwitch(), 1);
    EXPECT_EQ(recentFile(), file.string());
    // The parameters went out from the file's values, before any read.
    ASSERT_FALSE(wire->writes.empty());
    const auto& first = wire->writes.front();
    EXPECT_EQ(first[frame::kCodeOffset],
              static_cast<std::uint8_t>(CommandCode::SetOutputResolution));
    EXPECT_EQ(first[frame::kDataOffset], 9);
    EXPECT_EQ(readRequests(), 10u); // nine reads and the identity
    // Send-all settles 2 s, then the read-back waits its own 2 s before the first read.
    const auto settle = std::find(sleeps.begin(), sleeps.end(), 2000ms);
    ASSERT_NE(settle, sleeps.end());
    ASSERT_NE(std::next(settle), sleeps.end());
    EXPECT_EQ(*std::next(settle), 2000ms);
    // The read-back replaced what the processor reported.
    EXPECT_EQ(mirror.switchState[sw::kPicture1Input], 11);
    EXPECT_EQ(mirror.pq[pq::kBrightness], 0);
}

TEST_F(LoaderFixture, WithTheLinkClosedTheFileReachesOnlyTheMirror) {
    wire->open = false;
    ASSERT_EQ(load(), LoadResult::Loaded);
    EXPECT_TRUE(wire->writes.empty());
    EXPECT_TRUE(sameAsFile());
    const std::vector<std::string> expected = {
        "title Korvane Controller v3.0 - 模板3",
        "clear (switch off)",
        "refresh (switch off)",
        "partial",
        "resolution 9 (switch off)",
        "refresh (switch off)",
        "input 1=8 (switch off)",
        "input 2=0 (switch off)",
    };
    EXPECT_EQ(host.events, expected);
    EXPECT_EQ(link.sendSwitch(), 1);
}

TEST_F(LoaderFixture, SendFailureGivesMinusTwoAndKeepsTheFileInTheMirror) {
    processor.reopenFails = true;
    ASSERT_EQ(static_cast<int>(load()), -2);
    EXPECT_EQ(host.reports, std::vector{TemplateText::LoadFailed});
    EXPECT_EQ(sink.ids, std::vector{MessageId::OpenPortFailed});
    EXPECT_TRUE(sameAsFile());
    EXPECT_TRUE(wire->writes.empty());
    EXPECT_EQ(host.busyCaptions, std::vector{TemplateText::LoadingCaption});
    EXPECT_EQ(link.sendSwitch(), 1);
}

TEST_F(LoaderFixture, FailedReadBackStillCountsAsLoaded) {
    processor.silent.insert(readtype::kPicture1Output);
    ASSERT_EQ(load(), LoadResult::Loaded);
    EXPECT_EQ(sink.ids, std::vector{MessageId::SyncPicture1OutputFailed});
    EXPECT_TRUE(sameAsFile()) << "a failed read-back copies nothing";
    ASSERT_EQ(host.events.size(), 4u) << "no second refresh, no inputs";
    EXPECT_EQ(host.events.back(), "partial");
    EXPECT_EQ(link.sendSwitch(), 1);
}

TEST_F(LoaderFixture, MissingUnreadableAndThrowingLoads) {
    const ParameterMirror before = mirror;
    const auto unchanged = [&] { return std::memcmp(&mirror, &before, sizeof mirror) == 0; };

    file = home.path() / "gone.kvt";
    EXPECT_EQ(static_cast<int>(load()), -3);
    EXPECT_EQ(host.reports, std::vector{TemplateText::FileMissing});
    EXPECT_TRUE(unchanged());
    EXPECT_EQ(recentFile(), "");

    file = slotTemplatePath(3);
    host.throwOnRefresh = true;
    EXPECT_EQ(static_cast<int>(load()), -1);
    EXPECT_EQ(link.sendSwitch(), 1) << "the switch comes back on after a throw";
    EXPECT_TRUE(wire->writes.empty());
}

// Files that are not templates are refused before anything is sent or changed, with the
// load's open-failure message: too short (empty, 300 bytes, one byte short), not a regular file
// (a folder, a FIFO without a writer, a device that never ends), larger than 1 MiB.
TEST_F(LoaderFixture, FilesThatAreNoTemplatesAreRefusedBeforeAnythingIsSent) {
    const TemplateBytes whole = encodeTemplate(fileMirror);
    const std::string valid(whole.begin(), whole.end());
    const auto make = [&](const std::string& name, const std::string& bytes) {
        const auto p = home.path() / name;
        test::spit(p, bytes);
        return p;
    };
    const auto fifo = home.path() / "fifo.kvt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto endless = home.path() / "zero.kvt";
    std::filesystem::create_symlink("/dev/zero", endless);
    const auto folder = home.path() / "folder.kvt";
    std::filesystem::create_directory(folder);
    const std::filesystem::path refused[] = {
        make("empty.kvt", ""),
        make("short.kvt", valid.substr(0, 300)),
        make("onebyteshort.kvt", valid.substr(0, 1029)),
        make("huge.kvt", valid + std::string((1u << 20) - valid.size() + 1, '\0')),
        fifo,
        endless,
        folder,
    };
    const ParameterMirror before = mirror;
    for (const auto& p : refused) {
        SCOPED_TRACE(p.filename().string());
        file = p;
        host.reports.clear();
        host.events.clear();
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(load(), LoadResult::Unreadable);
        EXPECT_LT(std::chrono::steady_clock::now() - started, 5s) << "no waiting on the file";
        EXPECT_EQ(host.reports, std::vector{TemplateText::OpenFailed});
        EXPECT_TRUE(host.events.empty());
        EXPECT_EQ(std::memcmp(&mirror, &before, sizeof mirror), 0);
        EXPECT_TRUE(wire->writes.empty());
        EXPECT_EQ(recentFile(), "");
    }
    // Exactly 1 MiB with a foreign header and a tail still loads.
    std::string foreign = valid + std::string((1u << 20) - valid.size(), 'x');
    foreign[0] = 0x7F;
    file = make("foreign.kvt", foreign);
    host.reports.clear();
    EXPECT_EQ(load(), LoadResult::Loaded);
    EXPECT_TRUE(host.reports.empty());
    ASSERT_FALSE(wire->writes.empty());
    EXPECT_EQ(wire->writes.front()[frame::kDataOffset], 9) << "the file's resolution went out";
}

} // namespace
