#pragma once

class QWidget;

namespace korvane::ui {

class IFrameMessenger;

// What the main frame needs of every panel it hosts.
class IPanel {
public:
    virtual ~IPanel() = default;
    virtual QWidget* widget() = 0;
    // Redraws every control from the parameter mirror. The frame calls it with the send switch
    // off, so control notifications raised by the redraw send nothing.
    virtual void refreshFromMirror() = 0;
    // The frame hands itself over when it wires the panes; null until then.
    virtual void attachFrame(IFrameMessenger* frame) { (void)frame; }
};

} // namespace korvane::ui
