#include "InputAdjustCommand.h"

#include "HexText.h"
#include "core/commands/InputAdjust.h"
#include "core/commands/ReadBack.h"
#include "core/link/DeviceLink.h"

namespace korvane::ctl {

namespace {
constexpr std::string_view kName = "input-adjust";
constexpr std::string_view kSynopsis = "PICTURE auto | PICTURE X Y W H";
constexpr std::string_view kAutomatic = "auto";

struct AdjustRequest {
    Picture picture = Picture::One;
    bool automatic = false;
    Rect window;
};

int runInputAdjust(const AdjustRequest& r, Session& s) {
    const bool one = r.picture == Picture::One;
    const auto kind = one ? ReadBackKind::Picture1Input : ReadBackKind::Picture2Input;
    if (ReadBack(s.context(), kind).run() == 0) {
        return kExitFailure;
    }
    const auto type = one ? readtype::kPicture1Input : readtype::kPicture2Input;
    const auto limits = inputWindowLimits(replyPayload(s.link.replyBuffer(type)));
    Rect window = r.window;
    if (r.automatic) {
        const int width = one ? s.mirror.p1InWidth : s.mirror.p2InWidth;
        const int height = one ? s.mirror.p1InHeight : s.mirror.p2InHeight;
        window = {0, 0, width, height};
    }
    const frame::CommandFrame before = s.link.commandFrame();
    if (InputAdjust(s.context(), r.picture, window, limits.horizontal, limits.vertical, r.automatic)
            .run() == 0) {
        return kExitFailure;
    }
    // The window goes out only when it fits the input; otherwise nothing was sent.
    if (s.link.commandFrame() == before) {
        s.err << "korvanectl: " << kName
              << ": not sent, the window does not fit within the input's " << limits.horizontal
              << " x " << limits.vertical << '\n';
        return kExitFailure;
    }
    s.out << hexBytes(s.link.commandFrame()) << '\n';
    return kExitOk;
}
} // namespace

Prepared prepareInputAdjust(std::span<const std::string> operands, LocalTime now) {
    if (operands.size() != 2 && operands.size() != 5) {
        return wrongArity(kName, kSynopsis);
    }
    ArgValues v;
    std::string error;
    if (!takeOperand(kName, numberArg("PICTURE", 1, 2), operands[0], now, v, error)) {
        return {{}, {}, error};
    }
    AdjustRequest r;
    r.picture = v[0] == 1 ? Picture::One : Picture::Two;
    if (operands.size() == 2) {
        if (operands[1] != kAutomatic) {
            return wrongArity(kName, kSynopsis);
        }
        r.automatic = true;
    } else {
        for (const auto& rule : {wordArg("X"), wordArg("Y"), wordArg("W"), wordArg("H")}) {
            const std::size_t at = v.size();
            if (!takeOperand(kName, rule, operands[at], now, v, error)) {
                return {{}, {}, error};
            }
        }
        r.window = {v[1], v[2], v[1] + v[3], v[2] + v[4]};
    }
    return {[r](Session& s) { return runInputAdjust(r, s); }, {}, {}};
}

} // namespace korvane::ctl
