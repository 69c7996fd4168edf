#pragma once

#include "ScriptedPresenter.h"
#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/Frame.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "core/store/Settings.h"
#include "sim/SimPtyServer.h"
#include "support/Hex.h"
#include "support/LineFence.h"
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
#include <span>

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
    // mark() once everything sent so far has arrived (a fence sent now has): what an earlier
    // action sent cannot turn up after it.
    std::size_t settledMark() {
        sentSince(mark());
        return mark();
    }

    // Every frame the simulator received from `from` up to the fence sent now, as
    // "code d0 .. d7" in hex: nothing sent before the fence is still on the way then.
    QStringList sentSince(std::size_t from) {
        frame::DataBytes none = frame::padData();
        link.write(static_cast<CommandCode>(korvane::test::kFenceCode), none);
        QStringList out;
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            const auto frames = server.receivedFrames();
            for (std::size_t i = from; i < frames.size(); ++i) {
                if (korvane::test::isFence(frames[i])) {
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

    // The command code and the data bytes, as "code d0 .. d7" in hex.
    static QString describe(const frame::CommandFrame& f) {
        const auto codeAndData =
            std::span(f).subspan(frame::kCodeOffset, frame::kChecksumOffset - frame::kCodeOffset);
        return QString::fromStdString(korvane::test::hex(codeAndData));
    }
};

} // namespace korvane::ui::test
