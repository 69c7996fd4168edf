#pragma once

#include "core/link/LinkStatus.h"
#include "remote/RemoteAction.h"

#include <QJsonObject>
#include <QObject>
#include <functional>

namespace korvane {
class DeviceLink;
}

namespace korvane::remote {

// The processor as the remote-control layer reaches it: the program that hosts the layer runs
// each action through its own one-at-a-time device runner, on the same path as the operator's.
class RemoteDevice : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const RemoteReply&)>;
    using QObject::QObject;
    ~RemoteDevice() override;

    // True while any device work runs or waits (the operator's, a schedule's or a remote one).
    virtual bool busy() const = 0;
    // Starts `action`; `done` comes later on this object's thread. Called only while not busy.
    virtual void run(const RemoteAction& action, Done done) = 0;
    // The mirror (see RemoteState). Called only while not busy.
    virtual QJsonObject state() const = 0;
    // The link's state now; any thread may change it, so it is read, never kept.
    LinkStatus linkStatus() const;

signals:
    // The state may have changed by other means than a remote action (the operator, a schedule,
    // the link).
    void changed();
    // Every state the link announced, in order, on this object's thread.
    void linkChanged(const korvane::LinkStatus& status);

protected:
    // Follows `link` (which outlives this object): its announcements become linkChanged.
    void followLink(DeviceLink& link);

private:
    DeviceLink* link_ = nullptr;
    int listener_ = 0;
};

} // namespace korvane::remote
