#pragma once

#include <ostream>
#include <string_view>

namespace korvane {
class DeviceLink;
struct ParameterMirror;
} // namespace korvane

namespace korvane::ctl {

// The parts of the processor's state korvanectl prints after reading them, one "Name = value"
// line per field. Picture-quality names are those SetPictureQuality takes, so a printed line can
// be sent back as it is.
enum class MirrorGroup {
    Main,           // read type 0: output resolution, picture quality with gamma, sound, freeze
    PictureQuality, // mirror indices 0..13
    Gains,          // red, green, blue gain
    Picture1Input,  // window and capture mode, with the limits of the last type-1 reply
    Picture2Input,  // window, with the limits of the last type-2 reply
    Picture1Output, // window and input source
    Picture2,       // input source, PIP, transparency, auto switch, window
    Overlay,        // the colour-key fields of read type 4
    Fade,
    SwitchState,
    InputSettings, // the last type-12 payload; nothing of it is kept in the mirror
    DeviceInfo,
    Identity, // the last type-8 payload
    Clock,
    AudioPorts,
    PlanHeader,
};

void printGroup(std::ostream& out, MirrorGroup group, const ParameterMirror& m,
                const DeviceLink& link);

void printLine(std::ostream& out, std::string_view name, std::string_view value);

} // namespace korvane::ctl
