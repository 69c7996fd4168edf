#include "FrameRig.h"
#include "core/link/Frame.h"
#include "core/link/InputCodes.h"
#include "core/link/ReadTypes.h"
#include "core/schedule/ScheduleExecutor.h"
#include "support/TempFolder.h"
#include "ui/frame/FrameCallbacks.h"
#include "ui/frame/FrameState.h"
#include "ui/frame/FrameTimers.h"
#include "ui/frame/MenuCommand.h"
#include "ui/panels/InputBar.h"
#include "ui/panels/PanelFactory.h"
#include "ui/schedule/ScheduleRunnerDialog.h"
#include "ui/wall/CentrePane.h"
#include "ui/wall/WallView.h"
#include "ui/widgets/ColouredTable.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

const QString kAskStart = QStringLiteral("请确认是否启动时间表?");

// The program's frame with its own panels over the simulator, the executor on a clock the test
// sets.
struct ScheduleFrame {
    FrameRig rig;
    PanelFactory factory;
    LocalTime now = makeLocalTime(2024, 5, 6, 7, 0, 0);
    // Every schedule tick reads the clock once.
    int ticks = 0;

    bool start(bool awaitStartUp = true) {
        rig.realPanels = &factory;
        if (!rig.connect()) {
            return false;
        }
        MainWindow& frame = rig.makeFrame(awaitStartUp);
        frame.scheduleExecutor().setClock([this] {
            ++ticks;
            return now;
        });
        return true;
    }
    QString writeSchedule(const QByteArray& lines) {
        const QString file = rig.home.filePath(QStringLiteral("day.kss"));
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(lines);
        return file;
    }
    InputBar& bar() const { return *dynamic_cast<InputBar*>(rig.frame->panels().inputBar); }
    WallView& view() const {
        return dynamic_cast<CentrePane*>(rig.frame->panels().centre)->wallView();
    }
    std::vector<std::uint8_t> codesSinceFenced(std::size_t from) {
        rig.busy.runUnseen([this] { rig.link.read(readtype::kDeviceInfo); });
        auto codes = rig.codesSince(from);
        if (!codes.empty() && codes.back() == 0) {
            codes.pop_back();
        }
        return codes;
    }
};

// Runs `act` on the runner dialog once the frame shows it modally.
void whenRunnerOpens(QTimer& poll, const std::function<void(ScheduleRunnerDialog&)>& act) {
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&poll, act] {
        auto* dlg = qobject_cast<ScheduleRunnerDialog*>(QApplication::activeModalWidget());
        if (dlg != nullptr) {
            poll.stop();
            act(*dlg);
        }
    });
    poll.start();
}

} // namespace

class ScheduleInFrameTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void tasksAsTheFrameRunsThem();
    void menuOpensTheRunnerWithoutStarting();
    void declinedRestartSynchronises();
};

// An input switch shows on the input bar and the drawing's label without going out twice; a
// missing template is said on the status line; a task due while the link is closed is not
// counted as run.
void ScheduleInFrameTest::tasksAsTheFrameRunsThem() {
    ScheduleFrame w;
    QVERIFY(w.start());
    MainWindow& frame = *w.rig.frame;
    const QString file = w.writeSchedule("0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,8,\r\n"
                                         "0,0,0,9,0,0,0,0,0,0,0,0,0,0,0,0,/none/gone.kvt\r\n"
                                         "0,0,0,10,0,0,0,0,0,0,0,0,0,0,1,11,\r\n");
    w.rig.settings.writeLastScheduleFile(file.toStdString());
    ScheduleRunnerDialog dlg(frame.callbacks(), w.rig.settings, w.rig.presenter, &frame);
    dlg.show();
    frame.state().runner = &dlg;
    dlg.startStop();
    QVERIFY(dlg.running());
    QVERIFY(w.bar().currentInput() != input::kVga);

    const std::size_t from = w.rig.framesSoFar();
    w.now = makeLocalTime(2024, 5, 6, 8, 0, 1);
    QTRY_COMPARE_WITH_TIMEOUT(w.bar().currentInput(), std::uint8_t{input::kVga}, 10000);
    QTRY_COMPARE(w.view().labelCode(Picture::One), int{input::kVga});
    QCOMPARE(w.codesSinceFenced(from), std::vector<std::uint8_t>{0x11});
    QCOMPARE(int{w.rig.server.state().mirror.pq[pq::kPicture1Source]}, int{input::kVga});

    w.now = makeLocalTime(2024, 5, 6, 9, 0, 1);
    QTRY_COMPARE_WITH_TIMEOUT(dlg.statusText(),
                              QStringLiteral("09:00:00 的任务已跳过：模板文件不存在"), 10000);

    w.rig.link.close();
    w.now = makeLocalTime(2024, 5, 6, 10, 0, 1);
    const int ticked = w.ticks;
    // Two ticks with the link closed: the 10:00 task stays due.
    QTRY_VERIFY_WITH_TIMEOUT(w.ticks >= ticked + 2, 10000);
    QCOMPARE(frame.scheduleExecutor().list().lastRun().task.hour, 9);
    QCOMPARE(w.bar().currentInput(), std::uint8_t{input::kVga});

    dlg.startStop();
    frame.state().runner = nullptr;
    QVERIFY(!frame.timers().scheduleRunning());
}

// "运行时间表" opens the runner without its start question, whatever the settings say.
void ScheduleInFrameTest::menuOpensTheRunnerWithoutStarting() {
    ScheduleFrame w;
    QVERIFY(w.start());
    const QString file = w.writeSchedule("0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,8,\r\n");
    w.rig.settings.writeLastScheduleFile(file.toStdString());
    QAction* item = w.rig.frame->action(menucmd::kScheduleRunner);
    QVERIFY(item != nullptr);
    QCOMPARE(item->text(), QStringLiteral("运行时间表"));

    QString shownPath;
    int rows = -1;
    QTimer poll;
    whenRunnerOpens(poll, [&](ScheduleRunnerDialog& dlg) {
        shownPath = dlg.path();
        rows = dlg.taskList().rowCount();
        dlg.exitButton()->click();
    });
    item->trigger();
    QCOMPARE(shownPath, file);
    QCOMPARE(rows, 1);
    QCOMPARE(w.rig.presenter.asked, QStringList{});
    QCOMPARE(w.rig.frame->state().runner, nullptr);
}

// At start-up the runner comes back for the schedule left running; Cancel to its question
// forgets the schedule and runs the start-up synchronisation instead.
void ScheduleInFrameTest::declinedRestartSynchronises() {
    ScheduleFrame w;
    const QString file = w.writeSchedule("0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,8,\r\n");
    w.rig.settings.writeLastScheduleFile(file.toStdString());
    w.rig.settings.writeScheduleRunning(1);
    w.rig.presenter.answers = {false};
    bool askedFirst = false;
    QTimer poll;
    whenRunnerOpens(poll, [&](ScheduleRunnerDialog& dlg) {
        // The question comes from the event loop once the window is up.
        askedFirst = QTest::qWaitFor([&] { return !w.rig.presenter.asked.isEmpty(); });
        QVERIFY(!dlg.running());
        dlg.exitButton()->click();
    });
    QVERIFY(w.start(false));
    const int synchronise = messageNumber(FrameMessage::Synchronise);
    QVERIFY(w.rig.waitHandled(synchronise, 2));
    QVERIFY(askedFirst);
    QCOMPARE(w.rig.presenter.asked, QStringList{kAskStart});
    QCOMPARE(w.rig.settings.readScheduleRunning(), 0);
    const auto reads = w.rig.readsSince(0);
    QVERIFY(reads.size() >= kSynchroniseAllReads.size());
    QCOMPARE(std::vector<std::uint8_t>(reads.end() - kSynchroniseAllReads.size(), reads.end()),
             kSynchroniseAllReads);
    QCOMPARE(w.rig.handled.back(), (std::pair<int, int>{synchronise, 1}));
}

QTEST_MAIN(ScheduleInFrameTest)
#include "ScheduleInFrameTest.moc"
