#pragma once

#include "core/link/CommandCodes.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace korvane::ctl {

// A picture-quality item as the command line names it. The three gains have no sub-code of
// their own: they travel with the colour temperature and are addressed by their mirror index.
struct QualityItemName {
    std::string_view name;
    PictureQualityItem item;
    std::optional<std::size_t> gainIndex;
};

std::span<const QualityItemName> qualityItems();

// The row of `text`: an item name (any case) or a sub-code number; null when neither.
const QualityItemName* findQualityItem(std::string_view text);

} // namespace korvane::ctl
