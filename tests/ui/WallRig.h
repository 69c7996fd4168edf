#pragma once

#include "ScriptedPresenter.h"
#include "core/commands/CommandFacade.h"
#include "core/link/ByteTransport.h"
#include "core/link/DeviceLink.h"
#include "core/link/Frame.h"
#include "core/link/ParameterMirror.h"
#include "core/store/Settings.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/panels/PanelContext.h"
#include "ui/wall/CentrePane.h"
#include "ui/wall/WallView.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <mutex>
#include <vector>

namespace korvane::ui::test {

// Keeps every frame the program writes; nothing answers.
class RecordingTransport : public ByteTransport {
public:
    explicit RecordingTransport(std::shared_ptr<std::vector<frame::CommandFrame>> frames)
        : frames_(std::move(frames)) {}
    int open() override { return 1; }
    void close() override {}
    int isOpen() const override { return 1; }
    int writeAll(const std::uint8_t* bytes, std::size_t length) override {
        frame::CommandFrame f{};
        std::copy_n(bytes, std::min(length, f.size()), f.begin());
        frames_->push_back(f);
        return static_cast<int>(length);
    }
    int readAll(std::uint8_t*, std::size_t) override { return -1; }
    int purgeInput() override { return 1; }

private:
    std::shared_ptr<std::vector<frame::CommandFrame>> frames_;
};

// Takes what the pane asks of the frame.
class RecordingFrame : public IFrameMessenger {
public:
    std::vector<int> posted;
    void post(FrameMessage m, long long, long long) override { posted.push_back(messageNumber(m)); }
    int send(FrameMessage m, long long, long long) override {
        posted.push_back(messageNumber(m));
        return 1;
    }
    void openPane(int, int) override {}
    void reannounceOpenPane(int) override {}
    std::uint8_t currentResolution() const override { return code; }
    void setCurrentResolution(std::uint8_t c) override { code = c; }
    std::uint8_t code = 0;
};

// The centre pane on a 1920 × 1080 output in an 800 × 500 pane: the drawing is 800 × 450 at
// 2.4 output pixels per control pixel. Picture 2 sits at (480, 270) 960 × 540, which the
// drawing shows at (200, 112) to (600, 338).
struct WallRig {
    static constexpr std::uint8_t kCode = 11;
    QTemporaryDir home;
    std::shared_ptr<std::vector<frame::CommandFrame>> frames =
        std::make_shared<std::vector<frame::CommandFrame>>();
    ScriptedPresenter presenter;
    std::unique_ptr<DeviceLink> linkHolder;
    DeviceLink& link;
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
                                  std::make_unique<RecordingTransport>(frames), nullptr, nullptr)),
          link(*linkHolder) {
        applyMirrorDefaults(mirror, kCode);
        mirror.pipOn = 1;
        mirror.p2X = 480;
        mirror.p2Y = 270;
        mirror.p2Width = 960;
        mirror.p2Height = 540;
        link.setSendSwitch(1);
        if (!serial) {
            link.setSleeper([](std::chrono::milliseconds) {});
        }
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
