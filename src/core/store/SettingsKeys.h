#pragma once

#include <string_view>

namespace korvane {

// One key of the settings file.
struct SettingKey {
    std::string_view section;
    std::string_view name;
};

// Every key of korvaneapp.ini, and what a missing key reads as.
namespace settingskey {
inline constexpr std::string_view kFileName = "korvaneapp.ini";

inline constexpr SettingKey kCommPort{"comm", "commport"};
inline constexpr SettingKey kCommDevice{"comm", "commdevice"}; // serial device path
inline constexpr SettingKey kTimeout{"comm", "timeout"};
inline constexpr SettingKey kBaudRate{"comm", "baudrate"};
inline constexpr SettingKey kRecentFile{"app", "recentfile"};
inline constexpr SettingKey kLastScheduleFile{"app", "lastrunschedulefile"};
inline constexpr SettingKey kScheduleRunning{"app", "runningschdle"};
inline constexpr SettingKey kLanguage{"app", "lang"};
inline constexpr SettingKey kIcon{"set", "icon"};
inline constexpr SettingKey kScreenBackground{"set", "screenbk"};
inline constexpr SettingKey kPictureTwoBackground{"set", "pipbk"};
inline constexpr SettingKey kBoxWidth{"set", "BoxH"};
inline constexpr SettingKey kBoxHeight{"set", "BoxV"};
inline constexpr SettingKey kModuleWidth{"set", "MBoxH"};
inline constexpr SettingKey kModuleHeight{"set", "MBoxV"};
inline constexpr SettingKey kCustomWidth{"set", "customwidth"};
inline constexpr SettingKey kCustomHeight{"set", "customheight"};
inline constexpr SettingKey kCustomRefresh{"set", "customhz"};
inline constexpr SettingKey kNetPort{"net", "port"};
inline constexpr SettingKey kNetIp{"net", "ip"};
inline constexpr SettingKey kNetUsername{"net", "username"};
inline constexpr SettingKey kNetPassword{"net", "password"};
inline constexpr SettingKey kNetBroadcast{"net", "broadcast"};
inline constexpr SettingKey kLinkMode{"link", "mode"};           // serial or network
inline constexpr SettingKey kLinkKeepAlive{"link", "keepalive"}; // seconds, 0 = off

inline constexpr int kNoCommPort = 999;
inline constexpr int kDefaultTimeout = 1;
inline constexpr int kMinTimeout = 1;
inline constexpr int kMaxTimeout = 60;
inline constexpr int kDefaultBaudRate = 9600;
inline constexpr int kDefaultBoxSize = 96;
inline constexpr int kDefaultModuleSize = 16;
inline constexpr int kDefaultNetPort = 0;
inline constexpr int kDefaultKeepAlive = 5;
inline constexpr int kMaxKeepAlive = 3600;
inline constexpr std::string_view kSerialMode = "serial";
inline constexpr std::string_view kNetworkMode = "network";
inline constexpr std::string_view kChinese = "CHN";
inline constexpr std::string_view kEnglish = "ENG";
inline constexpr std::string_view kScreenBackgroundFallback = "screen.bmp";
inline constexpr std::string_view kPictureTwoBackgroundFallback = "pip.bmp";
} // namespace settingskey

} // namespace korvane
