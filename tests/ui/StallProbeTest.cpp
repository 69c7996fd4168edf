#include "StallProbe.h"

#include "FrameRig.h"
#include "support/TempFolder.h"
#include "ui/frame/MenuCommand.h"
#include "ui/panels/PanelFactory.h"

#include <QLabel>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

class StallProbeTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

    void measure(FrameRig& rig);

private slots:
    void uiKeepsRunningDuringStartUpAndTemplateRecall();
    void uiKeepsRunningWithTheProgramsPanels();
};

// Every exchange runs on a worker, so the event loop never stalls on the processor: not
// during the start-up synchronisation (about twelve paced reads) nor a device template recall
// (two 2 s pauses and a full read-back).
void StallProbeTest::uiKeepsRunningDuringStartUpAndTemplateRecall() {
    FrameRig rig;
    measure(rig);
}

// The same with the real panels, which redraw and read back as the operator's program does.
void StallProbeTest::uiKeepsRunningWithTheProgramsPanels() {
    FrameRig rig;
    PanelFactory panels;
    rig.realPanels = &panels;
    measure(rig);
}

void StallProbeTest::measure(FrameRig& rig) {
    // Every protocol pause is taken through the link's sleeper: one taken on the window's thread
    // is the stall this test is about, however fast or loaded the machine happens to be.
    std::atomic<int> pausesOnUiThread{0};
    std::atomic<int> pauses{0};
    QThread* const uiThread = QThread::currentThread();
    rig.link.setSleeper([&](std::chrono::milliseconds d) {
        ++pauses;
        if (QThread::currentThread() == uiThread) {
            ++pausesOnUiThread;
        }
        std::this_thread::sleep_for(d);
    });
    QVERIFY(rig.connect());
    {
        // Fonts and styles load on first use; that is start-up work, not a wait on the device.
        QLabel warmUp(QStringLiteral("画质调整 Korvane"));
        warmUp.show();
        QVERIFY(QTest::qWaitForWindowExposed(&warmUp));
    }
    MainWindow& frame = rig.makeFrame(false); // its start-up synchronisation is posted
    frame.resize(1200, 800);

    StallProbe probe;
    probe.start();
    frame.show();
    QVERIFY(rig.waitHandled(messageNumber(FrameMessage::Synchronise)));
    const qint64 startUp = probe.stop();
    const int startUpTicks = probe.ticks();

    frame.runCommand(menucmd::kStoreTemplateFirst);
    probe.start();
    frame.runCommand(menucmd::kRecallTemplateFirst);
    const qint64 recall = probe.stop();
    const int recallTicks = probe.ticks();

    // How long the loop stalled is a figure for the responsiveness benchmark, not a verdict here.
    qInfo("stall probe: start-up synchronisation worst %lld ms (%d ticks), template recall "
          "worst %lld ms (%d ticks)",
          startUp, startUpTicks, recall, recallTicks);
    QVERIFY(rig.readsSince(0).size() >= 2 * kSynchroniseAllReads.size());
    QVERIFY(startUpTicks > 0 && recallTicks > 0); // the probe ran while the work did
    QVERIFY(pauses.load() > 0);
    QCOMPARE(pausesOnUiThread.load(), 0);
}

QTEST_MAIN(StallProbeTest)
#include "StallProbeTest.moc"
