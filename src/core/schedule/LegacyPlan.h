#pragma once

#include "core/schedule/LocalTime.h"
#include "core/schedule/PlanItem.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace korvane {

// The older offline plan dialog's form of an entry. It edits only the date, time, mode and
// template of each slot and sends only the entries it changed.
struct LegacyPlanItem {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int mode = 0;
    // One less than the template number the entry carries (the dialog's combo index 0..9). An
    // entry holding number 0 reads as -1, so that it goes back unchanged.
    int templateIndex = 0;
    bool modified = false;

    bool operator==(const LegacyPlanItem&) const = default;
};

using LegacyPlanItems = std::array<LegacyPlanItem, kPlanEntryCount>;

namespace legacymode {
inline constexpr int kInvalid = 0;
inline constexpr int kDaily = 1;
inline constexpr int kOnce = 2;
inline constexpr int kWeekly = 3;
inline constexpr int kInterval = 4;
} // namespace legacymode

// What the dialog holds when it opens: every entry daily, today's date, 00:00:00, unmodified.
LegacyPlanItems openLegacyPlanItems(const LocalTime& today);

// Read: slot k into entry k whatever its index byte; the modified flags stay as they are.
void decodeLegacyPlanTable(const PlanTable& table, LegacyPlanItems& items);
// Send: writes the date, time, mode and template bits of entry k into slot k and keeps every
// other bit of the slot. The index byte becomes k for a modified entry and 255 otherwise, so the
// send operation skips the unmodified ones.
void packLegacyPlanItems(const LegacyPlanItems& items, PlanTable& table);
// After a successful send.
void clearLegacyModified(LegacyPlanItems& items);

// "无效", "每天", "执行一次", "周期", "间隔"; empty for any other mode.
std::string_view legacyPlanModeText(int mode);

// The dialog list's texts for one entry.
struct LegacyPlanRowTexts {
    std::string number; // the slot number + 1
    std::string mode;   // the mode text
    std::string detail; // "天"; the date for once; the time for interval; empty weekly; "无效"
    std::string time;   // "%02d:%02d:%02d"
    std::string templateNumber; // the template index + 1

    bool operator==(const LegacyPlanRowTexts&) const = default;
};
LegacyPlanRowTexts legacyPlanRowTexts(const LegacyPlanItem& item, std::size_t slot);

} // namespace korvane
