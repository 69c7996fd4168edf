#pragma once

#include "core/store/IniFile.h"
#include "core/store/SettingsKeys.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::remote {

namespace remotekey {
inline constexpr SettingKey kEnabled{"remote", "enabled"};
inline constexpr SettingKey kHttpPort{"remote", "httpport"};
inline constexpr SettingKey kOscPort{"remote", "oscport"};
inline constexpr SettingKey kListen{"remote", "listen"};
inline constexpr SettingKey kToken{"remote", "token"};
inline constexpr std::string_view kTemplateSection = "templates";
inline constexpr std::string_view kTemplateKeyPrefix = "name";

inline constexpr int kDefaultHttpPort = 8470;
inline constexpr int kDefaultOscPort = 8471;
inline constexpr std::string_view kDefaultListen = "127.0.0.1";
inline constexpr std::size_t kTokenLength = 32;
inline constexpr std::size_t kMaxNameLength = 32; // characters, not bytes
inline constexpr int kTemplateCount = 10;
} // namespace remotekey

struct RemoteConfig {
    bool enabled = false;
    int httpPort = remotekey::kDefaultHttpPort;
    int oscPort = remotekey::kDefaultOscPort;
    std::string listen{remotekey::kDefaultListen};
};

// The section `remote` of the settings file and the template names of section `templates`, read
// and written key by key like every other setting.
class RemoteSettings {
public:
    // The settings file in the program directory.
    RemoteSettings();
    explicit RemoteSettings(std::filesystem::path file) : ini_(std::move(file)) {}

    const std::filesystem::path& file() const { return ini_.path(); }

    RemoteConfig read() const;
    bool write(const RemoteConfig& c);

    // The stored token; one is made and stored the first time it is asked for.
    std::string token();
    // A fresh token replaces the stored one.
    std::string renewToken();

    // Slot 1..10; empty when unnamed.
    std::string templateName(int slot) const;
    std::array<std::string, remotekey::kTemplateCount> templateNames() const;
    // False, storing nothing, for an invalid name (see nameError) or a file that cannot be written.
    bool writeTemplateName(int slot, std::string_view name);
    // The slot named `name` (exact, or ignoring ASCII case); none when no slot carries it.
    std::optional<int> slotNamed(std::string_view name) const;

    // Why `name` cannot name a template (empty when it can): valid UTF-8, at most 32
    // characters, no control characters. The empty name clears a slot's name.
    static std::string nameError(std::string_view name);

private:
    IniFile ini_;
};

// 32 characters from [A-Za-z0-9], from the system's random source.
std::string makeToken();

} // namespace korvane::remote
