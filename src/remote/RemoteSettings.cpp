#include "remote/RemoteSettings.h"

#include "core/store/ProgramDirectory.h"
#include "tools/ArgRule.h"

#include <random>

namespace korvane::remote {

namespace {
namespace key = remotekey;

std::string nameKey(int slot) {
    return std::string(key::kTemplateKeyPrefix) + std::to_string(slot);
}

bool validSlot(int slot) {
    return slot >= 1 && slot <= key::kTemplateCount;
}

// The number of code points of well-formed UTF-8 (overlongs, surrogates and values beyond
// U+10FFFF refused); none for anything else.
std::optional<std::size_t> utf8Length(std::string_view s) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++count) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return std::nullopt;
        }
        if (i + extra >= s.size() && extra > 0) {
            return std::nullopt;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80) {
                return std::nullopt;
            }
            cp = (cp << 6) | (b & 0x3F);
        }
        constexpr char32_t kMinOf[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMinOf[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return std::nullopt;
        }
        i += extra + 1;
    }
    return count;
}
} // namespace

RemoteSettings::RemoteSettings() : RemoteSettings(programDirectory() / settingskey::kFileName) {}

RemoteConfig RemoteSettings::read() const {
    RemoteConfig c;
    c.enabled = ini_.readInt(key::kEnabled.section, key::kEnabled.name, 0) != 0;
    c.httpPort = ini_.readInt(key::kHttpPort.section, key::kHttpPort.name, key::kDefaultHttpPort);
    c.oscPort = ini_.readInt(key::kOscPort.section, key::kOscPort.name, key::kDefaultOscPort);
    c.listen = ini_.readString(key::kListen.section, key::kListen.name, key::kDefaultListen);
    if (c.listen.empty()) {
        c.listen = key::kDefaultListen;
    }
    return c;
}

bool RemoteSettings::write(const RemoteConfig& c) {
    return ini_.writeInt(key::kEnabled.section, key::kEnabled.name, c.enabled ? 1 : 0) &&
           ini_.writeInt(key::kHttpPort.section, key::kHttpPort.name, c.httpPort) &&
           ini_.writeInt(key::kOscPort.section, key::kOscPort.name, c.oscPort) &&
           ini_.writeString(key::kListen.section, key::kListen.name, c.listen);
}

std::string RemoteSettings::token() {
    std::string t = ini_.readString(key::kToken.section, key::kToken.name);
    if (t.size() >= key::kTokenLength) {
        return t;
    }
    return renewToken();
}

std::string RemoteSettings::renewToken() {
    std::string t = makeToken();
    ini_.writeString(key::kToken.section, key::kToken.name, t);
    return t;
}

std::string RemoteSettings::templateName(int slot) const {
    if (!validSlot(slot)) {
        return {};
    }
    std::string name = ini_.readString(key::kTemplateSection, nameKey(slot));
    return nameError(name).empty() ? name : std::string{};
}

std::array<std::string, remotekey::kTemplateCount> RemoteSettings::templateNames() const {
    std::array<std::string, key::kTemplateCount> names;
    for (int slot = 1; slot <= key::kTemplateCount; ++slot) {
        names[static_cast<std::size_t>(slot - 1)] = templateName(slot);
    }
    return names;
}

bool RemoteSettings::writeTemplateName(int slot, std::string_view name) {
    if (!validSlot(slot) || !nameError(name).empty()) {
        return false;
    }
    return ini_.writeString(key::kTemplateSection, nameKey(slot), name);
}

std::optional<int> RemoteSettings::slotNamed(std::string_view name) const {
    if (name.empty()) {
        return std::nullopt;
    }
    const auto names = templateNames();
    for (int pass = 0; pass < 2; ++pass) {
        for (int slot = 1; slot <= key::kTemplateCount; ++slot) {
            const std::string& n = names[static_cast<std::size_t>(slot - 1)];
            if (pass == 0 ? n == name : ctl::equalsIgnoringCase(n, name)) {
                return slot;
            }
        }
    }
    return std::nullopt;
}

std::string RemoteSettings::nameError(std::string_view name) {
    const auto length = utf8Length(name);
    if (!length) {
        return "a template name must be UTF-8";
    }
    if (*length > key::kMaxNameLength) {
        return "a template name has at most " + std::to_string(key::kMaxNameLength) + " characters";
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return "a template name has no control characters";
        }
    }
    // The settings file drops surrounding blanks and one pair of surrounding quotes.
    if (!name.empty() && (name.front() == ' ' || name.back() == ' ')) {
        return "a template name neither starts nor ends with a blank";
    }
    if (name.size() >= 2 && name.front() == name.back() && (name[0] == '"' || name[0] == '\'')) {
        return "a template name is not wrapped in quotes";
    }
    return {};
}

std::string makeToken() {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string t;
    for (std::size_t i = 0; i < key::kTokenLength; ++i) {
        t += kAlphabet[pick(source)];
    }
    return t;
}

} // namespace korvane::remote
