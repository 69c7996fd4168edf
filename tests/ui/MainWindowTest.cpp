#include "FrameRig.h"
#include "core/link/Frame.h"
#include "core/link/ResolutionTable.h"
#include "core/schedule/ScheduleExecutor.h"
#include "support/RecordingMessenger.h"
#include "support/TempFolder.h"
#include "ui/device/BackgroundTask.h"
#include "ui/frame/FrameCallbacks.h"
#include "ui/frame/FrameTimers.h"
#include "ui/frame/MenuCommand.h"
#include "ui/frame/PaneHeaderButton.h"
#include "ui/frame/SidePaneStack.h"

#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cstring>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

QStringList refreshAll(int sendSwitch) {
    QStringList calls;
    for (const char* p : {"output", "dual", "sound", "quality", "capture"}) {
        calls << QStringLiteral("%1.refresh sw=%2").arg(QLatin1String(p)).arg(sendSwitch);
    }
    calls << QStringLiteral("inputBar.refresh quiet=0 sw=%1").arg(sendSwitch)
          << QStringLiteral("centre.refresh sw=%1").arg(sendSwitch);
    return calls;
}

QByteArray bytes(const std::vector<std::uint8_t>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;
    std::unique_ptr<FrameRig> shared_;
    QByteArray sharedFor_;

    // One frame for every row of a data-driven test, so that its start-up runs once; each row
    // looks only at what happened after its own start.
    FrameRig* sharedRig() {
        const QByteArray function(QTest::currentTestFunction());
        if (shared_ == nullptr || sharedFor_ != function) {
            shared_.reset();
            shared_ = std::make_unique<FrameRig>();
            if (!shared_->connect()) {
                return nullptr;
            }
            shared_->makeFrame();
            sharedFor_ = function;
        }
        return shared_.get();
    }

private slots:
    void cleanupTestCase() { shared_.reset(); }
    void messageTable_data();
    void messageTable();
    void twoAnnouncementsWithin10msRefreshOnce();
    void paneRefreshReadsPerPane_data();
    void paneRefreshReadsPerPane();
    void outputPaneTimerPathAlsoTakesTheSoundBytes_data();
    void outputPaneTimerPathAlsoTakesTheSoundBytes();
    void sidePaneStackOpensOneAndAnnounces();
    void scheduleTickDuringAnOperationStartsNothing();
    void scheduleStartReadsTheFileOffTheUiThread();
    void arrowKeysGoToAVisiblePointLocateWindow_data();
    void arrowKeysGoToAVisiblePointLocateWindow();
};

void MainWindowTest::messageTable_data() {
    QTest::addColumn<int>("message");
    QTest::addColumn<qlonglong>("first");
    QTest::addColumn<qlonglong>("second");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QByteArray>("reads");
    QTest::addColumn<QString>("shown");
    const QByteArray none;
    const auto row = [](const char* name, FrameMessage m, qlonglong a, qlonglong b) -> QTestData& {
        return QTest::newRow(name) << messageNumber(m) << a << b;
    };
    using M = FrameMessage;
    row("100 defaults of a known code", M::ApplyResolutionDefaults, 0, 6)
        << refreshAll(0) << none << QString();
    row("100 unknown code", M::ApplyResolutionDefaults, 0, 99)
        << QStringList() << none << QStringLiteral("不支持的分辨率!");
    row("111 flag 0", M::RefreshOutputAndDual, 0, 0)
        << QStringList{"output.refresh sw=0", "dual.refresh sw=0"} << none << QString();
    row("111 flag 1", M::RefreshOutputAndDual, 1, 0) << QStringList() << none << QString();
    row("112 picture 1 on top", M::LayoutFlag, 1, 0)
        << QStringList{"layout.onTop 0", "layout.redraw"} << none << QString();
    row("112 picture 2 hollow", M::LayoutFlag, 2, 1)
        << QStringList{"layout.hollow 2 1"} << none << QString();
    row("112 picture 1 hollow", M::LayoutFlag, 3, 1)
        << QStringList{"layout.hollow 1 1"} << none << QString();
    row("113 VGA", M::PictureQualityInput, 1, 8)
        << QStringList{"quality.inputKind 0"} << none << QString();
    row("113 VGA2", M::PictureQualityInput, 1, 9)
        << QStringList{"quality.inputKind 0"} << none << QString();
    row("113 HDMI", M::PictureQualityInput, 1, 11)
        << QStringList{"quality.inputKind 1"} << none << QString();
    row("113 picture 2", M::PictureQualityInput, 2, 8) << QStringList() << none << QString();
    row("114", M::Ignored114, 1, 1) << QStringList() << none << QString();
    row("117", M::Ignored117, 1, 1) << QStringList() << none << QString();
    row("118", M::Ignored118, 1, 1) << QStringList() << none << QString();
    row("116 flag 0", M::CaptureRefresh, 0, 0)
        << QStringList{"capture.refreshOperation"} << none << QString();
    row("116 flag 1", M::CaptureRefresh, 1, 0) << QStringList() << none << QString();
    row("119 picture 1", M::PictureInput, 1, 11)
        << QStringList{"inputBar.select 11 quiet=0"} << none << QString();
    row("119 picture 2 above 13", M::PictureInput, 2, 20)
        << QStringList{"dual.select 13"} << none << QString();
    row("119 kind 4 named input", M::PictureInput, 4, 11)
        << QStringList{"dual.select 11", "layout.label 2 11"} << none << QString();
    row("119 kind 4 other input", M::PictureInput, 4, 5)
        << QStringList{"dual.select 5"} << none << QString();
    row("301", M::SeamlessCheck, 0, 1) << QStringList{"inputBar.seamless 1"} << none << QString();
    row("302", M::Picture1WholeArea, 0, 1)
        << QStringList{"layout.wholeArea 1"} << none << QString();
    row("303", M::LabelPicture, 1, 12) << QStringList{"layout.label 1 12"} << none << QString();
    row("304 closed", M::PointLocateClosed, 0, 0)
        << QStringList{"layout.stopPositioning"} << none << QString();
    row("304 open", M::PointLocateClosed, 1, 0) << QStringList() << none << QString();
    row("305", M::SelectBox, 3, 4) << QStringList{"layout.selectBox 3 4"} << none << QString();
    row("408 keeps sends on", M::RefreshAllWithSends, 0, 0) << refreshAll(1) << none << QString();
    row("520 picture quality", M::PaneRefreshNow, 0, 0)
        << QStringList{"quality.refresh sw=0"} << QByteArray(1, 0) << QString();
    row("520 communication", M::PaneRefreshNow, 1, 2) << QStringList() << none << QString();
}

// Each message posted to the frame, and what it did to the panels, the layout and the line.
void MainWindowTest::messageTable() {
    QFETCH(int, message);
    QFETCH(qlonglong, first);
    QFETCH(qlonglong, second);
    QFETCH(QStringList, calls);
    QFETCH(QByteArray, reads);
    QFETCH(QString, shown);
    FrameRig* shared = sharedRig();
    QVERIFY(shared != nullptr);
    FrameRig& rig = *shared;
    MainWindow& frame = *rig.frame;
    rig.mirror.p1OutWidth = 100; // the defaults of code 6 put it back to 1280
    const ParameterMirror before = rig.mirror;
    const auto mark = rig.log.mark();
    const std::size_t frames = rig.framesSoFar();
    const qsizetype informed = rig.presenter.informed.size();

    const std::size_t target = rig.handledCount(message) + 1;
    frame.post(static_cast<FrameMessage>(message), first, second);
    QVERIFY(rig.waitHandled(message, target));
    QVERIFY(rig.settle()); // messages the handler posted in turn come through

    QCOMPARE(rig.log.since(mark), calls);
    QCOMPARE(bytes(rig.readsSince(frames)), reads);
    QCOMPARE(rig.codesSince(frames).size(), static_cast<std::size_t>(reads.size()));
    QCOMPARE(rig.presenter.informed.mid(informed),
             shown.isEmpty() ? QStringList() : QStringList{shown});
    if (message == messageNumber(FrameMessage::ApplyResolutionDefaults)) {
        QCOMPARE(rig.mirror.p1OutWidth, second == 6 ? 1280 : 100);
        QCOMPARE(rig.mirror.p1OutHeight, second == 6 ? 1024 : before.p1OutHeight);
        QCOMPARE(rig.mirror.p1OutX, 0);
        QCOMPARE(frame.currentResolution(), std::uint8_t{6});
    }
    QCOMPARE(rig.link.sendSwitch(), 1);
}

// Timer 3 runs once, for the pane announced last.
void MainWindowTest::twoAnnouncementsWithin10msRefreshOnce() {
    FrameRig rig;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    const auto mark = rig.log.mark();
    const std::size_t frames = rig.framesSoFar();
    frame.post(FrameMessage::PaneOpened, 0, 0);
    frame.post(FrameMessage::PaneOpened, 1, 1);
    QVERIFY(rig.waitHandled(messageNumber(FrameMessage::PaneOpened), 2));
    QTRY_COMPARE(rig.log.since(mark).size(), 2);
    QVERIFY(rig.settle());
    QCOMPARE(bytes(rig.readsSince(frames)), QByteArray("\x00\x04\x06", 3));
    QCOMPARE(rig.log.since(mark),
             (QStringList{"inputBar.refresh quiet=1 sw=0", "dual.refresh sw=0"}));
    QVERIFY(!frame.state().pendingRefresh.pending);
    QCOMPARE(frame.state().pendingRefresh.stack, -1);
}

void MainWindowTest::paneRefreshReadsPerPane_data() {
    QTest::addColumn<int>("stack");
    QTest::addColumn<int>("pane");
    QTest::addColumn<bool>("byHeader"); // else PaneRefreshNow
    QTest::addColumn<QByteArray>("reads");
    QTest::addColumn<QStringList>("calls");
    const QStringList twice{"output.refresh sw=0", "output.refresh sw=0"};
    QTest::newRow("picture quality")
        << 0 << 0 << true << QByteArray(1, 0) << QStringList{"quality.refresh sw=0"};
    QTest::newRow("capture") << 0 << 1 << true << QByteArray("\x00\x01\x02", 3)
                             << QStringList{"capture.refresh sw=0"};
    QTest::newRow("sound") << 0 << 2 << true << QByteArray("\x00\x0e", 2)
                           << QStringList{"sound.refresh sw=0"};
    QTest::newRow("output") << 1 << 0 << true << QByteArray("\x00\x03", 2) << twice;
    QTest::newRow("dual picture") << 1 << 1 << true << QByteArray("\x00\x04\x06", 3)
                                  << QStringList{"inputBar.refresh quiet=1 sw=0",
                                                 "dual.refresh sw=0"};
    QTest::newRow("communication") << 1 << 2 << true << QByteArray() << QStringList();
    QTest::newRow("output, re-announced") << 1 << 0 << false << QByteArray("\x00\x03", 2) << twice;
    QTest::newRow("communication, re-announced")
        << 1 << 2 << false << QByteArray() << QStringList();
}

// Opening a pane by its header (timer 3) or a stack's re-announcement (PaneRefreshNow): the reads
// the simulator received and the panels redrawn.
void MainWindowTest::paneRefreshReadsPerPane() {
    QFETCH(int, stack);
    QFETCH(int, pane);
    QFETCH(bool, byHeader);
    QFETCH(QByteArray, reads);
    QFETCH(QStringList, calls);
    FrameRig* shared = sharedRig();
    QVERIFY(shared != nullptr);
    FrameRig& rig = *shared;
    MainWindow& frame = *rig.frame;
    SidePaneStack& s = frame.stack(stack);
    s.openPane(pane == 0 ? 1 : 0); // without announcement, so the header below opens it
    const auto mark = rig.log.mark();
    const std::size_t frames = rig.framesSoFar();
    if (byHeader) {
        const int opened = messageNumber(FrameMessage::PaneOpened);
        const std::size_t target = rig.handledCount(opened) + 1;
        s.header(pane)->click();
        QVERIFY(rig.waitHandled(opened, target));
        QTRY_VERIFY(!frame.state().pendingRefresh.pending);
        QTRY_COMPARE(rig.log.since(mark).size(), calls.size());
        QVERIFY(rig.settle());
    } else {
        const int now = messageNumber(FrameMessage::PaneRefreshNow);
        const std::size_t target = rig.handledCount(now) + 1;
        s.openPane(pane);
        s.reannounce(); // sent: handled before it returns
        QCOMPARE(rig.handledCount(now), target);
    }
    QCOMPARE(s.openPaneIndex(), pane);
    QCOMPARE(bytes(rig.readsSince(frames)), reads);
    QCOMPARE(rig.log.since(mark), calls);
}

void MainWindowTest::outputPaneTimerPathAlsoTakesTheSoundBytes_data() {
    QTest::addColumn<bool>("byHeader");
    QTest::addColumn<int>("volume");
    QTest::newRow("timer 3") << true << 77;
    QTest::newRow("PaneRefreshNow") << false << 12;
}

void MainWindowTest::outputPaneTimerPathAlsoTakesTheSoundBytes() {
    QFETCH(bool, byHeader);
    QFETCH(int, volume);
    FrameRig rig;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    rig.facade.setVolume(77);
    rig.facade.setOutputResolution(3);
    QVERIFY(rig.settle());
    rig.mirror.volume = 12;
    rig.mirror.pq[pq::kOutputResolution] = 6;
    SidePaneStack& right = frame.stack(1);
    right.openPane(2);
    if (byHeader) {
        right.header(0)->click();
        QVERIFY(rig.waitHandled(messageNumber(FrameMessage::PaneOpened)));
        QTRY_COMPARE(static_cast<int>(rig.mirror.pq[pq::kOutputResolution]), 3);
        QVERIFY(rig.settle());
    } else {
        right.openPane(0);
        right.reannounce();
        QCOMPARE(static_cast<int>(rig.mirror.pq[pq::kOutputResolution]), 3);
    }
    QCOMPARE(static_cast<int>(rig.mirror.volume), volume);
}

// Exactly one pane open; a header announces its pane once; opening by number and adding panes
// announce nothing; a re-announcement names the open pane.
void MainWindowTest::sidePaneStackOpensOneAndAnnounces() {
    RecordingMessenger owner;
    SidePaneStack stack;
    stack.resize(200, 400);
    stack.setStackIndex(1);
    stack.setOwner(&owner);
    QWidget* panels[3] = {new QWidget, new QWidget, new QWidget};
    for (QWidget* p : panels) {
        QVERIFY(stack.addPane(QStringLiteral("pane"), QIcon(), p));
    }
    const auto openOnes = [&] {
        QList<int> open;
        for (int i = 0; i < 3; ++i) {
            if (!panels[i]->isHidden()) {
                open << i;
            }
        }
        return open;
    };
    QCOMPARE(stack.openPaneIndex(), 2);
    QCOMPARE(openOnes(), QList<int>{2});
    stack.header(0)->click();
    QCOMPARE(openOnes(), QList<int>{0});
    QCOMPARE(owner.log(), QStringList{"+519 1 0"});
    stack.header(0)->click();
    QCOMPARE(owner.log().size(), 1);
    stack.openPane(1);
    QCOMPARE(openOnes(), QList<int>{1});
    QCOMPARE(owner.log().size(), 1);
    stack.reannounce();
    QCOMPARE(owner.log().mid(1), QStringList{"send +520 1 1"});
    // The open panel fills the space between its header and the headers below it.
    const int h = stack.header(1)->height();
    // The panel scrolls inside the area its pane is given.
    const QWidget* area = panels[1]->parentWidget()->parentWidget();
    QCOMPARE(area->geometry().top(), stack.header(1)->geometry().bottom() + 2);
    QCOMPARE(stack.header(2)->geometry().bottom(), stack.height() - 1);
    QVERIFY(area->height() > stack.height() - 4 * h);
}

// The schedule tick finds the device busy while a busy dialog runs and leaves the due task for
// the next tick.
void MainWindowTest::scheduleTickDuringAnOperationStartsNothing() {
    FrameRig rig;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    ScheduleTask task;
    task.periodKind = period::kEveryDay;
    task.action = scheduleaction::kSwitchInput;
    task.channel = 11;
    frame.scheduleExecutor().start(std::vector<ScheduleTask>{task});
    const std::size_t frames = rig.framesSoFar();

    // The operation's pause lasts until the tick has been tried on the UI thread.
    TickOutcome during = TickOutcome::NotRunning;
    std::atomic<bool> ticked{false};
    rig.link.setSleeper([&ticked](std::chrono::milliseconds) {
        const QDeadlineTimer deadline(10000);
        while (!ticked && !deadline.hasExpired()) {
            std::this_thread::sleep_for(std::chrono::milliseconds{1});
        }
    });
    QTimer::singleShot(0, &frame, [&] {
        during = frame.scheduleExecutor().tick().outcome;
        ticked = true;
    });
    QCOMPARE(rig.busy.run(&frame, QStringLiteral("busy"),
                          waitTask(rig.link, std::chrono::milliseconds(600))),
             BusyResult::Succeeded);
    QVERIFY(ticked);
    QCOMPARE(during, TickOutcome::DeviceBusy);
    rig.pacing.attach(rig.link);
    QCOMPARE(rig.codesSince(frames).size(), std::size_t{0});

    QCOMPARE(frame.scheduleExecutor().tick().outcome, TickOutcome::Ran);
    QTRY_COMPARE(rig.framesSoFar(), frames + 1);
    const auto after = rig.sent();
    QCOMPARE(static_cast<int>(after.back()[frame::kCodeOffset]), 0x11);
    QCOMPARE(static_cast<int>(after.back()[frame::kDataOffset + 1]), 11);
}

// Starting a schedule reads its file on a worker while the event loop runs on; the tasks arrive
// whole and in file order. A file that cannot be read starts nothing.
void MainWindowTest::scheduleStartReadsTheFileOffTheUiThread() {
    FrameRig rig;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    const QString missing = rig.home.filePath(QStringLiteral("missing.kss"));
    QCOMPARE(frame.callbacks().start(missing.toStdString()), 0);
    QVERIFY(!frame.scheduleExecutor().running());
    QVERIFY(!frame.timers().scheduleRunning());

    const QString path = rig.home.filePath(QStringLiteral("long.kss"));
    constexpr int kTasks = 20000;
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < kTasks; ++i) {
            file.write(QStringLiteral("2026,1,1,%1,%2,0,0,0,0,0,0,0,0,0,1,%3,\r\n")
                           .arg(i / 60 % 24)
                           .arg(i % 60)
                           .arg(i)
                           .toLatin1());
        }
    }
    bool ranDuringStart = false;
    bool started = false;
    QTimer::singleShot(0, &frame, [&] { ranDuringStart = !started; });
    QCOMPARE(frame.callbacks().start(path.toStdString()), 1);
    started = true;
    QVERIFY(ranDuringStart);
    QVERIFY(frame.scheduleExecutor().running());
    QVERIFY(frame.timers().scheduleRunning());
    const auto& tasks = frame.scheduleExecutor().list().tasks();
    QCOMPARE(tasks.size(), std::size_t{kTasks});
    QCOMPARE(tasks.front().channel, 0);
    QCOMPARE(tasks.back().channel, kTasks - 1);
    QCOMPARE(tasks.back().hour, (kTasks - 1) / 60 % 24);
    frame.callbacks().stop();
}

void MainWindowTest::arrowKeysGoToAVisiblePointLocateWindow_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("direction");
    QTest::newRow("left") << int(Qt::Key_Left) << 0;
    QTest::newRow("right") << int(Qt::Key_Right) << 1;
    QTest::newRow("up") << int(Qt::Key_Up) << 2;
    QTest::newRow("down") << int(Qt::Key_Down) << 3;
}

// While the point-locate window shows, arrows go to it and nowhere else; while it is hidden
// they reach the focused control.
void MainWindowTest::arrowKeysGoToAVisiblePointLocateWindow() {
    QFETCH(int, key);
    QFETCH(int, direction);
    FrameRig rig;
    rig.panels.withPointLocate = true;
    MainWindow& frame = rig.makeFrame();
    auto* edit = new QLineEdit(QStringLiteral("abc"), &frame);
    frame.show();
    edit->setFocus();
    edit->setCursorPosition(1);
    QSignalSpy edited(edit, &QLineEdit::cursorPositionChanged);

    rig.panels.pointLocate.shown = true;
    QTest::keyClick(edit, static_cast<Qt::Key>(key));
    QCOMPARE(rig.panels.pointLocate.arrows, QList<int>{direction});
    QCOMPARE(edited.count(), 0);

    rig.panels.pointLocate.shown = false;
    QTest::keyClick(edit, static_cast<Qt::Key>(key));
    QCOMPARE(rig.panels.pointLocate.arrows.size(), 1);
    if (key == Qt::Key_Left || key == Qt::Key_Right) {
        QCOMPARE(edited.count(), 1);
    }
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
