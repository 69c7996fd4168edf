#pragma once

#include <cstdint>

namespace korvane::ui {

// The first private window message number; the frame's messages keep their numbers from it so
// that every sender and every log line names them the same way.
inline constexpr int kWmUser = 0x400;

// The main frame's private messages (first parameter / second parameter in the comments).
// The frame's handling of each stands in one table, FrameMessageTable.
enum class FrameMessage : int {
    ApplyResolutionDefaults = kWmUser + 100, // - / resolution code
    LoadTemplatePath = kWmUser + 105,        // -
    OpenScheduleRunner = kWmUser + 110,      // -
    RefreshOutputAndDual = kWmUser + 111,    // flag / -
    LayoutFlag = kWmUser + 112,              // kind / value
    PictureQualityInput = kWmUser + 113,     // picture / input code
    Ignored114 = kWmUser + 114,              // accepted and ignored
    CaptureRefresh = kWmUser + 116,          // flag / -
    Ignored117 = kWmUser + 117,
    Ignored118 = kWmUser + 118,
    PictureInput = kWmUser + 119,        // kind / input code
    SaveSlotTemplate = kWmUser + 200,    // - / slot
    LoadSlotTemplate = kWmUser + 201,    // - / slot
    Synchronise = kWmUser + 300,         // - / start-up flag
    SeamlessCheck = kWmUser + 301,       // - / value
    Picture1WholeArea = kWmUser + 302,   // - / value
    LabelPicture = kWmUser + 303,        // picture selector / input code
    PointLocateClosed = kWmUser + 304,   // flag / -
    SelectBox = kWmUser + 305,           // column / row
    RefreshAllWithSends = kWmUser + 408, // -
    PaneOpened = kWmUser + 519,          // stack / pane
    PaneRefreshNow = kWmUser + 520,      // stack / pane
    DisplayChange = 0x007E,              // the display settings changed
};

constexpr int messageNumber(FrameMessage m) {
    return static_cast<int>(m);
}

// WM_USER+119 kinds.
namespace pictureinput {
inline constexpr int kPicture1 = 1;
inline constexpr int kPicture2 = 2;
inline constexpr int kPicture2Labelled = 4;
// Picture 2's selector offers inputs up to this code.
inline constexpr std::uint8_t kPicture2Highest = 13;
} // namespace pictureinput

// WM_USER+112 kinds.
namespace layoutflag {
inline constexpr int kPicture1OnTop = 1;
inline constexpr int kPicture2Hollow = 2;
inline constexpr int kPicture1Hollow = 3;
} // namespace layoutflag

} // namespace korvane::ui
