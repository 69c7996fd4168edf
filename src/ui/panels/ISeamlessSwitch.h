#pragma once

namespace korvane::ui {

// What the input bar asks of the dual-picture panel: the seamless switch and picture 2 exclude
// each other, and picture 2's panel hears about picture 1's input changes. The dual-picture
// panel implements it; the panel factory hands it to the bar.
class ISeamlessSwitch {
public:
    virtual ~ISeamlessSwitch() = default;
    // Picture 2's on/off choice is offered only while seamless switching is off.
    virtual void enablePicture2Switch(bool enable) = 0;
    // Seamless switching was ticked: picture 2's switch shows off, without a command.
    virtual void forcePicture2Off() = 0;
    // After an input button's channel-switch follow-up; the bar passes (1, 0).
    virtual void inputChanged(int picture, int flag) = 0;
};

} // namespace korvane::ui
