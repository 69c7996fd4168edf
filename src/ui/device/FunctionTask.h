#pragma once

#include "ui/device/BackgroundTask.h"

#include <functional>
#include <utility>

namespace korvane::ui {

// A task made of a function, for the few steps that are no core operation.
class FunctionTask : public BackgroundTask {
public:
    explicit FunctionTask(std::function<bool()> f) : f_(std::move(f)) {}
    bool run() override { return f_(); }

private:
    std::function<bool()> f_;
};

} // namespace korvane::ui
