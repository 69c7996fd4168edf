#include "CtlPtyFixture.h"
#include "core/base/Messages.h"
#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/ReadTypes.h"
#include "core/link/ResolutionTable.h"
#include "core/store/IniFile.h"
#include "core/store/Settings.h"
#include "sim/SimReplies.h"

#include <fstream>
#include <functional>
#include <iterator>

using namespace korvane;
using namespace korvane::test;

namespace {

using Fields = std::map<std::string, std::string>;

std::vector<std::uint8_t> fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string lastFrameHex(const CtlPty& t) {
    return hex(t.server.receivedFrames().back());
}

// Colour temperature and the three gains travel in one frame, and korvanectl starts each run
// from the defaults, so all four are set at once over a link of the test's own.
void setColour(CtlPty& t, std::uint8_t temperature, std::uint8_t red, std::uint8_t green,
               std::uint8_t blue) {
    const std::size_t before = t.framesSoFar();
    DeviceLink link;
    ParameterMirror m{};
    applyMirrorDefaults(m, kDefaultResolution);
    CommandFacade facade(link, m);
    link.setSendSwitch(1);
    ASSERT_EQ(link.configureSerialAndOpen({t.server.devicePath(), 999, 1, 115200}), 1);
    m.pq[pq::kColourTemperature] = temperature;
    m.pq[pq::kRedGain] = red;
    m.pq[pq::kGreenGain] = green;
    ASSERT_EQ(facade.setColourTemperatureOrGain(pq::kBlueGain, blue), 1);
    link.close();
    t.waitForFrames(before + 1);
}

// A state that differs from the factory's wherever the reads below look, every picture-quality
// field with a value of its own, so that a field printed under another's name shows.
void distinctiveState(CtlPty& t) {
    setColour(t, 3, 58, 71, 39);
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"SelectInput", "1", "HDMI"},
             {"SelectInput", "2", "DVI"},
             {"SetAudio", "1", "44"},
             {"SetPictureQuality", "ImageMode", "2"},
             {"SetPictureQuality", "Brightness", "61"},
             {"SetPictureQuality", "Contrast", "52"},
             {"SetPictureQuality", "Colour", "47"},
             {"SetPictureQuality", "Sharpness", "13"},
             {"SetPictureQuality", "NoiseReduction3D", "4"},
             {"SetPictureQuality", "VgaEnhancement", "5"},
             {"SetPictureQuality", "SceneMode", "6"},
             {"SetPictureQuality", "BlackExtension", "1"},
             {"SetPictureQuality", "DviEnhancement", "7"},
             {"SetPicture2OutputWindow", "100", "50", "624", "266"},
             {"SetPipMode", "1", "2", "3"},
             {"SetPicture1InputWindow", "10", "20", "640", "480", "1920", "1080"},
             {"SetPicture2InputWindow", "16", "8", "800", "600", "1920", "1080"},
             {"SetInputOptions", "1", "2"},
             {"SetCaptureMode", "1", "1"},
         }) {
        t.send(words);
    }
}

} // namespace

TEST_F(CtlPty, SyncSavesATemplateThatLoadPutsBack) {
    distinctiveState(*this);
    const auto file = home / "saved.kvt";
    std::size_t from = framesSoFar();
    const Fields synced = fields(ok({"sync", "--save", file.string()}));
    EXPECT_EQ(codesSince(from), kSyncReads);
    EXPECT_EQ(synced.at("Volume"), "44");
    EXPECT_EQ(synced.at("Brightness"), "61");
    EXPECT_EQ(synced.at("Picture1Source"), "11 (HDMI)");
    EXPECT_EQ(synced.at("Picture2OutX"), "100");
    EXPECT_EQ(synced.at("Picture1InWidth"), "640");

    const auto bytes = fileBytes(file);
    ASSERT_EQ(bytes.size(), 1030u);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x01);
    EXPECT_TRUE(std::all_of(bytes.begin() + 2, bytes.begin() + 202, [](auto b) { return b == 0; }));
    EXPECT_EQ(bytes[202 + offsetof(ParameterMirror, volume)], 44);
    EXPECT_EQ(bytes[202 + pq::kBrightness], 61);

    send({"SetAudio", "1", "10"});
    send({"SetPictureQuality", "Brightness", "20"});
    from = framesSoFar();
    EXPECT_EQ(ok({"load", file.string()}), "");
    // Synchronised first (for the input-window limits), then the file sent, then read back.
    EXPECT_EQ(codesSince(from), joined({kSyncReads, kSendEveryParameter, kSyncReads}));
    EXPECT_EQ(server.state().mirror.volume, 44);
    EXPECT_EQ(server.state().mirror.pq[pq::kBrightness], 61);
    EXPECT_EQ(server.state().mirror.p1InWidth, 640);
}

TEST_F(CtlPty, StoreAndRecallTheProcessorsTemplateSlots) {
    send({"SetAudio", "1", "40"});
    std::size_t from = framesSoFar();
    const std::string stored = ok({"store", "3"});
    waitForFrames(from + 1);
    EXPECT_EQ(stored, lastFrameHex(*this) + "\n");
    EXPECT_EQ(stored.substr(0, 17), "ED CB 00 01 00 03");

    send({"SetAudio", "1", "10"});
    from = framesSoFar();
    const std::string recalled = ok({"recall", "3"});
    EXPECT_EQ(codesSince(from), std::vector<int>{0x01});
    EXPECT_EQ(recalled, lastFrameHex(*this) + "\n");
    EXPECT_EQ(recalled.substr(0, 17), "ED CB 00 01 01 03");
    EXPECT_EQ(server.state().mirror.volume, 40);
}

TEST_F(CtlPty, EachReadPrintsWhatTheProcessorHolds) {
    distinctiveState(*this);
    const sim::SimState s = server.state();
    const ParameterMirror& m = s.mirror;
    const auto n = [](auto v) { return std::to_string(v); };
    const auto limits = [&](std::string_view prefix, std::uint8_t source) {
        const auto l = sim::inputResolution(source);
        return Fields{{std::string(prefix) + "HLimit", n(l.horizontal)},
                      {std::string(prefix) + "VLimit", n(l.vertical)}};
    };
    const auto with = [](Fields a, const Fields& b) {
        a.insert(b.begin(), b.end());
        return a;
    };
    const Fields qualityFields = {
        {"ImageMode", "2"},      {"Brightness", "61"},    {"Contrast", "52"},
        {"Colour", "47"},        {"Sharpness", "13"},     {"NoiseReduction3D", "4"},
        {"VgaEnhancement", "5"}, {"SceneMode", "6"},      {"ColourTemperature", "3"},
        {"RedGain", "58"},       {"GreenGain", "71"},     {"BlueGain", "39"},
        {"BlackExtension", "1"}, {"DviEnhancement", "7"},
    };
    const Fields switchFields = {
        {"Picture1Input", "11 (HDMI)"},       {"Picture1Lit", n(m.switchState[1])},
        {"Picture2Input", "14 (DVI)"},        {"Picture2Lit", n(m.switchState[3])},
        {"SwitchByte4", n(m.switchState[4])}, {"TopLayer", n(m.switchState[5])},
    };
    const auto inputSettings = *sim::readPayload(s, {}, readtype::kInputSettings);
    const struct {
        std::vector<std::string> words;
        int read;
        Fields expected;
    } rows[] = {
        {{"picture-quality"}, 0, qualityFields},
        {{"gains"}, 0, {{"RedGain", "58"}, {"GreenGain", "71"}, {"BlueGain", "39"}}},
        {{"picture1-input"},
         1,
         with({{"Picture1InX", "10"},
               {"Picture1InY", "20"},
               {"Picture1InWidth", "640"},
               {"Picture1InHeight", "480"},
               {"CaptureMode", n(m.captureMode)}},
              limits("Picture1In", m.pq[pq::kPicture1Source]))},
        {{"picture2-input"},
         2,
         with({{"Picture2InX", "16"},
               {"Picture2InY", "8"},
               {"Picture2InWidth", "800"},
               {"Picture2InHeight", "600"}},
              limits("Picture2In", m.p2Source))},
        {{"picture2"},
         4,
         {{"Picture2Source", "14 (DVI)"},
          {"PipOn", "1"},
          {"Transparency", "2"},
          {"AutoSwitch", "3"},
          {"Picture2OutX", "100"},
          {"Picture2OutY", "50"},
          {"Picture2OutWidth", "624"},
          {"Picture2OutHeight", "266"}}},
        {{"switch-query"}, 11, switchFields},
        {{"switch-query", "--long-wait"}, 11, switchFields},
        {{"input-settings"}, 12, {{"InputSettings", hex(inputSettings)}}},
        {{"device-info"}, 13, {{"Model", "14"}, {"Version", "A3"}, {"FactoryDate", "201422"}}},
        {{"identity"}, 8, {{"Identity", "TRS"}}},
        {{"plan", "header"},
         16,
         {{"PlanHeaderByte0", n(m.planHeader[0])}, {"PlansEnabled", n(m.planHeader[1])}}},
        {{"clock", "read"}, 10, {{"Clock", "2024-05-06 07:00:00"}}},
    };
    ASSERT_EQ(m.switchState[0], 11);
    ASSERT_EQ(s.mirror.hdmiOverscanOff, 1) << "the input settings reply carries something";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.words[0]);
        const std::size_t from = framesSoFar();
        EXPECT_EQ(fields(ok(row.words)), row.expected);
        EXPECT_EQ(codesSince(from), std::vector<int>{readOf(row.read)});
    }
}

TEST_F(CtlPty, InputAdjustSendsOnlyAWindowThatFits) {
    send({"SelectInput", "1", "VGA"}); // 1024 x 768
    send({"SetPicture2InputWindow", "16", "8", "800", "600", "1920", "1080"});
    const struct {
        std::vector<std::string> words;
        int read;
        const char* data; // null: nothing sent
    } rows[] = {
        {{"input-adjust", "1", "10", "20", "640", "480"}, 1, "00 0A 00 14 02 80 01 E0"},
        {{"input-adjust", "1", "0", "0", "1024", "768"}, 1, "00 00 00 00 04 00 03 00"},
        {{"input-adjust", "1", "1", "0", "1024", "768"}, 1, nullptr},
        {{"input-adjust", "2", "auto"}, 2, "00 00 00 00 03 20 02 58"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.words[2]);
        const std::size_t from = framesSoFar();
        const CtlRun r = ctl(row.words);
        if (row.data == nullptr) {
            EXPECT_EQ(r.status, 1);
            EXPECT_NE(r.err.find("not sent"), std::string::npos) << r.err;
            EXPECT_EQ(codesSince(from), std::vector<int>{readOf(row.read)});
            continue;
        }
        EXPECT_EQ(r.status, 0) << r.err;
        waitForFrames(from + 2);
        EXPECT_EQ(codesSince(from), (std::vector<int>{readOf(row.read), 0x0E + row.read}));
        EXPECT_EQ(r.out, lastFrameHex(*this) + "\n");
        EXPECT_EQ(r.out.substr(12, 23), row.data);
    }
    EXPECT_EQ(server.state().mirror.p1InWidth, 1024);
    EXPECT_EQ(server.state().mirror.p2InX, 0);
}

TEST_F(CtlPty, AFailingReadPrintsTheOperationsMessageAndExitsOne) {
    const auto message = [](MessageId id) {
        return "korvanectl: " + std::string(messageText(id)) + "\n";
    };
    const struct {
        std::vector<std::string> words;
        std::uint8_t badType;
        std::string err;
    } rows[] = {
        {{"sync"}, 3, message(MessageId::SyncPicture1OutputFailed)},
        {{"sync"}, 14, message(MessageId::SyncSoundFailed)},
        {{"picture-quality"}, 0, message(MessageId::SyncFailed)},
        {{"gains"}, 0, message(MessageId::SyncFailed)},
        {{"picture1-input"}, 1, message(MessageId::SyncFailed)},
        {{"picture2-input"}, 2, message(MessageId::SyncFailed)},
        {{"picture2"}, 4, message(MessageId::SyncPicture2OutputFailed)},
        {{"switch-query"}, 11, message(MessageId::SwitchQueryFailed)},
        {{"input-settings"}, 12, message(MessageId::SyncInputSettingsFailed)},
        {{"plan", "header"}, 16, message(MessageId::PlanListQueryFailed)},
        {{"clock", "read"}, 10, message(MessageId::ClockQueryFailed)},
        {{"input-adjust", "2", "auto"}, 2, message(MessageId::SyncFailed)},
        {{"device-info"}, 13, "korvanectl: device-info: no valid reply\n"},
        {{"identity"}, 8, "korvanectl: identity: no valid reply\n"},
        {{"read", "1"}, 1, "korvanectl: read type 1 failed: no valid reply\n"},
        {{"plan", "read"},
         15,
         message(MessageId::RecvFail) + message(MessageId::PlanListQueryFailed)},
    };
    // A wrong checksum, and a length byte one below the payload with a checksum that fits it.
    for (const bool shortLength : {false, true}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(row.words[0] + " " + std::to_string(row.badType) +
                         (shortLength ? " short length" : " bad checksum"));
            sim::SimFaults faults;
            (shortLength ? faults.shortLengthByte : faults.badChecksum) = {row.badType};
            server.setFaults(faults);
            const CtlRun r = ctl(row.words);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err, row.err);
            EXPECT_EQ(r.out, "");
        }
    }
    sim::SimFaults faults;
    faults.badChecksum = {0};
    server.setFaults(faults);
    const auto file = home / "never.kvt";
    EXPECT_EQ(ctl({"sync", "--save", file.string()}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(file)) << "nothing is saved after a failed sync";
}

// A template named relative to the working folder is stored as the recent file in full, by the
// save after a sync and by a load, as the desktop program stores it.
TEST_F(CtlPty, RecentFileIsStoredInFull) {
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(home);
    const auto recent = [] { return IniFile(Settings().file()).readString("app", "recentfile"); };
    ok({"sync", "--save", "relative.kvt"});
    EXPECT_EQ(recent(), (home / "relative.kvt").string());
    Settings().writeRecentFile("/elsewhere.kvt");
    ok({"load", "relative.kvt"});
    EXPECT_EQ(recent(), (home / "relative.kvt").string());
    std::filesystem::current_path(before);
}
