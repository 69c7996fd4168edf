#pragma once

#include <QString>
#include <cstdint>
#include <span>

namespace korvane::ui {

// The About box's version and factory date from the five device-information bytes (model,
// version letter, version number, factory year after 2000, factory week). Both stay empty
// until a processor reported a version number below 99.
struct AboutTexts {
    QString version; // "A3"
    QString date;    // "201305"
};
AboutTexts aboutTexts(std::span<const std::uint8_t, 5> deviceInfo);

} // namespace korvane::ui
