#pragma once

#include "ScriptedPresenter.h"
#include "core/commands/CommandFacade.h"
#include "core/link/DeviceLink.h"
#include "core/link/Frame.h"
#include "core/link/ParameterMirror.h"
#include "core/store/Settings.h"
#include "support/MemoryTransport.h"
#include "support/RecordingMessenger.h"
#include "support/RecordingSleeper.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"
#include "ui/panels/PanelContext.h"
#include "ui/wall/CentrePane.h"
#include "ui/wall/WallView.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <mutex>
#include <vector>

namespace korvane::ui::test {

// The centre pane on a 1920 × 1080 output in an 800 × 500 pane: the drawing is 800 × 450 at
// 2.4 output pixels per control pixel. Picture 2 sits at (480, 270) 960 × 540, which the
// drawing shows at (200, 112) to (600, 338).
struct WallRig {
    static constexpr std::uint8_t kCode = 11;
    QTemporaryDir home;
    // Every frame the program writes; nothing answers.
    std::shared_ptr<korvane::test::MemoryLine> line = std::make_shared<korvane::test::MemoryLine>();
    ScriptedPresenter presenter;
    std::unique_ptr<DeviceLink> linkHolder;
    DeviceLink& link;
    // The processor's pacing pauses, noted and cut short.
    korvane::test::RecordingSleeper pacing;
    ParameterMirror mirror{};
    CommandFacade facade{link, mirror};
    Settings settings{std::filesystem::path(home.path().toStdString()) / "korvaneapp.ini"};
    DeviceGate gate;
    BusyRunner busy{link, gate};
    PanelContext context{link, mirror, facade, settings, presenter, nullptr, busy};
    std::unique_ptr<CentrePane> pane;
    bool exposed = false;

    // Over the real serial code path when `serial`, else into `frames`.
    explicit WallRig(bool serial = false)
        : linkHolder(serial ? std::make_unique<DeviceLink>()
                            : std::make_unique<DeviceLink>(
                                  std::make_unique<korvane::test::MemoryTransport>(line), nullptr,
                                  nullptr)),
          link(*linkHolder) {
        applyMirrorDefaults(mirror, kCode);
        mirror.pipOn = 1;
        mirror.p2X = 480;
        mirror.p2Y = 270;
        mirror.p2Width = 960;
        mirror.p2Height = 540;
        link.setSendSwitch(1);
        pacing.attach(link);
    }

    // Builds and shows the pane at its size and fits the drawing to the mirror.
    WallView& show(QSize size = {800, 500}) {
        pane = std::make_unique<CentrePane>(context);
        pane->resize(size);
        pane->show();
        exposed = QTest::qWaitForWindowExposed(pane.get());
        pane->refreshFromMirror();
        return pane->wallView();
    }
    WallView& control() { return pane->wallView(); }

    // Press, one move, release: the operator's drag.
    void drag(QPoint from, QPoint to) {
        QWidget* w = &control();
        QTest::mousePress(w, Qt::LeftButton, {}, from);
        QTest::mouseMove(w, to);
        QTest::mouseRelease(w, Qt::LeftButton, {}, to);
    }
};

} // namespace korvane::ui::test
