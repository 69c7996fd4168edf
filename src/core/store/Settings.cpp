#include "core/store/Settings.h"

#include "core/link/CommLog.h"
#include "core/store/ProgramDirectory.h"
#include "core/store/SettingsKeys.h"

#include <algorithm>
#include <cctype>
#include <sys/stat.h>

namespace korvane {

namespace {
namespace key = settingskey;

// Cut to `length` bytes, backing off so that no UTF-8 character is split.
std::string cut(std::string text, std::size_t length) {
    if (text.size() <= length) {
        return text;
    }
    std::size_t end = length;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u) {
        --end;
    }
    text.resize(end);
    return text;
}
} // namespace

Settings::Settings() : Settings(programDirectory() / settingskey::kFileName) {}

Settings::Settings(std::filesystem::path file) : ini_(std::move(file)) {}

std::filesystem::path Settings::inProgramDirectory(const std::string& name) const {
    return file().parent_path() / name;
}

void Settings::keepLinkSettingsInMemory(const SerialSettings& serial,
                                        const NetworkSettings& network) {
    memorySerial_ = serial;
    memoryNetwork_ = network;
}

SerialSettings Settings::readSerialSettings() const {
    if (memorySerial_) {
        return *memorySerial_;
    }
    SerialSettings s;
    s.portNumber = readInt(key::kCommPort, key::kNoCommPort);
    s.devicePath = readText(key::kCommDevice);
    s.timeout = std::clamp(readInt(key::kTimeout, key::kDefaultTimeout), key::kMinTimeout,
                           key::kMaxTimeout);
    s.baudRate = readInt(key::kBaudRate, key::kDefaultBaudRate);
    CommLog::setLoggingSwitch(true);
    return s;
}

bool Settings::writeSerialSettings(const SerialSettings& s) {
    if (memorySerial_) {
        memorySerial_ = s;
        return true;
    }
    bool ok = write(key::kCommPort, s.portNumber);
    ok = write(key::kTimeout, s.timeout) && ok;
    ok = write(key::kBaudRate, s.baudRate) && ok;
    return write(key::kCommDevice, s.devicePath) && ok;
}

bool Settings::writeRecentFile(const std::filesystem::path& file) {
    // Stored as a full path, whatever folder the caller worked in.
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(file, ec);
    return write(key::kRecentFile, (ec ? file : full).string());
}

std::filesystem::path Settings::readLastScheduleFile() const {
    std::filesystem::path file = readText(key::kLastScheduleFile);
    return fileExists(file) ? file : std::filesystem::path();
}

bool Settings::writeLastScheduleFile(const std::filesystem::path& file) {
    return write(key::kLastScheduleFile, file.string());
}

int Settings::readScheduleRunning() const {
    return readInt(key::kScheduleRunning, 0);
}

bool Settings::writeScheduleRunning(std::uint8_t running) {
    return write(key::kScheduleRunning, running);
}

std::string Settings::readLanguage() const {
    return readText(key::kLanguage);
}

bool Settings::writeLanguage(bool chinese) {
    return write(key::kLanguage, chinese ? key::kChinese : key::kEnglish);
}

bool Settings::readNetworkMode() const {
    const std::string mode = readText(key::kLinkMode);
    return std::ranges::equal(mode, key::kNetworkMode, [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

bool Settings::writeNetworkMode(bool network) {
    return write(key::kLinkMode, network ? key::kNetworkMode : key::kSerialMode);
}

int Settings::readKeepAlive() const {
    return std::clamp(readInt(key::kLinkKeepAlive, key::kDefaultKeepAlive), 0, key::kMaxKeepAlive);
}

std::filesystem::path Settings::readIcon() const {
    const std::string name = readText(key::kIcon);
    return name.empty() ? std::filesystem::path() : inProgramDirectory(name);
}

bool Settings::writeIcon(const std::string& name) {
    return write(key::kIcon, name);
}

std::filesystem::path Settings::readScreenBackground() const {
    const std::string name = readText(key::kScreenBackground);
    return name.empty() ? std::filesystem::path(key::kScreenBackgroundFallback)
                        : inProgramDirectory(name);
}

std::filesystem::path Settings::readPictureTwoBackground() const {
    const std::string name = readText(key::kPictureTwoBackground);
    return name.empty() ? std::filesystem::path(key::kPictureTwoBackgroundFallback)
                        : inProgramDirectory(name);
}

NetworkSettings Settings::readNetworkSettings() const {
    if (memoryNetwork_) {
        return *memoryNetwork_;
    }
    NetworkSettings s;
    s.port = readInt(key::kNetPort, key::kDefaultNetPort);
    s.ip = cut(readText(key::kNetIp), kNetworkTextLength);
    s.username = cut(readText(key::kNetUsername), kNetworkTextLength);
    s.password = cut(readText(key::kNetPassword), kNetworkTextLength);
    s.broadcastAddress =
        cut(readText(key::kNetBroadcast, kDefaultBroadcastAddress), kNetworkTextLength);
    CommLog::setLoggingSwitch(true);
    return s;
}

bool Settings::writeNetworkSettings(const NetworkSettings& s) {
    if (memoryNetwork_) {
        memoryNetwork_ = s;
        return true;
    }
    bool ok = write(key::kNetPort, s.port);
    ok = write(key::kNetIp, cut(s.ip, kNetworkTextLength)) && ok;
    ok = write(key::kNetUsername, cut(s.username, kNetworkTextLength)) && ok;
    ok = write(key::kNetPassword, cut(s.password, kNetworkTextLength)) && ok;
    return write(key::kNetBroadcast, cut(s.broadcastAddress, kNetworkTextLength)) && ok;
}

int Settings::readBoxWidth() const {
    return readInt(key::kBoxWidth, key::kDefaultBoxSize);
}

int Settings::readBoxHeight() const {
    return readInt(key::kBoxHeight, key::kDefaultBoxSize);
}

int Settings::readModuleWidth() const {
    return readInt(key::kModuleWidth, key::kDefaultModuleSize);
}

int Settings::readModuleHeight() const {
    return readInt(key::kModuleHeight, key::kDefaultModuleSize);
}

bool Settings::writeBoxWidth(int pixels) {
    return write(key::kBoxWidth, pixels);
}

bool Settings::writeBoxHeight(int pixels) {
    return write(key::kBoxHeight, pixels);
}

bool Settings::writeModuleWidth(int pixels) {
    return write(key::kModuleWidth, pixels);
}

bool Settings::writeModuleHeight(int pixels) {
    return write(key::kModuleHeight, pixels);
}

std::optional<CustomResolution> Settings::readCustomResolution() const {
    const CustomResolution r{readInt(key::kCustomWidth, 0), readInt(key::kCustomHeight, 0),
                             readInt(key::kCustomRefresh, 0)};
    if (r.width <= 0 || r.height <= 0) {
        return std::nullopt;
    }
    return r;
}

bool Settings::writeCustomResolution(const CustomResolution& r) {
    bool ok = write(key::kCustomWidth, r.width);
    ok = write(key::kCustomHeight, r.height) && ok;
    return write(key::kCustomRefresh, r.refresh) && ok;
}

int Settings::readInt(const SettingKey& k, int absent) const {
    return ini_.readInt(k.section, k.name, absent);
}

std::string Settings::readText(const SettingKey& k, std::string_view absent) const {
    return ini_.readString(k.section, k.name, absent);
}

bool Settings::write(const SettingKey& k, int value) {
    return ini_.writeInt(k.section, k.name, value);
}

bool Settings::write(const SettingKey& k, std::string_view value) {
    return ini_.writeString(k.section, k.name, value);
}

bool Settings::fileExists(const std::filesystem::path& file) {
    struct stat st {};
    return !file.empty() && ::stat(file.c_str(), &st) == 0;
}

} // namespace korvane
