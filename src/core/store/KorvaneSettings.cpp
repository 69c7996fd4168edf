#include "store/KorvaneSettings.h"

#include "link/CommLog.h"
#include "store/ProgramDirectory.h"
#include "store/SettingsKeys.h"

#include <algorithm>
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

CKorvaneSettings::CKorvaneSettings()
    : CKorvaneSettings(programDirectory() / settingskey::kFileName) {}

CKorvaneSettings::CKorvaneSettings(std::filesystem::path file) : ini_(std::move(file)) {}

std::filesystem::path CKorvaneSettings::inProgramDirectory(const std::string& name) const {
    return file().parent_path() / name;
}

SerialSettings CKorvaneSettings::readSerialSettings() const {
    SerialSettings s;
    s.portNumber = readInt(key::kCommPort, key::kNoCommPort);
    s.devicePath = readText(key::kCommDevice);
    s.timeout = std::clamp(readInt(key::kTimeout, key::kDefaultTimeout), key::kMinTimeout,
                           key::kMaxTimeout);
    s.baudRate = readInt(key::kBaudRate, key::kDefaultBaudRate);
    CommLog::setLoggingSwitch(true);
    return s;
}

bool CKorvaneSettings::writeSerialSettings(const SerialSettings& s) {
    bool ok = write(key::kCommPort, s.portNumber);
    ok = write(key::kTimeout, s.timeout) && ok;
    ok = write(key::kBaudRate, s.baudRate) && ok;
    return write(key::kCommDevice, s.devicePath) && ok;
}

bool CKorvaneSettings::writeRecentFile(const std::filesystem::path& file) {
    return write(key::kRecentFile, file.string());
}

std::filesystem::path CKorvaneSettings::readLastScheduleFile() const {
    std::filesystem::path file = readText(key::kLastScheduleFile);
    return fileExists(file) ? file : std::filesystem::path();
}

bool CKorvaneSettings::writeLastScheduleFile(const std::filesystem::path& file) {
    return write(key::kLastScheduleFile, file.string());
}

int CKorvaneSettings::readScheduleRunning() const {
    return readInt(key::kScheduleRunning, 0);
}

bool CKorvaneSettings::writeScheduleRunning(std::uint8_t running) {
    return write(key::kScheduleRunning, running);
}

std::string CKorvaneSettings::readLanguage() const {
    return readText(key::kLanguage);
}

bool CKorvaneSettings::writeLanguage(bool chinese) {
    return write(key::kLanguage, chinese ? key::kChinese : key::kEnglish);
}

std::filesystem::path CKorvaneSettings::readIcon() const {
    const std::string name = readText(key::kIcon);
    return name.empty() ? std::filesystem::path() : inProgramDirectory(name);
}

bool CKorvaneSettings::writeIcon(const std::string& name) {
    return write(key::kIcon, name);
}

std::filesystem::path CKorvaneSettings::readScreenBackground() const {
    const std::string name = readText(key::kScreenBackground);
    return name.empty() ? std::filesystem::path(key::kScreenBackgroundFallback)
                        : inProgramDirectory(name);
}

std::filesystem::path CKorvaneSettings::readPictureTwoBackground() const {
    const std::string name = readText(key::kPictureTwoBackground);
    return name.empty() ? std::filesystem::path(key::kPictureTwoBackgroundFallback)
                        : inProgramDirectory(name);
}

NetworkSettings CKorvaneSettings::readNetworkSettings() const {
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

bool CKorvaneSettings::writeNetworkSettings(const NetworkSettings& s) {
    bool ok = write(key::kNetPort, s.port);
    ok = write(key::kNetIp, cut(s.ip, kNetworkTextLength)) && ok;
    ok = write(key::kNetUsername, cut(s.username, kNetworkTextLength)) && ok;
    ok = write(key::kNetPassword, cut(s.password, kNetworkTextLength)) && ok;
    return write(key::kNetBroadcast, cut(s.broadcastAddress, kNetworkTextLength)) && ok;
}

int CKorvaneSettings::readBoxWidth() const {
    return readInt(key::kBoxWidth, key::kDefaultBoxSize);
}

int CKorvaneSettings::readBoxHeight() const {
    return readInt(key::kBoxHeight, key::kDefaultBoxSize);
}

int CKorvaneSettings::readModuleWidth() const {
    return readInt(key::kModuleWidth, key::kDefaultModuleSize);
}

int CKorvaneSettings::readModuleHeight() const {
    return readInt(key::kModuleHeight, key::kDefaultModuleSize);
}

bool CKorvaneSettings::writeBoxWidth(int pixels) {
    return write(key::kBoxWidth, pixels);
}

bool CKorvaneSettings::writeBoxHeight(int pixels) {
    return write(key::kBoxHeight, pixels);
}

bool CKorvaneSettings::writeModuleWidth(int pixels) {
    return write(key::kModuleWidth, pixels);
}

bool CKorvaneSettings::writeModuleHeight(int pixels) {
    return write(key::kModuleHeight, pixels);
}

int CKorvaneSettings::readInt(const SettingKey& k, int absent) const {
    return ini_.readInt(k.section, k.name, absent);
}

std::string CKorvaneSettings::readText(const SettingKey& k, std::string_view absent) const {
    return ini_.readString(k.section, k.name, absent);
}

bool CKorvaneSettings::write(const SettingKey& k, int value) {
    return ini_.writeInt(k.section, k.name, value);
}

bool CKorvaneSettings::write(const SettingKey& k, std::string_view value) {
    return ini_.writeString(k.section, k.name, value);
}

bool CKorvaneSettings::fileExists(const std::filesystem::path& file) {
    struct stat st {};
    return !file.empty() && ::stat(file.c_str(), &st) == 0;
}

} // namespace korvane
