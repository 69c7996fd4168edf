#pragma once

#include "core/link/CommandCodes.h"

#include <cstdint>

namespace korvane::ui {

// The frame's messages keep fixed numbers from this base, so that every log line and every test
// names them the same way.
inline constexpr int kFrameMessageBase = 0x400;

// The main frame's private messages (first parameter / second parameter in the comments).
// The frame's handling of each stands in one table, FrameMessageTable. Senders go through the
// typed functions of IFrameMessenger, which put the parameters in.
enum class FrameMessage : int {
    ApplyResolutionDefaults = kFrameMessageBase + 100, // - / resolution code
    LoadTemplatePath = kFrameMessageBase + 105,        // -
    OpenScheduleRunner = kFrameMessageBase + 110,      // -
    RefreshOutputAndDual = kFrameMessageBase + 111,    // flag / -
    LayoutFlag = kFrameMessageBase + 112,              // kind / value
    PictureQualityInput = kFrameMessageBase + 113,     // picture / input code
    Ignored114 = kFrameMessageBase + 114,              // accepted and ignored
    CaptureRefresh = kFrameMessageBase + 116,          // flag / -
    Ignored117 = kFrameMessageBase + 117,
    Ignored118 = kFrameMessageBase + 118,
    PictureInput = kFrameMessageBase + 119,        // kind / input code
    SaveSlotTemplate = kFrameMessageBase + 200,    // - / slot
    LoadSlotTemplate = kFrameMessageBase + 201,    // - / slot
    Synchronise = kFrameMessageBase + 300,         // - / start-up flag
    SeamlessCheck = kFrameMessageBase + 301,       // - / value
    Picture1WholeArea = kFrameMessageBase + 302,   // - / value
    LabelPicture = kFrameMessageBase + 303,        // picture selector / input code
    PointLocateClosed = kFrameMessageBase + 304,   // flag / -
    SelectBox = kFrameMessageBase + 305,           // column / row
    RefreshAllWithSends = kFrameMessageBase + 408, // -
    PaneOpened = kFrameMessageBase + 519,          // stack / pane
    PaneRefreshNow = kFrameMessageBase + 520,      // stack / pane
    DisplayChange = 0x007E,                        // the display settings changed
};

constexpr int messageNumber(FrameMessage m) {
    return static_cast<int>(m);
}

// PictureInput's first parameter.
enum class PictureInputKind : int {
    Picture1 = 1,
    Picture2 = 2,
    Picture2Labelled = 4, // picture 2, and the drawing names a known input on it
};
// Picture 2's selector offers inputs up to this code.
inline constexpr std::uint8_t kPicture2HighestInput = 13;

// LayoutFlag's first parameter.
enum class LayoutFlagKind : int {
    Picture1OnTop = 1,
    Picture2Hollow = 2,
    Picture1Hollow = 3,
};

constexpr long long kindNumber(PictureInputKind k) {
    return static_cast<long long>(k);
}
constexpr long long kindNumber(LayoutFlagKind k) {
    return static_cast<long long>(k);
}

// How the messages carry a picture: PictureQualityInput and RefreshOutputAndDual by its number
// (1, 2); LabelPicture by a selector that is non-zero for picture 1.
constexpr long long pictureNumber(Picture p) {
    return p == Picture::One ? 1 : 2;
}
constexpr long long labelSelector(Picture p) {
    return p == Picture::One ? 1 : 0;
}
constexpr Picture labelledPicture(long long selector) {
    return selector != 0 ? Picture::One : Picture::Two;
}

} // namespace korvane::ui
