#pragma once

namespace korvane::ui {

// One long operation run by the busy dialog on its worker thread; true for success.
class BackgroundTask {
public:
    virtual ~BackgroundTask() = default;
    virtual bool run() = 0;
};

} // namespace korvane::ui
