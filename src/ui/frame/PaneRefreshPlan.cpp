#include "ui/frame/PaneRefreshPlan.h"

#include "core/link/ParameterMirror.h"
#include "core/link/ReadTypes.h"

#include <array>

namespace korvane::ui {

namespace {

using Path = PaneRefreshPath;
using Payload = std::span<const std::uint8_t>;

// Unpacks into a copy, so that only the named fields reach the mirror.
ParameterMirror unpackedMain(const ParameterMirror& m, Payload p) {
    ParameterMirror fresh = m;
    unpackMain(fresh, p);
    return fresh;
}

void wholeMain(ParameterMirror& m, Payload p, Path) {
    unpackMain(m, p);
}
void freezeAreaOnly(ParameterMirror& m, Payload p, Path) {
    m.freezeArea = unpackedMain(m, p).freezeArea;
}
void audioOnly(ParameterMirror& m, Payload p, Path) {
    const ParameterMirror f = unpackedMain(m, p);
    m.soundOn = f.soundOn;
    m.volume = f.volume;
}
void resolutionAndSeamless(ParameterMirror& m, Payload p, Path path) {
    const ParameterMirror f = unpackedMain(m, p);
    m.pq[pq::kOutputResolution] = f.pq[pq::kOutputResolution];
    m.seamless = f.seamless;
    if (path == Path::Timer) {
        m.soundOn = f.soundOn;
        m.volume = f.volume;
    }
}
void seamlessOnly(ParameterMirror& m, Payload p, Path) {
    m.seamless = unpackedMain(m, p).seamless;
}
template <bool (*Unpack)(ParameterMirror&, Payload)>
void whole(ParameterMirror& m, Payload p, Path) {
    Unpack(m, p);
}

constexpr std::array<PaneRead, 1> kPictureQuality{{{readtype::kMain, wholeMain}}};
constexpr std::array<PaneRead, 3> kCapture{{
    {readtype::kMain, freezeAreaOnly},
    {readtype::kPicture1Input, whole<unpackPicture1Input>},
    {readtype::kPicture2Input, whole<unpackPicture2Input>},
}};
constexpr std::array<PaneRead, 2> kSound{{
    {readtype::kMain, audioOnly},
    {readtype::kAudioPorts, whole<unpackAudioPorts>},
}};
constexpr std::array<PaneRead, 2> kOutput{{
    {readtype::kMain, resolutionAndSeamless},
    {readtype::kPicture1Output, whole<unpackPicture1Output>},
}};
constexpr std::array<PaneRead, 3> kDualPicture{{
    {readtype::kMain, seamlessOnly},
    {readtype::kPicture2, whole<unpackPicture2>},
    {readtype::kFade, whole<unpackFade>},
}};

} // namespace

std::span<const PaneRead> paneRefreshReads(int stack, int pane) {
    if (stack == 0) {
        switch (pane) {
        case 0:
            return kPictureQuality;
        case 1:
            return kCapture;
        case 2:
            return kSound;
        default:
            return {};
        }
    }
    if (stack == 1) {
        switch (pane) {
        case 0:
            return kOutput;
        case 1:
            return kDualPicture;
        default:
            return {}; // the communication pane reads nothing
        }
    }
    return {};
}

} // namespace korvane::ui
