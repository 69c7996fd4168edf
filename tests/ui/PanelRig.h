#pragma once

#include "ScriptedPresenter.h"
#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/Frame.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "core/store/Settings.h"
#include "sim/SimPtyServer.h"
#include "support/RecordingSleeper.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"
#include "ui/device/UiMessageSink.h"
#include "ui/panels/PanelContext.h"

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

namespace korvane::ui::test {

// Types into an edit and leaves it by Enter or, when `elsewhere` is given, by moving the focus
// there.
inline void typeInto(QLineEdit& edit, const QString& text, QWidget* elsewhere = nullptr) {
    edit.setFocus();
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClicks(&edit, text);
    if (elsewhere == nullptr) {
        QTest::keyClick(&edit, Qt::Key_Return);
    } else {
        elsewhere->setFocus();
    }
}

// One panel's surroundings: a link to the simulator on a real pseudo-terminal, the mirror,
// the facade, settings in a folder of their own and a presenter that answers from a script.
struct PanelRig {
    // Unknown to the processor: sent after an action, it marks the end of what the action
    // sent, since the line keeps the order.
    static constexpr std::uint8_t kFenceCode = 0x7E;

    QTemporaryDir home;
    sim::SimPtyServer server;
    ScriptedPresenter presenter;
    UiMessageSink sink{presenter};
    DeviceLink link;
    // The simulator answers at once: the processor's pacing pauses are noted and cut short.
    korvane::test::RecordingSleeper pacing;
    ParameterMirror mirror{};
    CommandFacade facade{link, mirror};
    Settings settings{std::filesystem::path(home.path().toStdString()) / "korvaneapp.ini"};
    DeviceGate gate;
    BusyRunner busy{link, gate};
    PanelContext context{link, mirror, facade, settings, presenter, &sink, busy};

    // The link's transports may be made otherwise, for tests that watch them.
    explicit PanelRig(DeviceLink::TransportMakers makers = DeviceLink::realTransports())
        : link(std::move(makers), nullptr, &sink) {
        pacing.attach(link);
        applyMirrorDefaults(mirror, kDefaultResolution);
        link.setSendSwitch(1);
    }
    ~PanelRig() {
        link.close();
        server.stop();
    }

    SerialSettings serialSettings() const { return {server.devicePath(), 1, 1, 115200}; }
    // Starts the simulator and opens the link to it.
    bool connect() {
        server.start();
        return link.configureSerialAndOpen(serialSettings()) == 1;
    }

    std::size_t mark() const { return server.receivedFrames().size(); }

    // Every frame the simulator received from `from` up to the fence sent now, as
    // "code d0 .. d7" in hex: nothing sent before the fence is still on the way then.
    QStringList sentSince(std::size_t from) {
        frame::DataBytes none = frame::padData();
        link.write(static_cast<CommandCode>(kFenceCode), none);
        QStringList out;
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            const auto frames = server.receivedFrames();
            for (std::size_t i = from; i < frames.size(); ++i) {
                if (frames[i][frame::kCodeOffset] == kFenceCode) {
                    for (std::size_t j = from; j < i; ++j) {
                        out << describe(frames[j]);
                    }
                    return out;
                }
            }
            QTest::qWait(2);
        }
        return {QStringLiteral("fence never arrived")};
    }

    static QString describe(const frame::CommandFrame& f) {
        QStringList parts;
        for (std::size_t i = frame::kCodeOffset; i < frame::kChecksumOffset; ++i) {
            parts << QStringLiteral("%1").arg(f[i], 2, 16, QLatin1Char('0')).toUpper();
        }
        return parts.join(QLatin1Char(' '));
    }
};

} // namespace korvane::ui::test
