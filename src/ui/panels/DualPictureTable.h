#pragma once

#include <QString>
#include <span>

namespace korvane::ui {

// The dual-picture panel's texts are translated under the panel's own name.
inline constexpr char kDualPictureContext[] = "korvane::ui::DualPicturePanel";

namespace dualpanel {
inline constexpr int kThresholdMaximum = 255;
inline constexpr int kThresholdTick = 10;
inline constexpr int kTransparencyLevels = 4;
inline constexpr int kFadeLevels = 5;
inline constexpr int kWindowTextLength = 4;
inline constexpr int kThresholdTextLength = 3;
// The processor needs this long after a refresh before picture 2's switch state is applied.
inline constexpr int kRefreshPauseMs = 500;
// Without "自动更新" the switch state is read this long after a source change.
inline constexpr int kDirectQueryPauseMs = 2000;
} // namespace dualpanel

struct DualChoice {
    const char* text; // Chinese source text; translated under kDualPictureContext
    int value;
};

// "自动切换": off and the three priorities.
std::span<const DualChoice> autoSwitchChoices();

// The colour-key condition: the text chosen by semi-transparency mode (0 mode 1), above/below
// (0 above) and and/or (0 and), with the three thresholds filled in, translated.
QString overlayConditionText(int mode, int aboveBelow, int andOr, int red, int green, int blue);

// The fade level sent with the effect commands for a selection of the fade-time list: 1..5,
// 1 when nothing is selected.
int fadeLevel(int selectionIndex);

} // namespace korvane::ui
