#include "remote/RemoteAction.h"

#include "remote/RemoteSettings.h"
#include "support/TempFolder.h"
#include "tools/CommandCatalogue.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace korvane::remote;
using Kind = RemoteAction::Kind;

namespace {

struct CheckRow {
    const char* what;
    Checked checked;
    bool accepted;
    int value; // the value the action carries when accepted
};

TEST(RemoteAction, ValuesAreCheckedBeforeAnythingRuns) {
    const CheckRow rows[] = {
        {"slot 1", slotAction(Kind::Recall, 1), true, 0},
        {"slot 10", slotAction(Kind::Store, 10), true, 0},
        {"slot 0", slotAction(Kind::Recall, 0), false, 0},
        {"slot 11", slotAction(Kind::Recall, 11), false, 0},
        {"input by name", inputAction(1, "hdmi"), true, 11},
        {"input by code text", inputAction(2, "12"), true, 12},
        {"input by number", inputAction(2, 14), true, 14},
        {"unknown input name", inputAction(1, "SDI"), false, 0},
        {"input code beyond a byte", inputAction(1, 256), false, 0},
        {"picture 3", inputAction(3, 11), false, 0},
        {"freeze 1", flagAction(Kind::Freeze, 1), true, 1},
        {"freeze 2", flagAction(Kind::Freeze, 2), false, 0},
        {"brightness 100", qualityAction("Brightness", 100, std::nullopt), true, 100},
        {"brightness 101", qualityAction("brightness", 101, std::nullopt), false, 0},
        {"gamma 255 (a byte item)", qualityAction("Gamma", 255, std::nullopt), true, 255},
        {"step -5", qualityAction("Brightness", std::nullopt, -5), true, -5},
        {"step beyond the range", qualityAction("Brightness", std::nullopt, 101), false, 0},
        {"value and step together", qualityAction("Brightness", 5, 5), false, 0},
        {"neither value nor step", qualityAction("Brightness", std::nullopt, std::nullopt), false,
         0},
        {"unknown item", qualityAction("Hue", 5, std::nullopt), false, 0},
        {"volume 100", volumeAction(100), true, 100},
        {"volume -1", volumeAction(-1), false, 0},
        {"pattern 0 ends", testPatternAction(0), true, 0},
        {"pattern 72", testPatternAction(72), true, 72},
        {"pattern 73", testPatternAction(73), false, 0},
        {"pattern 128", testPatternAction(128), true, 128},
        {"pattern 129", testPatternAction(129), true, 129},
        {"pattern 130", testPatternAction(130), false, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(r.checked.action.has_value(), r.accepted);
        if (r.accepted) {
            EXPECT_EQ(r.checked.action->value, r.value);
            EXPECT_TRUE(r.checked.error.empty());
        } else {
            EXPECT_FALSE(r.checked.error.empty());
        }
    }
}

TEST(RemoteAction, CatalogueCommandsAreParsedAsTheCommandLineParsesThem) {
    const Checked quality = commandAction("SetPictureQuality", {"Brightness", "60"});
    ASSERT_TRUE(quality.action);
    EXPECT_EQ(quality.action->command->name, "SetPictureQuality");
    EXPECT_EQ(quality.action->args.size(), 2u);
    EXPECT_EQ(quality.action->args[1], 60);

    EXPECT_FALSE(commandAction("NoSuchCommand", {}).action);
    const Checked outOfRange = commandAction("SetPictureQuality", {"Brightness", "256"});
    EXPECT_FALSE(outOfRange.action);
    EXPECT_NE(outOfRange.error.find("SetPictureQuality"), std::string::npos);
    EXPECT_FALSE(commandAction("SetFreeze", {}).action) << "wrong number of arguments";
}

TEST(RemoteAction, WritesThatChangeStoredDataAlwaysNeedTheToken) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        bool needs;
    } rows[] = {
        {"FactoryReset", {}, true},
        {"SetClock", {"2024-03-05 06:07:08"}, true},
        {"WritePlanEntry", {"0", "1", "1", "1", "0", "0", "0", "0", "0", "0", "0", "1"}, true},
        {"SetPlanState", {"0", "1"}, true},
        {"TemplateSlot", {"0", "3"}, true},  // store
        {"TemplateSlot", {"1", "3"}, false}, // recall
        {"SetFreeze", {"1"}, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const Checked c = commandAction(r.name, r.args);
        ASSERT_TRUE(c.action) << c.error;
        EXPECT_EQ(c.action->needsToken(), r.needs);
    }
    EXPECT_TRUE(slotAction(Kind::Store, 2).action->needsToken());
    EXPECT_FALSE(slotAction(Kind::Recall, 2).action->needsToken());
}

TEST(TemplateNames, NamesAreUtf8OfAtMost32CharactersThatSurviveTheSettingsFile) {
    const std::string chinese32 = [] {
        std::string s;
        for (int i = 0; i < 32; ++i) {
            s += "幕";
        }
        return s;
    }();
    const struct {
        const char* what;
        std::string name;
        bool ok;
    } rows[] = {
        {"plain", "Walk-in", true},
        {"empty clears", "", true},
        {"32 Chinese characters (96 bytes)", chinese32, true},
        {"33 characters", chinese32 + "a", false},
        {"broken UTF-8", "ab\xE5\xB9", false},
        {"overlong encoding", "\xC0\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"control character", "a\tb", false},
        {"line break", "a\nb", false},
        {"leading blank", " a", false},
        {"wrapped in quotes", "\"a\"", false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(RemoteSettings::nameError(r.name).empty(), r.ok);
    }
}

struct SettingsFile : ::testing::Test {
    korvane::test::TempFolder folder;
    std::filesystem::path file = folder.path() / "remote-settings-test.ini";
};

TEST_F(SettingsFile, DefaultsPortsAndListenAddress) {
    const RemoteConfig c = RemoteSettings(file).read();
    EXPECT_FALSE(c.enabled);
    EXPECT_EQ(c.httpPort, 8470);
    EXPECT_EQ(c.oscPort, 8471);
    EXPECT_EQ(c.listen, "127.0.0.1");

    RemoteSettings s(file);
    ASSERT_TRUE(s.write({true, 9000, 9001, "0.0.0.0"}));
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "[remote]\r\nenabled=1\r\nhttpport=9000\r\noscport=9001\r\nlisten=0.0.0.0\r\n");
}

TEST_F(SettingsFile, TokenIsMadeOnceAndKept) {
    RemoteSettings s(file);
    const std::string token = s.token();
    ASSERT_EQ(token.size(), 32u);
    for (const char c : token) {
        EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << token;
    }
    EXPECT_EQ(RemoteSettings(file).token(), token) << "read back, not made anew";
    EXPECT_NE(s.renewToken(), token);
    EXPECT_NE(makeToken(), makeToken());
}

TEST_F(SettingsFile, TemplateNamesAreStoredAndFoundByName) {
    RemoteSettings s(file);
    ASSERT_TRUE(s.writeTemplateName(3, "开场"));
    ASSERT_TRUE(s.writeTemplateName(10, "Show"));
    EXPECT_FALSE(s.writeTemplateName(11, "x"));
    EXPECT_FALSE(s.writeTemplateName(4, "a\nb"));
    EXPECT_EQ(RemoteSettings(file).templateName(3), "开场");
    EXPECT_EQ(s.slotNamed("开场"), 3);
    EXPECT_EQ(s.slotNamed("SHOW"), 10);
    EXPECT_EQ(s.slotNamed("nothing"), std::nullopt);
    EXPECT_EQ(s.slotNamed(""), std::nullopt) << "an unnamed slot is not found by the empty name";
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "[templates]\r\nname3=开场\r\nname10=Show\r\n");
}

} // namespace
