#pragma once

namespace korvane::ui {

// The communication panel's "自动更新" box, asked by the panels that switch inputs whether a
// switch is followed by a read-back of the processor.
class IAutoUpdateQuery {
public:
    virtual ~IAutoUpdateQuery() = default;
    virtual bool autoUpdate() = 0;
};

} // namespace korvane::ui
