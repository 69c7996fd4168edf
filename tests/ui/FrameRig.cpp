#include "FrameRig.h"

#include "core/link/Frame.h"
#include "core/link/ResolutionTable.h"
#include "support/LineFence.h"

#include <QDeadlineTimer>
#include <QTest>

namespace korvane::ui::test {

FrameRig::FrameRig() {
    pacing.attach(link);
    applyMirrorDefaults(mirror, kDefaultResolution);
    link.setSendSwitch(1);
}

FrameRig::~FrameRig() {
    frame.reset();
    link.close();
    server.stop();
}

std::filesystem::path FrameRig::settingsFile(const QTemporaryDir& dir) {
    return std::filesystem::path(dir.path().toStdString()) / "korvaneapp.ini";
}

bool FrameRig::connect() {
    server.start();
    return link.configureSerialAndOpen({server.devicePath(), 1, 1, 115200}) == 1;
}

MainWindow& FrameRig::makeFrame(bool awaitStartUp) {
    FrameServices services{link,
                           mirror,
                           facade,
                           settings,
                           presenter,
                           &sink,
                           busy,
                           realPanels != nullptr ? *realPanels : panels,
                           [this] { ++restarts; },
                           {},
                           {}};
    frame = std::make_unique<MainWindow>(services);
    QObject::connect(frame.get(), &MainWindow::messageHandled,
                     [this](int number, int result) { handled.emplace_back(number, result); });
    if (awaitStartUp && !waitHandled(messageNumber(FrameMessage::Synchronise))) {
        // Every check after this would look at a frame still starting up.
        QTest::qFail("the start-up synchronisation never finished", __FILE__, __LINE__);
    }
    return *frame;
}

std::size_t FrameRig::handledCount(int number) const {
    std::size_t n = 0;
    for (const auto& h : handled) {
        n += h.first == number ? 1 : 0;
    }
    return n;
}

bool FrameRig::waitHandled(int number, std::size_t count, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (handledCount(number) < count) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}

bool FrameRig::settle(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    const auto idle = [this] {
        return !busy.gate().busy() && busy.gate().waiting() == 0 &&
               (frame == nullptr || !frame->state().pendingRefresh.pending);
    };
    for (;;) {
        const std::size_t handledBefore = handled.size();
        const bool idleBefore = idle();
        if (!deliverPosted(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
        if (idleBefore && idle() && handled.size() == handledBefore) {
            break;
        }
    }
    if (link.isOpen() == 0) {
        return true; // nothing can be on its way
    }
    const std::size_t before = server.receivedFrames().size();
    const int wasOn = link.sendSwitch();
    link.setSendSwitch(1);
    const bool written =
        link.write(static_cast<CommandCode>(korvane::test::kFenceCode), frame::padData()) == 1;
    link.setSendSwitch(wasOn);
    while (written && !deadline.hasExpired()) {
        const auto frames = server.receivedFrames();
        for (std::size_t i = before; i < frames.size(); ++i) {
            if (korvane::test::isFence(frames[i])) {
                return true;
            }
        }
        QTest::qWait(1);
    }
    return false;
}

std::vector<frame::CommandFrame> FrameRig::sent() const {
    return korvane::test::withoutFences(server.receivedFrames());
}

std::vector<std::uint8_t> FrameRig::readsSince(std::size_t from) const {
    std::vector<std::uint8_t> types;
    const auto frames = sent();
    for (std::size_t i = from; i < frames.size(); ++i) {
        if (frames[i][frame::kCodeOffset] == 0) {
            types.push_back(frames[i][frame::kDataOffset]);
        }
    }
    return types;
}

std::vector<std::uint8_t> FrameRig::codesSince(std::size_t from) const {
    std::vector<std::uint8_t> codes;
    const auto frames = sent();
    for (std::size_t i = from; i < frames.size(); ++i) {
        codes.push_back(frames[i][frame::kCodeOffset]);
    }
    return codes;
}

} // namespace korvane::ui::test
