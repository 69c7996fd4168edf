#include "core/schedule/PlanItem.h"

#include "core/schedule/DateTime.h"

#include <utility>

namespace korvane {

namespace {
constexpr std::array<std::string_view, 6> kModeTexts{"跳过",     "每天",     "执行一次",
                                                     "24后失效", "每天重复", "持续不断"};
constexpr std::string_view kRecallTemplateText = "执行模板";
constexpr std::string_view kSwitchInputText = "切换通道";

// The low `bits` bits of a value, negative values as two's complement.
std::uint8_t low(int value, int bits) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(value) &
                                     static_cast<unsigned>(planFieldMax(bits)));
}

// The 16-bit interval field of the entry write: high byte to word A, low bits to word C.
std::uint16_t intervalField(int interval) {
    const unsigned minutes =
        static_cast<unsigned>(interval) & static_cast<unsigned>(planFieldMax(planbits::kInterval));
    const unsigned lowMask = static_cast<unsigned>(planFieldMax(planbits::kIntervalLow));
    return static_cast<std::uint16_t>((minutes >> planbits::kIntervalLow) << 8 |
                                      (minutes & lowMask));
}

int intervalOf(std::uint16_t field) {
    return (field >> 8) << planbits::kIntervalLow | (field & planFieldMax(planbits::kIntervalLow));
}
} // namespace

PlanEntry packPlanItem(const PlanItem& item, std::uint8_t index) {
    PlanFields f{};
    // Unsigned, so that any year wraps instead of overflowing: 0 packs as 3, 2029 as 2013.
    f.f1 = static_cast<std::uint8_t>(
        (static_cast<unsigned>(item.year) - static_cast<unsigned>(kPlanYearBase)) &
        static_cast<unsigned>(planFieldMax(planbits::kYear)));
    f.f2 = low(item.month, planbits::kMonth);
    f.f3 = low(item.day, planbits::kDay);
    f.f4 = low(item.hour, planbits::kHour);
    f.f5 = low(item.minute, planbits::kMinute);
    f.f6 = low(item.second, planbits::kSecond);
    f.f7 = intervalField(item.interval);
    f.f8 = low(item.mode, planbits::kMode);
    f.f9 = low(item.channel, planbits::kChannel);
    f.f10 = low(item.action, planbits::kAction);
    f.f11 = low(item.templateNumber, planbits::kTemplate);
    return packPlanEntry(index, f);
}

PlanItem unpackPlanItem(const PlanEntry& entry) {
    const PlanFields f = unpackPlanFields(entry);
    PlanItem item;
    item.year = f.f1 + kPlanYearBase;
    item.month = f.f2;
    item.day = f.f3;
    item.hour = f.f4;
    item.minute = f.f5;
    item.second = f.f6;
    item.interval = intervalOf(f.f7);
    item.mode = f.f8;
    item.channel = f.f9;
    item.action = f.f10;
    item.templateNumber = f.f11;
    return item;
}

void packPlanItems(const PlanItems& items, PlanTable& table) {
    for (std::size_t k = 0; k < items.size(); ++k) {
        table[k] = packPlanItem(items[k], static_cast<std::uint8_t>(k));
    }
}

void decodePlanTable(const PlanTable& table, PlanItems& items) {
    for (const PlanEntry& entry : table) {
        if (entry.index < items.size()) {
            items[entry.index] = unpackPlanItem(entry);
        }
    }
}

std::string_view planModeText(int mode) {
    if (mode < 0) {
        return {};
    }
    if (static_cast<std::size_t>(mode) >= kModeTexts.size()) {
        return kModeTexts.back();
    }
    return kModeTexts[static_cast<std::size_t>(mode)];
}

std::string_view planActionText(int action) {
    return action != planaction::kSwitchInput ? kRecallTemplateText : kSwitchInputText;
}

PlanRowTexts planRowTexts(const PlanItem& item, std::size_t row) {
    PlanRowTexts r;
    r.number = std::to_string(row);
    r.mode = std::string(planModeText(item.mode));
    r.interval = std::to_string(item.interval);
    r.dateTime =
        formatDateTime({item.year, item.month, item.day, item.hour, item.minute, item.second});
    r.action = std::string(planActionText(item.action));
    return r;
}

std::optional<std::size_t> movePlanItem(PlanItems& items, std::size_t row, PlanMove direction) {
    if (row >= items.size()) {
        return std::nullopt;
    }
    if (direction == PlanMove::Up ? row == 0 : row + 1 == items.size()) {
        return std::nullopt;
    }
    const std::size_t other = direction == PlanMove::Up ? row - 1 : row + 1;
    std::swap(items[row], items[other]);
    return other;
}

} // namespace korvane
