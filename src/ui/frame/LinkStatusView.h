#pragma once

#include "core/link/LinkStatus.h"

#include <QObject>
#include <QString>
#include <functional>

namespace korvane {
class DeviceLink;
}

namespace korvane::ui {

class BusyRunner;
class FrameSynchroniser;
class LinkStatusField;
struct PanelSet;

// Shows the link's state to the operator: the link field on the status bar, the communication
// panel's online picture and one status line per loss (what was lost and why, and once that
// commands are not being sent). When the link comes back it runs the start-up reads again
// (identity, device information, synchronise-all) so that every panel shows the processor's
// real state, then says so.
class LinkStatusView : public QObject {
    Q_OBJECT
public:
    LinkStatusView(DeviceLink& link, BusyRunner& busy, PanelSet& panels,
                   FrameSynchroniser& synchroniser, LinkStatusField& field,
                   std::function<void(const QString&)> say, QObject* parent = nullptr);
    ~LinkStatusView() override;

    // Where and why: "PATH (REASON)"; a device that could not be opened is named with the
    // reason the serial dialog gives (no such device, no permission, busy).
    static QString lossDetail(const LinkStatus& s);
    static QString lossText(const LinkStatus& s);
    static QString refusedText(const LinkStatus& s);
    static QString reconnectedText();

private:
    void show(const LinkStatus& s);
    void resynchronise();

    DeviceLink& link_;
    BusyRunner& busy_;
    PanelSet& panels_;
    FrameSynchroniser& synchroniser_;
    LinkStatusField& field_;
    std::function<void(const QString&)> say_;
    int listener_ = 0;
    LinkStatus last_;
};

} // namespace korvane::ui
