#include "FrameRig.h"
#include "core/link/Frame.h"
#include "support/TempFolder.h"
#include "ui/dialogs/SerialPortChoice.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/PanelFactory.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

// The request types among `frames` from `from` on.
std::vector<std::uint8_t> readTypes(const std::vector<frame::CommandFrame>& frames,
                                    std::size_t from) {
    std::vector<std::uint8_t> types;
    for (std::size_t i = from; i < frames.size(); ++i) {
        if (frames[i][frame::kCodeOffset] == 0) {
            types.push_back(frames[i][frame::kDataOffset]);
        }
    }
    return types;
}

// The result of the last synchronisation the frame handled.
int lastSynchroniseResult(const FrameRig& rig) {
    const int number = messageNumber(FrameMessage::Synchronise);
    const auto it = std::find_if(rig.handled.rbegin(), rig.handled.rend(),
                                 [number](const auto& h) { return h.first == number; });
    return it != rig.handled.rend() ? it->second : -1;
}

bool waitUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(30000);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}

} // namespace

// The operator's program with its own panels, connected through a fixed device path (a symbolic
// link, as a udev rule would give) to a simulated processor that can be unplugged.
class UnplugTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void unplugDuringSynchroniseThenReopenFromTheCommunicationPane();
};

// The line goes dead in the middle of a synchronisation started from the communication pane:
// the read that finds it dead fails with its own message, no later read goes out, the mirror
// keeps what it had and the program is free again. A new processor then appears at the same
// path; "关" and "开" in the pane reopen the port and the next synchronisation reads it.
void UnplugTest::unplugDuringSynchroniseThenReopenFromTheCommunicationPane() {
    FrameRig rig;
    PanelFactory panels;
    rig.realPanels = &panels;
    const std::filesystem::path device =
        std::filesystem::path(rig.home.path().toStdString()) / "ttyKORVANE";
    rig.settings.writeSerialSettings({device.string(), portNumberFor(device.string()), 1, 115200});

    sim::SimPtyServer first(sim::SimModel{}, device);
    first.start();
    QCOMPARE(rig.link.configureSerialAndOpen(rig.settings.readSerialSettings()), 1);
    MainWindow& frame = rig.makeFrame(false);
    frame.show();
    QVERIFY(rig.waitHandled(messageNumber(FrameMessage::Synchronise)));
    auto* comm = frame.findChild<CommunicationPanel*>();
    QVERIFY(comm != nullptr);
    QVERIFY(waitUntil([&] { return !rig.busy.gate().busy() && rig.busy.gate().waiting() == 0; }));
    QVERIFY(rig.presenter.informed.isEmpty());

    // The pane's status query (probe, device information), then the synchronisation's identity
    // and device information reads and synchronise-all's reads of types 0, 1 and 2 are
    // answered; then the processor is gone.
    const std::size_t from = first.receivedFrames().size();
    sim::SimFaults unplug;
    unplug.hangUpAfter = from + 7;
    first.setFaults(unplug);
    ParameterMirror before = rig.mirror;
    QElapsedTimer clock;
    clock.start();
    comm->synchroniseButton().click();
    QVERIFY(rig.waitHandled(messageNumber(FrameMessage::Synchronise), 2));
    qInfo("the failed synchronisation ended after %lld ms", clock.elapsed());
    QCOMPARE(lastSynchroniseResult(rig), 0);
    QCOMPARE(rig.presenter.informed, QStringList{QStringLiteral("同步画面1输出参数失败!")});
    QVERIFY(first.hungUp());
    QCOMPARE(readTypes(first.receivedFrames(), from),
             (std::vector<std::uint8_t>{8, 13, 8, 13, 0, 1, 2}));
    QVERIFY(std::memcmp(&before, &rig.mirror, sizeof before) == 0);
    QVERIFY(!rig.busy.gate().busy());
    QCOMPARE(rig.busy.gate().waiting(), std::size_t{0});

    first.stop();
    QVERIFY(!std::filesystem::exists(std::filesystem::symlink_status(device)));

    // The new processor differs from the old one in its brightness.
    sim::SimPtyServer second(sim::SimModel{}, device);
    second.start();
    {
        DeviceLink setter;
        ParameterMirror scratch{};
        CommandFacade facade(setter, scratch);
        setter.setSendSwitch(1);
        QCOMPARE(setter.configureSerialAndOpen({second.devicePath(), 999, 1, 115200}), 1);
        facade.setPictureQuality(PictureQualityItem::Brightness, 77);
        QVERIFY(waitUntil([&] { return second.receivedFrames().size() == 1; }));
    }
    QVERIFY(rig.mirror.pq[pq::kBrightness] != 77);

    comm->closeRadio().click();
    QCOMPARE(rig.link.isOpen(), 0);
    comm->openRadio().click();
    QCOMPARE(rig.link.isOpen(), 1);
    QVERIFY(comm->openRadio().isChecked());
    QVERIFY(comm->answeringShown());

    const std::size_t handled = rig.handledCount(messageNumber(FrameMessage::Synchronise));
    const std::size_t secondFrom = second.receivedFrames().size();
    comm->synchroniseButton().click();
    QVERIFY(rig.waitHandled(messageNumber(FrameMessage::Synchronise), handled + 1));
    QCOMPARE(lastSynchroniseResult(rig), 1);
    const auto types = readTypes(second.receivedFrames(), secondFrom);
    QVERIFY(std::search(types.begin(), types.end(), kSynchroniseAllReads.begin(),
                        kSynchroniseAllReads.end()) != types.end());
    QCOMPARE(rig.mirror.pq[pq::kBrightness], std::uint8_t{77});
    QCOMPARE(rig.presenter.informed.size(), 1);
}

QTEST_MAIN(UnplugTest)
#include "UnplugTest.moc"
