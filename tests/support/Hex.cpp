#include "support/Hex.h"

#include <cstdio>
#include <sstream>

namespace korvane::test {

std::string hex(std::span<const std::uint8_t> bytes) {
    std::string s;
    char item[4];
    for (const auto b : bytes) {
        std::snprintf(item, sizeof item, "%s%02X", s.empty() ? "" : " ", b);
        s += item;
    }
    return s;
}

std::vector<std::uint8_t> parseHex(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::uint8_t> bytes;
    unsigned b = 0;
    while (in >> std::hex >> b) {
        bytes.push_back(static_cast<std::uint8_t>(b));
    }
    return bytes;
}

} // namespace korvane::test
