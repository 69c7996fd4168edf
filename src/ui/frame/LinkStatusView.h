#pragma once

#include "core/link/LinkStatus.h"

#include <QObject>
#include <QString>
#include <functional>

class QLabel;

namespace korvane {
class DeviceLink;
}

namespace korvane::ui {

class BusyRunner;
class FrameSynchroniser;
struct PanelSet;

// Shows the link's state to the operator: a field on the status bar, the communication
// panel's online picture and one status line per loss (what was lost and why, and once that
// commands are not being sent). When the link comes back it runs the start-up reads again
// (identity, device information, synchronise-all) so that every panel shows the processor's
// real state, then says so.
class LinkStatusView : public QObject {
    Q_OBJECT
public:
    LinkStatusView(DeviceLink& link, BusyRunner& busy, PanelSet& panels,
                   FrameSynchroniser& synchroniser, QLabel& field,
                   std::function<void(const QString&)> say, QObject* parent = nullptr);
    ~LinkStatusView() override;

    static QString fieldText(const LinkStatus& s);
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
    QLabel& field_;
    std::function<void(const QString&)> say_;
    int listener_ = 0;
    LinkStatus last_;
};

} // namespace korvane::ui
