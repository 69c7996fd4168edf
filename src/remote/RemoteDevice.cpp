#include "remote/RemoteDevice.h"

#include "core/link/DeviceLink.h"

#include <QMetaObject>

namespace korvane::remote {

RemoteDevice::~RemoteDevice() {
    if (link_ != nullptr) {
        link_->removeLinkListener(listener_);
    }
}

void RemoteDevice::followLink(DeviceLink& link) {
    link_ = &link;
    // The link tells on whichever thread changed it; a queued call keeps the order it told in.
    listener_ = link.addLinkListener([this](const LinkStatus& s) {
        QMetaObject::invokeMethod(
            this, [this, s] { emit linkChanged(s); }, Qt::QueuedConnection);
    });
}

LinkStatus RemoteDevice::linkStatus() const {
    return link_ != nullptr ? link_->linkStatus() : LinkStatus{};
}

} // namespace korvane::remote
