#pragma once

#include "core/link/SerialLink.h"
#include "core/store/IniFile.h"
#include "core/store/NetworkSettings.h"
#include "core/store/SettingsKeys.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// An output resolution the operator typed in, in pixels and hertz.
struct CustomResolution {
    int width = 0;
    int height = 0;
    int refresh = 0;
};

// The one way into korvaneapp.ini: one operation per key. Nothing is cached; each call reads or
// writes the file, so a value written anywhere is seen by the next read everywhere. Writes give
// false when the file could not be written (the value is then not stored).
class Settings {
public:
    // The settings file in the program directory.
    Settings();
    // Another settings file; names relative to the program directory (icon, backgrounds) are
    // then taken relative to that file's folder.
    explicit Settings(std::filesystem::path file);

    const std::filesystem::path& file() const { return ini_.path(); }

    // commport (999 = none), commdevice (empty = none), timeout limited to 1..60, baudrate.
    // Switches the communication log on, as every settings load does.
    SerialSettings readSerialSettings() const;
    bool writeSerialSettings(const SerialSettings& s);

    // Stored as a full path (a relative one is taken from the working folder).
    bool writeRecentFile(const std::filesystem::path& file);

    // Empty when the key is missing or names a file that no longer exists.
    std::filesystem::path readLastScheduleFile() const;
    bool writeLastScheduleFile(const std::filesystem::path& file);

    int readScheduleRunning() const;
    bool writeScheduleRunning(std::uint8_t running);

    // "CHN", "ENG" or whatever the file holds; empty when missing.
    std::string readLanguage() const;
    bool writeLanguage(bool chinese);

    // Empty when the value is empty, else the named file in the program directory.
    std::filesystem::path readIcon() const;
    bool writeIcon(const std::string& name);

    // The named file in the program directory; the bare name screen.bmp / pip.bmp when empty.
    std::filesystem::path readScreenBackground() const;
    std::filesystem::path readPictureTwoBackground() const;

    // The texts cut to 127 characters. Switches the communication log on, as every settings
    // load does.
    NetworkSettings readNetworkSettings() const;
    bool writeNetworkSettings(const NetworkSettings& s);

    // The link mode used last: true for network (UDP), false for serial (also when missing).
    bool readNetworkMode() const;
    bool writeNetworkMode(bool network);
    // Seconds between keep-alive probes of an idle link, 0..3600; 0 = none; 5 when missing.
    int readKeepAlive() const;
    // From now on the serial and network settings live in this object only: reads give them,
    // writes change them here, and the settings file keeps the operator's own (a built-in
    // simulated processor's device and addresses must never land in it).
    void keepLinkSettingsInMemory(const SerialSettings& serial, const NetworkSettings& network);

    // The layout's box and module sizes in pixels (96, 96, 16, 16 when missing).
    int readBoxWidth() const;
    int readBoxHeight() const;
    int readModuleWidth() const;
    int readModuleHeight() const;
    bool writeBoxWidth(int pixels);
    bool writeBoxHeight(int pixels);
    bool writeModuleWidth(int pixels);
    bool writeModuleHeight(int pixels);

    // The custom output resolution last sent; none until one was sent (or a stored size is not
    // positive).
    std::optional<CustomResolution> readCustomResolution() const;
    bool writeCustomResolution(const CustomResolution& r);

    // True when the file's attributes can be read.
    static bool fileExists(const std::filesystem::path& file);

private:
    std::filesystem::path inProgramDirectory(const std::string& name) const;
    int readInt(const SettingKey& k, int absent) const;
    std::string readText(const SettingKey& k, std::string_view absent = {}) const;
    bool write(const SettingKey& k, int value);
    bool write(const SettingKey& k, std::string_view value);

    IniFile ini_;
    std::optional<SerialSettings> memorySerial_;
    std::optional<NetworkSettings> memoryNetwork_;
};

} // namespace korvane
