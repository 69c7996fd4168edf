#pragma once

#include <QObject>
#include <deque>
#include <functional>

namespace korvane::ui {

// Knows whether a device operation is running (a busy dialog or an unseen wait). Work that
// must not overlap one, such as a posted synchronisation or a pane refresh, is held back until
// the device is free again instead of starting a second exchange from a nested event loop.
class DeviceGate : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    bool busy() const { return depth_ > 0; }
    void enter();
    void leave();
    // Runs `work` now when the device is free, else once it is.
    void whenIdle(std::function<void()> work);
    std::size_t waiting() const { return waiting_.size(); }

    // Marks the device busy for a scope.
    class Hold {
    public:
        explicit Hold(DeviceGate& gate) : gate_(gate) { gate_.enter(); }
        ~Hold() { gate_.leave(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        DeviceGate& gate_;
    };

private:
    void drain();

    int depth_ = 0;
    bool drainPosted_ = false;
    std::deque<std::function<void()>> waiting_;
};

} // namespace korvane::ui
