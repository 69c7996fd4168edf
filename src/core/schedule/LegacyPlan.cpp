#include "core/schedule/LegacyPlan.h"

#include "core/schedule/DateTime.h"

#include <cstdint>

namespace korvane {

namespace {
constexpr std::array<std::string_view, 5> kModeTexts{"无效", "每天", "执行一次", "周期", "间隔"};
constexpr std::string_view kDailyDetail = "天";
constexpr std::string_view kInvalidDetail = "无效";

std::string detail(const LegacyPlanItem& item) {
    switch (item.mode) {
    case legacymode::kDaily:
        return std::string(kDailyDetail);
    case legacymode::kOnce:
        return formatDate(item.year, item.month, item.day);
    case legacymode::kInterval:
        return formatTime(item.hour, item.minute, item.second);
    case legacymode::kWeekly:
        return {};
    default:
        return std::string(kInvalidDetail);
    }
}
} // namespace

LegacyPlanItems openLegacyPlanItems(const LocalTime& today) {
    LegacyPlanItems items{};
    for (LegacyPlanItem& item : items) {
        item.year = today.year;
        item.month = today.month;
        item.day = today.day;
        item.mode = legacymode::kDaily;
    }
    return items;
}

void decodeLegacyPlanTable(const PlanTable& table, LegacyPlanItems& items) {
    for (std::size_t k = 0; k < table.size(); ++k) {
        const PlanItem p = unpackPlanItem(table[k]);
        LegacyPlanItem& item = items[k];
        item.year = p.year;
        item.month = p.month;
        item.day = p.day;
        item.hour = p.hour;
        item.minute = p.minute;
        item.second = p.second;
        item.mode = p.mode;
        item.templateIndex = p.templateNumber - 1;
    }
}

void packLegacyPlanItems(const LegacyPlanItems& items, PlanTable& table) {
    for (std::size_t k = 0; k < items.size(); ++k) {
        const LegacyPlanItem& item = items[k];
        PlanEntry& slot = table[k];
        // Interval, channel and action keep what the slot already holds.
        PlanItem p = unpackPlanItem(slot);
        p.year = item.year;
        p.month = item.month;
        p.day = item.day;
        p.hour = item.hour;
        p.minute = item.minute;
        p.second = item.second;
        p.mode = item.mode;
        // Wraps instead of overflowing; packing keeps only the low bits anyway.
        p.templateNumber =
            static_cast<int>((static_cast<unsigned>(item.templateIndex) + 1u) &
                             static_cast<unsigned>(planFieldMax(planbits::kTemplate)));
        PlanEntry packed =
            packPlanItem(p, item.modified ? static_cast<std::uint8_t>(k) : kUnusedPlanEntry);
        packed.unused1 = slot.unused1;
        packed.unused9 = slot.unused9;
        slot = packed;
    }
}

void clearLegacyModified(LegacyPlanItems& items) {
    for (LegacyPlanItem& item : items) {
        item.modified = false;
    }
}

std::string_view legacyPlanModeText(int mode) {
    if (mode < 0 || static_cast<std::size_t>(mode) >= kModeTexts.size()) {
        return {};
    }
    return kModeTexts[static_cast<std::size_t>(mode)];
}

LegacyPlanRowTexts legacyPlanRowTexts(const LegacyPlanItem& item, std::size_t slot) {
    LegacyPlanRowTexts r;
    r.number = std::to_string(slot + 1);
    r.mode = std::string(legacyPlanModeText(item.mode));
    r.detail = detail(item);
    r.time = formatTime(item.hour, item.minute, item.second);
    r.templateNumber = std::to_string(std::int64_t{item.templateIndex} + 1);
    return r;
}

} // namespace korvane
