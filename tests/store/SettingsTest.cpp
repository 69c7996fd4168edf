#include "core/store/Settings.h"

#include "core/link/CommLog.h"
#include "core/store/SettingsKeys.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace korvane;
using korvane::test::slurp;
using korvane::test::spit;
namespace key = korvane::settingskey;

namespace {

struct SettingsFixture : ::testing::Test {
    test::TempFolder dir;
    std::filesystem::path file = dir.path() / std::string(key::kFileName);
    Settings settings{file};

    // A file holding the one key (or no file for nullopt).
    void store(const SettingKey& k, const std::optional<std::string>& value) {
        std::filesystem::remove(file);
        if (value) {
            spit(file, "[" + std::string(k.section) + "]\r\n" + std::string(k.name) + "=" + *value +
                           "\r\n");
        }
    }
};

using IntRead = std::function<int(const Settings&)>;

struct IntCase {
    SettingKey key;
    std::optional<std::string> stored; // nullopt: the key is missing
    int expected;
};

const IntRead kPort = [](const auto& s) { return s.readSerialSettings().portNumber; };
const IntRead kTimeout = [](const auto& s) { return s.readSerialSettings().timeout; };
const IntRead kBaud = [](const auto& s) { return s.readSerialSettings().baudRate; };
const IntRead kRunning = [](const auto& s) { return s.readScheduleRunning(); };
const IntRead kBoxH = [](const auto& s) { return s.readBoxWidth(); };
const IntRead kBoxV = [](const auto& s) { return s.readBoxHeight(); };
const IntRead kMBoxH = [](const auto& s) { return s.readModuleWidth(); };
const IntRead kMBoxV = [](const auto& s) { return s.readModuleHeight(); };
const IntRead kNetPort = [](const auto& s) { return s.readNetworkSettings().port; };
const IntRead kKeepAlive = [](const auto& s) { return s.readKeepAlive(); };
const IntRead kNetworkMode = [](const auto& s) { return s.readNetworkMode() ? 1 : 0; };

TEST_F(SettingsFixture, IntegerKeys) {
    const std::pair<IntRead, IntCase> cases[] = {
        {kPort, {key::kCommPort, std::nullopt, 999}},
        {kPort, {key::kCommPort, "3", 3}},
        {kPort, {key::kCommPort, "COM3", 0}},
        {kPort, {key::kCommPort, "", 999}},
        {kTimeout, {key::kTimeout, std::nullopt, 1}},
        {kTimeout, {key::kTimeout, "0", 1}},
        {kTimeout, {key::kTimeout, "-5", 1}},
        {kTimeout, {key::kTimeout, "abc", 1}},
        {kTimeout, {key::kTimeout, "60", 60}},
        {kTimeout, {key::kTimeout, "99", 60}},
        {kTimeout, {key::kTimeout, "4294967297", 1}},
        {kTimeout, {key::kTimeout, "7s", 7}},
        {kBaud, {key::kBaudRate, std::nullopt, 9600}},
        {kBaud, {key::kBaudRate, "115200", 115200}},
        {kBaud, {key::kBaudRate, "fast", 0}},
        {kRunning, {key::kScheduleRunning, std::nullopt, 0}},
        {kRunning, {key::kScheduleRunning, "", 0}},
        {kRunning, {key::kScheduleRunning, "1", 1}},
        {kRunning, {key::kScheduleRunning, "yes", 0}},
        {kBoxH, {key::kBoxWidth, std::nullopt, 96}},
        {kBoxH, {key::kBoxWidth, "128", 128}},
        {kBoxV, {key::kBoxHeight, std::nullopt, 96}},
        {kBoxV, {key::kBoxHeight, "x", 0}},
        {kMBoxH, {key::kModuleWidth, std::nullopt, 16}},
        {kMBoxH, {key::kModuleWidth, "32", 32}},
        {kMBoxV, {key::kModuleHeight, std::nullopt, 16}},
        {kMBoxV, {key::kModuleHeight, "-8", -8}},
        {kNetPort, {key::kNetPort, std::nullopt, 0}},
        {kNetPort, {key::kNetPort, "5000", 5000}},
        {kNetPort, {key::kNetPort, "port", 0}},
        {kKeepAlive, {key::kLinkKeepAlive, std::nullopt, 5}},
        {kKeepAlive, {key::kLinkKeepAlive, "0", 0}},
        {kKeepAlive, {key::kLinkKeepAlive, "12", 12}},
        {kKeepAlive, {key::kLinkKeepAlive, "-3", 0}},
        {kKeepAlive, {key::kLinkKeepAlive, "99999", 3600}},
        {kKeepAlive, {key::kLinkKeepAlive, "off", 0}},
        {kNetworkMode, {key::kLinkMode, std::nullopt, 0}},
        {kNetworkMode, {key::kLinkMode, "network", 1}},
        {kNetworkMode, {key::kLinkMode, "Network", 1}},
        {kNetworkMode, {key::kLinkMode, "serial", 0}},
        {kNetworkMode, {key::kLinkMode, "networks", 0}},
        {kNetworkMode, {key::kLinkMode, "", 0}},
    };
    for (const auto& [read, c] : cases) {
        store(c.key, c.stored);
        EXPECT_EQ(read(settings), c.expected)
            << c.key.section << "/" << c.key.name << " = " << c.stored.value_or("(missing)");
    }
}

using TextRead = std::function<std::string(const Settings&)>;

struct TextCase {
    TextRead read;
    SettingKey key;
    std::optional<std::string> stored;
    std::string expected; // "@/" stands for the settings file's folder
};

TEST_F(SettingsFixture, TextKeys) {
    const TextRead device = [](const auto& s) { return s.readSerialSettings().devicePath; };
    const TextRead lang = [](const auto& s) { return s.readLanguage(); };
    const TextRead icon = [](const auto& s) { return s.readIcon().string(); };
    const TextRead screen = [](const auto& s) { return s.readScreenBackground().string(); };
    const TextRead pip = [](const auto& s) { return s.readPictureTwoBackground().string(); };
    const TextRead ip = [](const auto& s) { return s.readNetworkSettings().ip; };
    const TextRead user = [](const auto& s) { return s.readNetworkSettings().username; };
    const TextRead pass = [](const auto& s) { return s.readNetworkSettings().password; };
    const TextRead cast = [](const auto& s) { return s.readNetworkSettings().broadcastAddress; };
    const std::string longText(300, 'a');
    const std::string cut127(127, 'a');
    // 126 ASCII bytes and a three-byte character across the limit: the character goes whole.
    const std::string wide = std::string(126, 'b') + "\xE6\xA8\xA1" + "tail";
    const TextCase cases[] = {
        {device, key::kCommDevice, std::nullopt, ""},
        {device, key::kCommDevice, "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {lang, key::kLanguage, std::nullopt, ""},
        {lang, key::kLanguage, "ENG", "ENG"},
        {lang, key::kLanguage, longText, std::string(259, 'a')},
        {icon, key::kIcon, std::nullopt, ""},
        {icon, key::kIcon, "", ""},
        {icon, key::kIcon, "main.ico", "@/main.ico"},
        {screen, key::kScreenBackground, std::nullopt, "screen.bmp"},
        {screen, key::kScreenBackground, "", "screen.bmp"},
        {screen, key::kScreenBackground, "wall.bmp", "@/wall.bmp"},
        {pip, key::kPictureTwoBackground, std::nullopt, "pip.bmp"},
        {pip, key::kPictureTwoBackground, "p2.bmp", "@/p2.bmp"},
        {ip, key::kNetIp, std::nullopt, ""},
        {ip, key::kNetIp, "127.0.0.2", "127.0.0.2"},
        {ip, key::kNetIp, longText, cut127},
        {user, key::kNetUsername, longText, cut127},
        {user, key::kNetUsername, wide, std::string(126, 'b')},
        {pass, key::kNetPassword, std::nullopt, ""},
        {pass, key::kNetPassword, longText, cut127},
        {cast, key::kNetBroadcast, std::nullopt, "255.255.255.255"},
        {cast, key::kNetBroadcast, "127.255.255.255", "127.255.255.255"},
    };
    const std::string folder = dir.path().string() + "/";
    for (const auto& c : cases) {
        store(c.key, c.stored);
        std::string expected = c.expected;
        if (expected.starts_with("@/")) {
            expected = folder + expected.substr(2);
        }
        EXPECT_EQ(c.read(settings), expected)
            << c.key.section << "/" << c.key.name << " = " << c.stored.value_or("(missing)");
    }
}

TEST_F(SettingsFixture, LastScheduleFileMustStillExist) {
    const auto schedule = dir.path() / "plan.kss";
    spit(schedule, "x");
    ASSERT_TRUE(settings.writeLastScheduleFile(schedule));
    EXPECT_EQ(settings.readLastScheduleFile(), schedule);
    std::filesystem::remove(schedule);
    EXPECT_EQ(settings.readLastScheduleFile(), std::filesystem::path());
    store(key::kLastScheduleFile, std::nullopt);
    EXPECT_EQ(settings.readLastScheduleFile(), std::filesystem::path());
}

TEST_F(SettingsFixture, WritesGoToTheirKeys) {
    SerialSettings serial;
    serial.devicePath = "/dev/ttyS1";
    serial.portNumber = 2;
    serial.timeout = 5;
    serial.baudRate = 38400;
    ASSERT_TRUE(settings.writeSerialSettings(serial));
    NetworkSettings net;
    net.port = 5000;
    net.ip = "127.0.0.2";
    net.username = std::string(200, 'u');
    net.password = "secret";
    net.broadcastAddress = "127.255.255.255";
    ASSERT_TRUE(settings.writeNetworkSettings(net));
    ASSERT_TRUE(settings.writeLanguage(true));
    ASSERT_TRUE(settings.writeScheduleRunning(200));
    ASSERT_TRUE(settings.writeIcon("main.ico"));
    ASSERT_TRUE(settings.writeRecentFile("/t/x.kvt"));
    ASSERT_TRUE(settings.writeBoxWidth(64));
    ASSERT_TRUE(settings.writeBoxHeight(48));
    ASSERT_TRUE(settings.writeModuleWidth(8));
    ASSERT_TRUE(settings.writeModuleHeight(4));
    ASSERT_TRUE(settings.writeNetworkMode(true));

    const IniFile raw(file);
    const std::pair<SettingKey, std::string> expected[] = {
        {key::kCommPort, "2"},
        {key::kTimeout, "5"},
        {key::kBaudRate, "38400"},
        {key::kCommDevice, "/dev/ttyS1"},
        {key::kNetPort, "5000"},
        {key::kNetIp, "127.0.0.2"},
        {key::kNetUsername, std::string(127, 'u')},
        {key::kNetPassword, "secret"},
        {key::kNetBroadcast, "127.255.255.255"},
        {key::kLanguage, "CHN"},
        {key::kScheduleRunning, "200"},
        {key::kIcon, "main.ico"},
        {key::kRecentFile, "/t/x.kvt"},
        {key::kLinkMode, "network"},
        {key::kBoxWidth, "64"},
        {key::kBoxHeight, "48"},
        {key::kModuleWidth, "8"},
        {key::kModuleHeight, "4"},
    };
    for (const auto& [k, value] : expected) {
        EXPECT_EQ(raw.readString(k.section, k.name, "(missing)"), value) << k.name;
    }
    ASSERT_TRUE(settings.writeLanguage(false));
    EXPECT_EQ(settings.readLanguage(), "ENG");
    EXPECT_EQ(settings.readSerialSettings().devicePath, "/dev/ttyS1");
}

TEST_F(SettingsFixture, LoadingSettingsSwitchesTheLogOn) {
    const std::function<void()> loaders[] = {[this] { settings.readSerialSettings(); },
                                             [this] { settings.readNetworkSettings(); }};
    for (const auto& load : loaders) {
        CommLog::setLoggingSwitch(false);
        load();
        EXPECT_TRUE(CommLog::loggingSwitch());
    }
}

TEST(Settings, DefaultFileIsInTheProgramDirectory) {
    test::ProgramHome home;
    Settings settings;
    EXPECT_EQ(settings.file(), home.path() / "korvaneapp.ini");
    ASSERT_TRUE(settings.writeBoxWidth(10));
    EXPECT_TRUE(slurp(home.path() / "korvaneapp.ini").find("BoxH=10") != std::string::npos);
    ASSERT_TRUE(settings.writeIcon("main.ico"));
    EXPECT_EQ(settings.readIcon(), home.path() / "main.ico");
}

// Without KORVANE_HOME, and with no settings file beside the executable, every program uses the
// user's configuration folder, made when first asked for.
TEST(Settings, WithoutAHomeTheUsersConfigurationFolderIsUsed) {
    test::ProgramHome keep; // restores KORVANE_HOME afterwards
    test::TempFolder config;
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = oldXdg != nullptr ? oldXdg : "";
    ::unsetenv("KORVANE_HOME");
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    EXPECT_FALSE(std::filesystem::exists(config.path() / "korvane"));
    EXPECT_EQ(Settings().file(), config.path() / "korvane" / "korvaneapp.ini");
    EXPECT_TRUE(std::filesystem::is_directory(config.path() / "korvane"));
    if (oldXdg != nullptr) {
        ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

// The recent file is stored as a full path whatever folder the caller works in.
TEST(Settings, RecentFileIsStoredInFull) {
    test::ProgramHome home;
    Settings settings;
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(home.path());
    ASSERT_TRUE(settings.writeRecentFile("t.kvt"));
    std::filesystem::current_path(before);
    EXPECT_EQ(IniFile(settings.file()).readString("app", "recentfile"),
              (home.path() / "t.kvt").string());
}

TEST(Settings, FileExists) {
    test::TempFolder dir;
    spit(dir.path() / "f", "");
    EXPECT_TRUE(Settings::fileExists(dir.path() / "f"));
    EXPECT_TRUE(Settings::fileExists(dir.path()));
    EXPECT_FALSE(Settings::fileExists(dir.path() / "g"));
    EXPECT_FALSE(Settings::fileExists({}));
}

} // namespace
