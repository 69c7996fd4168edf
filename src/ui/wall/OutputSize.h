#pragma once

#include <QSize>
#include <cstdint>
#include <optional>

namespace korvane {
class Settings;
}

namespace korvane::ui {

// The output's size in pixels for a resolution code: a table entry's own size; for the custom
// entry the size last sent, kept in the settings so that a restart knows it; while no custom
// size is known, the last table size met (at first the default resolution's).
class OutputSize {
public:
    explicit OutputSize(const Settings& settings);

    // None for a code the table does not know.
    std::optional<QSize> forCode(std::uint8_t code);

private:
    const Settings& settings_;
    QSize lastTable_;
};

} // namespace korvane::ui
