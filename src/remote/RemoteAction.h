#pragma once

#include "tools/ArgRule.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {
struct OperationContext;
}

namespace korvane::ctl {
struct CatalogueEntry;
struct QualityItemName;
} // namespace korvane::ctl

namespace korvane::remote {

// How a remote request ended; the numbers are the HTTP status each outcome is answered with.
enum class RemoteStatus {
    Ok = 200,
    BadRequest = 400,
    Unauthorized = 401,
    Forbidden = 403,
    NotFound = 404,
    LinkLost = 409,
    TooLarge = 413,
    Busy = 503,
};

struct RemoteReply {
    RemoteStatus status = RemoteStatus::Ok;
    std::string error;  // empty on success
    int retryAfter = 0; // seconds, with Busy

    bool ok() const { return status == RemoteStatus::Ok; }
    static RemoteReply failure(RemoteStatus s, std::string text) { return {s, std::move(text)}; }
};

// One thing a remote client asks the processor to do, already checked: every value is in range,
// so running it only has to send.
struct RemoteAction {
    enum class Kind {
        Recall,      // slot
        Store,       // slot
        SelectInput, // picture 1/2, value = input code
        Freeze,      // value 0/1
        FreezeArea,  // value 1 = full screen, 0 = partial
        Quality,     // quality item, value
        QualityStep, // quality item, value = signed step, clamped when run
        Volume,      // value
        Mute,        // value 1 = muted
        TestPattern, // value = pattern action
        Pip,         // value 0/1
        Sync,
        Command, // any catalogue command with its arguments
    };

    Kind kind = Kind::Sync;
    int slot = 0;
    int picture = 1;
    int value = 0;
    const ctl::QualityItemName* quality = nullptr;
    const ctl::CatalogueEntry* command = nullptr;
    ctl::ArgValues args;

    // Factory reset, template store, clock and plan writes always need the token.
    bool needsToken() const;
    // What the status bar says a remote client did ("recall template 3").
    std::string describe() const;
};

// The limits remote values are checked against.
namespace limits {
inline constexpr int kFirstSlot = 1;
inline constexpr int kLastSlot = 10;
inline constexpr int kMaxVolume = 100;
inline constexpr int kMaxSliderQuality = 100;
inline constexpr int kMaxByte = 255;
inline constexpr int kLastTestPattern = 72;
inline constexpr int kPatternDecrement = 128;
inline constexpr int kPatternIncrement = 129;
} // namespace limits

// Checked constructors; each gives the action or why the value is refused.
struct Checked {
    std::optional<RemoteAction> action;
    std::string error;
};
Checked slotAction(RemoteAction::Kind kind, long long slot);
// `input` is an input name ("HDMI", any case) or a code.
Checked inputAction(long long picture, std::string_view input);
Checked inputAction(long long picture, long long code);
Checked flagAction(RemoteAction::Kind kind, long long value);
Checked qualityAction(std::string_view item, std::optional<long long> value,
                      std::optional<long long> step);
Checked volumeAction(long long value);
Checked testPatternAction(long long pattern);
// A catalogue command by name with its arguments as text (numbers or names).
Checked commandAction(std::string_view name, const std::vector<std::string>& args);

// The highest value a picture-quality item takes (sliders 0..100, the rest a byte).
int qualityMaximum(const ctl::QualityItemName& item);

// Runs `action` through the core's operations on the calling thread (which must own the link for
// the time being). 1 for success; failures of the operations have gone to the context's sink.
int runOnCore(const OperationContext& ctx, const RemoteAction& action);

} // namespace korvane::remote
