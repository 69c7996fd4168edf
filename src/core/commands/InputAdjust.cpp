#include "core/commands/InputAdjust.h"

namespace korvane {

int InputAdjust::run() {
    if (!linkOpen()) {
        return 0;
    }
    CommandFacade& f = ctx_.facade;
    if (picture_ == Picture::One) {
        automatic_ ? f.setPicture1InputWindow(window_)
                   : f.setPicture1InputWindow(window_, horizontalLimit_, verticalLimit_);
    } else {
        automatic_ ? f.setPicture2InputWindow(window_)
                   : f.setPicture2InputWindow(window_, horizontalLimit_, verticalLimit_);
    }
    return 1;
}

} // namespace korvane
