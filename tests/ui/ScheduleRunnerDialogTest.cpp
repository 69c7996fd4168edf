#include "ui/schedule/ScheduleRunnerDialog.h"

#include "FrameRig.h"
#include "core/link/Frame.h"
#include "core/link/InputCodes.h"
#include "core/link/LinkWatcher.h"
#include "core/schedule/ScheduleExecutor.h"
#include "core/schedule/ScheduleFileReader.h"
#include "core/store/IniFile.h"
#include "core/store/SettingsKeys.h"
#include "support/TempFolder.h"
#include "ui/frame/FrameCallbacks.h"
#include "ui/frame/FrameTimers.h"
#include "ui/frame/IScheduleTimerCallback.h"
#include "ui/panels/PanelFactory.h"
#include "ui/widgets/ColouredTable.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTranslator>
#include <mutex>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {
const QString kAskStart = QStringLiteral("请确认是否启动时间表?");
const QString kAskStop = QStringLiteral("请确认是否停止时间表?");
const QString kNotStarted = QStringLiteral("时间表未启动!");
const QString kRunning = QStringLiteral("时间表运行中!");
const QString kStartText = QStringLiteral("启动时间表(&S)");

// Daily 08:00 HDMI, weekly 08:30 template on Monday, Wednesday and Friday, once 2024-05-06
// 12:00 DP.
const QByteArray kThreeTasks = "0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,11,\r\n"
                               "2014,1,1,8,30,0,1,1,0,1,0,1,0,0,0,0,/shows/morning.kvt,\r\n"
                               "2024,5,6,12,0,0,2,0,0,0,0,0,0,0,1,12,\r\n";

// The frame's schedule callback as the runner sees it: what was asked, and a scripted answer.
struct RecordingTimer : IScheduleTimerCallback {
    QStringList calls;
    bool startResult = true;
    bool start(const std::string& path) override {
        calls << QStringLiteral("start ") + QString::fromStdString(path);
        return startResult;
    }
    void stop() override { calls << QStringLiteral("stop"); }
};

// The runner on its own, with its settings in a folder of its own.
struct RunnerRig {
    QTemporaryDir dir;
    Settings settings{std::filesystem::path(dir.path().toStdString()) / "korvaneapp.ini"};
    ScriptedPresenter presenter;
    RecordingTimer timer;
    std::unique_ptr<ScheduleRunnerDialog> dlg;

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    ScheduleRunnerDialog& open(bool autoStart = false) {
        dlg = std::make_unique<ScheduleRunnerDialog>(timer, settings, presenter);
        dlg->setAutoStart(autoStart);
        dlg->show();
        // The auto-start question and the list's filling are queued by the opening.
        if (!deliverPosted()) {
            QTest::qFail("what the dialog queued on opening never ran", __FILE__, __LINE__);
        }
        return *dlg;
    }
    QString runningKey() const {
        return QString::fromStdString(
            IniFile(settings.file()).readString("app", "runningschdle", "(none)"));
    }
    QStringList row(int r) const {
        QStringList cells;
        for (int c = 0; c < dlg->taskList().columnCount(); ++c) {
            cells << dlg->taskList().cellText(r, c);
        }
        return cells;
    }
    QColor statusColour() const {
        return dlg->findChild<QLabel*>(QStringLiteral("runnerStatus"))
            ->palette()
            .color(QPalette::WindowText);
    }
};

LocalClock fixedClock(const LocalTime& t) {
    return [t] { return t; };
}
} // namespace

class ScheduleRunnerDialogTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void opensWithTheLastScript_data();
    void opensWithTheLastScript();
    void browsePicksAScript();
    void startRefused_data();
    void startRefused();
    void startAndStop();
    void clockAndRowsFollowTheLanguage();
    void listMarksTasksThatWillNotRun();
    void longListsFillWithoutHoldingTheWindow();
    void frameExecutorRunsTheDueTaskAtItsTick();
    void aDueTaskWaitsForALostLink();
    void restartReopensTheRunningSchedule();
};

void ScheduleRunnerDialogTest::opensWithTheLastScript_data() {
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("informed");
    QTest::newRow("script") << "tasks.kss" << 3 << QStringList{};
    QTest::newRow("no longer there") << "gone.kss" << 0 << QStringList{};
    QTest::newRow("cannot be read") << "folder.kss" << 0 << QStringList{"文件打开失败!"};
}

// The last chosen script fills the list; a script that has gone leaves everything empty without
// a word, one that cannot be read says so. Auto-start asks only when there is a script to start.
void ScheduleRunnerDialogTest::opensWithTheLastScript() {
    QFETCH(QString, last);
    QFETCH(int, rows);
    QFETCH(QStringList, informed);
    RunnerRig rig;
    rig.write(QStringLiteral("tasks.kss"), kThreeTasks);
    QDir(rig.dir.path()).mkdir(QStringLiteral("folder.kss"));
    rig.settings.writeLastScheduleFile(rig.dir.filePath(last).toStdString());
    rig.presenter.answers = {false};

    ScheduleRunnerDialog& dlg = rig.open(true);
    QCOMPARE(rig.presenter.informed, informed);
    QCOMPARE(dlg.taskList().rowCount(), rows);
    QCOMPARE(dlg.statusText(), kNotStarted);
    QCOMPARE(rig.statusColour(), QColor(0, 0, 255));
    QCOMPARE(dlg.currentTaskTexts(), QStringList(5, QString()));
    QCOMPARE(dlg.taskList().columnCount(), 6);
    QCOMPARE(dlg.taskList().horizontalHeaderItem(5)->text(), QStringLiteral(" "));
    if (last == QLatin1String("gone.kss")) {
        QCOMPARE(dlg.path(), QString());
        QCOMPARE(rig.presenter.asked, QStringList{});
        return;
    }
    QCOMPARE(dlg.path(), rig.dir.filePath(last));
    QCOMPARE(rig.presenter.asked, QStringList{kAskStart});
    QCOMPARE(rig.timer.calls, QStringList{});
    if (rows == 3) {
        QCOMPARE(rig.row(0), (QStringList{"0", "每天", "天", "08:00:00", "通道切换", "HDMI"}));
        // The template file does not exist: the row says it will be skipped.
        QCOMPARE(rig.row(1), (QStringList{"1", "周期", "周一,周三,周五", "08:30:00", "脚本",
                                          "/shows/morning.kvt  [跳过：模板文件不存在]"}));
        QCOMPARE(rig.row(2),
                 (QStringList{"2", "执行一次", "2024-05-06", "12:00:00", "通道切换", "DP"}));
    }
}

// The browse dialog asks for an existing .kss; the pick is remembered and listed, Cancel keeps
// everything.
void ScheduleRunnerDialogTest::browsePicksAScript() {
    RunnerRig rig;
    const QString file = rig.write(QStringLiteral("tasks.kss"), kThreeTasks);
    ScheduleRunnerDialog& dlg = rig.open();
    rig.presenter.files = {file};
    QTest::mouseClick(dlg.browseButton(), Qt::LeftButton);
    QCOMPARE(rig.presenter.fileDialogs.size(), 1);
    const FileChoice& choice = rig.presenter.fileDialogs.front();
    QCOMPARE(choice.mode, FileChoice::Mode::Open);
    QCOMPARE(choice.filter, QStringLiteral("KorvaneControl Schedule Scripte File(*.kss)"));
    QCOMPARE(choice.defaultSuffix, QStringLiteral("kss"));
    QCOMPARE(dlg.path(), file);
    QCOMPARE(dlg.taskList().rowCount(), 3);
    QCOMPARE(QString::fromStdString(rig.settings.readLastScheduleFile().string()), file);

    QTest::mouseClick(dlg.browseButton(), Qt::LeftButton);
    QCOMPARE(rig.presenter.fileDialogs.size(), 2);
    QCOMPARE(rig.presenter.fileDialogs.back().folder, rig.dir.path());
    QCOMPARE(dlg.path(), file);
    QCOMPARE(dlg.taskList().rowCount(), 3);
    QCOMPARE(rig.presenter.informed, QStringList{});
}

void ScheduleRunnerDialogTest::startRefused_data() {
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QStringList>("informed");
    QTest::addColumn<QStringList>("timerCalls");
    QTest::newRow("Cancel") << "script" << false << QStringList{} << QStringList{};
    QTest::newRow("empty path") << "none" << true << QStringList{"请选择一个时间调度计划文件!"}
                                << QStringList{};
    QTest::newRow("file deleted") << "deleted" << true << QStringList{"时间调度计划文件不存在!"}
                                  << QStringList{};
    QTest::newRow("executor refuses")
        << "refused" << true << QStringList{"执行时间调度计划失败!"} << QStringList{"start *"};
}

// A start that does not happen leaves the runner stopped in every visible way: status, colour,
// button text, enabled buttons, and runningschdle not set.
void ScheduleRunnerDialogTest::startRefused() {
    QFETCH(QString, setUp);
    QFETCH(bool, confirm);
    QFETCH(QStringList, informed);
    QFETCH(QStringList, timerCalls);
    RunnerRig rig;
    const QString file = rig.write(QStringLiteral("tasks.kss"), kThreeTasks);
    if (setUp != QLatin1String("none")) {
        rig.settings.writeLastScheduleFile(file.toStdString());
    }
    rig.timer.startResult = setUp != QLatin1String("refused");
    ScheduleRunnerDialog& dlg = rig.open();
    if (setUp == QLatin1String("deleted")) {
        QFile::remove(file);
    }
    rig.presenter.answers = {confirm};
    QTest::mouseClick(dlg.startButton(), Qt::LeftButton);

    QCOMPARE(rig.presenter.asked, QStringList{kAskStart});
    QCOMPARE(rig.presenter.informed, informed);
    timerCalls.replaceInStrings(QStringLiteral("*"), file);
    QCOMPARE(rig.timer.calls, timerCalls);
    QVERIFY(!dlg.running());
    QCOMPARE(dlg.statusText(), kNotStarted);
    QCOMPARE(rig.statusColour(), QColor(0, 0, 255));
    QCOMPARE(dlg.startButton()->text(), kStartText);
    QVERIFY(dlg.browseButton()->isEnabled());
    QVERIFY(dlg.exitButton()->isEnabled());
    QCOMPARE(rig.runningKey(), QStringLiteral("(none)"));
}

// Running: the key says so, browse and exit are off and the window will not close; stopping
// (after its own confirmation) undoes each of these.
void ScheduleRunnerDialogTest::startAndStop() {
    RunnerRig rig;
    const QString file = rig.write(QStringLiteral("tasks.kss"), kThreeTasks);
    rig.settings.writeLastScheduleFile(file.toStdString());
    ScheduleRunnerDialog& dlg = rig.open();
    QTest::mouseClick(dlg.startButton(), Qt::LeftButton);
    QCOMPARE(rig.timer.calls, QStringList{QStringLiteral("start ") + file});
    QVERIFY(dlg.running());
    QCOMPARE(rig.runningKey(), QStringLiteral("1"));
    QCOMPARE(dlg.statusText(), kRunning);
    QCOMPARE(rig.statusColour(), QColor(255, 0, 0));
    QCOMPARE(dlg.startButton()->text(), QStringLiteral("停止(&S)"));
    QVERIFY(!dlg.browseButton()->isEnabled());
    QVERIFY(!dlg.exitButton()->isEnabled());
    dlg.reject();
    dlg.close();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QVERIFY(dlg.isVisible());

    rig.presenter.answers = {false, true};
    QTest::mouseClick(dlg.startButton(), Qt::LeftButton);
    QVERIFY(dlg.running());
    QCOMPARE(rig.timer.calls.size(), 1);
    QTest::mouseClick(dlg.startButton(), Qt::LeftButton);
    QCOMPARE(rig.presenter.asked, (QStringList{kAskStart, kAskStop, kAskStop}));
    QCOMPARE(rig.timer.calls.back(), QStringLiteral("stop"));
    QVERIFY(!dlg.running());
    QCOMPARE(rig.runningKey(), QStringLiteral("0"));
    QCOMPARE(dlg.statusText(), QStringLiteral("时间表已停止!"));
    QCOMPARE(rig.statusColour(), QColor(0, 0, 255));
    QCOMPARE(dlg.startButton()->text(), kStartText);
    QVERIFY(dlg.browseButton()->isEnabled());
    QVERIFY(dlg.exitButton()->isEnabled());
    QTest::mouseClick(dlg.exitButton(), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(rig.presenter.informed, QStringList{});
}

// The clock shows the given local time; in English the weekday, the list's fixed words and the
// window's own texts are English.
void ScheduleRunnerDialogTest::clockAndRowsFollowTheLanguage() {
    RunnerRig rig;
    rig.settings.writeLastScheduleFile(
        rig.write(QStringLiteral("tasks.kss"), kThreeTasks).toStdString());
    const LocalClock monday = fixedClock(makeLocalTime(2024, 5, 6, 8, 5, 9));
    {
        ScheduleRunnerDialog& dlg = rig.open();
        dlg.setClock(monday);
        QCOMPARE(dlg.clockTexts(), (QStringList{"08:05:09", "星期一", "2024-05-06"}));
    }
    QTranslator ui;
    QTranslator core;
    QVERIFY(ui.load(QStringLiteral(":/i18n/korvane_en.qm")));
    QVERIFY(core.load(QStringLiteral(":/i18n/korvane_core_en.qm")));
    QCoreApplication::installTranslator(&ui);
    QCoreApplication::installTranslator(&core);
    ScheduleRunnerDialog& dlg = rig.open();
    dlg.setClock(fixedClock(makeLocalTime(2024, 5, 5, 23, 0, 0)));
    const QStringList clock = dlg.clockTexts();
    const QStringList weekly = rig.row(1);
    const QStringList once = rig.row(2);
    const QString status = dlg.statusText();
    const QString title = dlg.windowTitle();
    QCoreApplication::removeTranslator(&core);
    QCoreApplication::removeTranslator(&ui);
    QCOMPARE(clock, (QStringList{"23:00:00", "Sunday", "2024-05-05"}));
    QCOMPARE(weekly, (QStringList{"1", "Weekly", "Mon,Wed,Fri", "08:30:00", "Template",
                                  "/shows/morning.kvt  [skipped: template file missing]"}));
    QCOMPARE(once.mid(1, 2), (QStringList{"Once", "2024-05-06"}));
    QCOMPARE(status, QStringLiteral("Schedule not started!"));
    QCOMPARE(title, QStringLiteral("Run Schedule"));
}

// A task that will not run as written says so in its row, and the row stands out.
void ScheduleRunnerDialogTest::listMarksTasksThatWillNotRun() {
    RunnerRig rig;
    const QString real = rig.write(QStringLiteral("real.kvt"), QByteArray(1030, '\0'));
    const QString shortFile = rig.write(QStringLiteral("short.kvt"), QByteArray("text"));
    const QByteArray lines = "0,0,0,8,0,0,0,0,0,0,0,0,0,0,0,0," + real.toUtf8() +
                             "\n0,0,0,9,0,0,0,0,0,0,0,0,0,0,0,0," + shortFile.toUtf8() +
                             "\n0,0,0,10,0,0,0,0,0,0,0,0,0,0,1,0000000011\n";
    rig.settings.writeLastScheduleFile(rig.write(QStringLiteral("day.kss"), lines).toStdString());
    ScheduleRunnerDialog& dlg = rig.open();
    QCOMPARE(dlg.taskList().rowCount(), 3);
    QCOMPARE(rig.row(0).last(), real);
    QCOMPARE(rig.row(1).last(), shortFile + QStringLiteral("  [跳过：不是模板文件]"));
    QCOMPARE(rig.row(2).last(), QStringLiteral("AV2  [无效：数字超过9位]"));
    const QColor plain = dlg.taskList().item(0, 5)->foreground().color();
    QVERIFY(dlg.taskList().item(1, 5)->foreground().color() != plain);
    QVERIFY(dlg.taskList().item(2, 0)->foreground().color() != plain);
    QVERIFY(rig.presenter.informed.isEmpty());
}

// A long schedule is listed over several turns of the event loop; a file over the size limit
// is refused with the open-failure message and an empty list.
void ScheduleRunnerDialogTest::longListsFillWithoutHoldingTheWindow() {
    RunnerRig rig;
    ScheduleRunnerDialog& dlg = rig.open();
    const int count = static_cast<int>(3 * ScheduleRunnerDialog::kRowsPerTurn + 7);
    QByteArray lines;
    for (int i = 0; i < count; ++i) {
        lines += "0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,11,\n";
    }
    rig.presenter.files.push_back(rig.write(QStringLiteral("long.kss"), lines));
    dlg.browse();
    QCOMPARE(dlg.taskList().rowCount(), static_cast<int>(ScheduleRunnerDialog::kRowsPerTurn));
    QVERIFY(!dlg.listFilled());
    QTRY_VERIFY(dlg.listFilled());
    QCOMPARE(dlg.taskList().rowCount(), count);
    QCOMPARE(rig.row(count - 1).first(), QString::number(count - 1));

    QFile big(rig.dir.filePath(QStringLiteral("big.kss")));
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(static_cast<qint64>(kMaxScheduleFileBytes) + 1));
    big.close();
    rig.presenter.files.push_back(big.fileName());
    dlg.browse();
    QCOMPARE(rig.presenter.informed, QStringList{QStringLiteral("文件打开失败!")});
    QCOMPARE(dlg.taskList().rowCount(), 0);
}

// The frame's executor, started from the runner, runs each task at the first tick at or after
// its time and once only; the runner then shows it as the current task.
void ScheduleRunnerDialogTest::frameExecutorRunsTheDueTaskAtItsTick() {
    FrameRig rig;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    RunnerRig runner;
    const QString file =
        runner.write(QStringLiteral("day.kss"), "0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,11,\r\n"
                                                "0,0,0,12,0,0,0,0,0,0,0,0,0,0,1,12,\r\n");
    runner.settings.writeLastScheduleFile(file.toStdString());

    // One time per tick; each tick also notes how many input switches had gone out before it.
    const std::vector<LocalTime> times = {
        makeLocalTime(2024, 5, 6, 7, 59, 58), makeLocalTime(2024, 5, 6, 8, 0, 0),
        makeLocalTime(2024, 5, 6, 8, 0, 2), makeLocalTime(2024, 5, 6, 13, 0, 0)};
    std::vector<std::size_t> switchesBefore;
    const auto selectFrames = [&rig] {
        std::vector<std::uint8_t> inputs;
        for (const auto& f : rig.server.receivedFrames()) {
            if (f[frame::kCodeOffset] == static_cast<std::uint8_t>(CommandCode::SelectInput)) {
                inputs.push_back(f[frame::kDataOffset + 1]);
            }
        }
        return inputs;
    };
    frame.scheduleExecutor().setClock([&] {
        const std::size_t i = std::min(switchesBefore.size(), times.size() - 1);
        switchesBefore.push_back(selectFrames().size());
        return times[i];
    });

    ScheduleRunnerDialog dlg(frame.callbacks(), runner.settings, runner.presenter, &frame);
    dlg.show();
    frame.state().runner = &dlg;
    QTest::mouseClick(dlg.startButton(), Qt::LeftButton);
    QVERIFY(dlg.running());
    QVERIFY(frame.timers().scheduleRunning());
    QTRY_VERIFY_WITH_TIMEOUT(switchesBefore.size() >= 4, 15000);
    QTRY_COMPARE(selectFrames().size(), std::size_t{2});
    QVERIFY(rig.settle());
    frame.state().runner = nullptr;

    QCOMPARE(std::vector<std::size_t>(switchesBefore.begin(), switchesBefore.begin() + 4),
             (std::vector<std::size_t>{0, 0, 1, 1}));
    QCOMPARE(selectFrames(), (std::vector<std::uint8_t>{input::kHdmi, input::kDp}));
    QCOMPARE(static_cast<int>(rig.mirror.pq[pq::kPicture1Source]), static_cast<int>(input::kDp));
    QCOMPARE(dlg.currentTaskTexts(), (QStringList{"每天", "天", "12:00:00", "通道切换", "DP"}));

    QTest::mouseClick(dlg.startButton(), Qt::LeftButton);
    QVERIFY(!frame.timers().scheduleRunning());
    QVERIFY(!frame.scheduleExecutor().running());
}

// The processor falls silent before a task's time: the task is not marked as run while the
// link is lost, and runs once it is back.
void ScheduleRunnerDialogTest::aDueTaskWaitsForALostLink() {
    FrameRig rig;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    LinkWatcher::Timing timing = LinkWatcher::kDefaultTiming;
    timing.keepAlive = std::chrono::milliseconds{300};
    LinkWatcher watcher(rig.link, timing);
    RunnerRig runner;
    const QString file =
        runner.write(QStringLiteral("day.kss"), "0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,11,\r\n");
    runner.settings.writeLastScheduleFile(file.toStdString());
    int ticks = 0;
    frame.scheduleExecutor().setClock([&ticks] {
        ++ticks;
        return makeLocalTime(2024, 5, 6, 8, 0, 1);
    });
    const auto selects = [&rig] {
        std::size_t n = 0;
        for (const auto& f : rig.server.receivedFrames()) {
            n += f[frame::kCodeOffset] == static_cast<std::uint8_t>(CommandCode::SelectInput);
        }
        return n;
    };
    sim::SimFaults silent;
    silent.silentAfter = rig.framesSoFar();
    silent.silentFor = std::chrono::milliseconds{8000};
    rig.server.setFaults(silent);
    QTRY_VERIFY_WITH_TIMEOUT(rig.link.linkStatus().lost(), 10000);

    ScheduleRunnerDialog dlg(frame.callbacks(), runner.settings, runner.presenter, &frame);
    dlg.show();
    frame.state().runner = &dlg;
    QTest::mouseClick(dlg.startButton(), Qt::LeftButton);
    QVERIFY(frame.timers().scheduleRunning());
    // Ticks come every 2 s; while the link stays lost none of them reaches the executor.
    QTest::qWait(2500);
    QVERIFY(rig.link.linkStatus().lost());
    QCOMPARE(ticks, 0);
    QCOMPARE(selects(), std::size_t{0});
    QTRY_COMPARE_WITH_TIMEOUT(selects(), std::size_t{1}, 20000);
    QCOMPARE(rig.link.linkStatus().state, LinkState::Connected);
    QCOMPARE(static_cast<int>(rig.mirror.pq[pq::kPicture1Source]), static_cast<int>(input::kHdmi));
    frame.state().runner = nullptr;
    QTest::mouseClick(dlg.startButton(), Qt::LeftButton);
}

// With runningschdle = 1 the next start-up reads nothing from the processor and reopens the
// runner, which (after its question) starts the last script again; stopping and leaving it
// clears the key and the frame's pointer.
void ScheduleRunnerDialogTest::restartReopensTheRunningSchedule() {
    FrameRig rig;
    QVERIFY(rig.connect());
    PanelFactory factory;
    rig.realPanels = &factory;
    const QString file = rig.home.filePath(QStringLiteral("day.kss"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("0,0,0,23,59,59,0,0,0,0,0,0,0,0,1,11,\r\n");
    }
    rig.settings.writeLastScheduleFile(file.toStdString());
    rig.settings.writeScheduleRunning(1);

    struct Seen {
        bool running = false;
        bool frameKnowsIt = false;
        bool timerOn = false;
        QString path;
    } seen;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<ScheduleRunnerDialog*>(QApplication::activeModalWidget());
        if (dlg == nullptr || !dlg->running()) {
            return;
        }
        poll.stop();
        seen = {true, rig.frame->state().runner == dlg, rig.frame->timers().scheduleRunning(),
                dlg->path()};
        dlg->startStop();
        dlg->exitButton()->click();
    });
    poll.start();
    MainWindow& frame = rig.makeFrame(false);
    const int open = messageNumber(FrameMessage::OpenScheduleRunner);
    QVERIFY(rig.waitHandled(open, 1, 20000));

    QVERIFY(seen.running);
    QVERIFY(seen.frameKnowsIt);
    QVERIFY(seen.timerOn);
    QCOMPARE(seen.path, file);
    QCOMPARE(rig.presenter.asked, (QStringList{kAskStart, kAskStop}));
    QCOMPARE(rig.readsSince(0), std::vector<std::uint8_t>{});
    QCOMPARE(rig.handledCount(messageNumber(FrameMessage::Synchronise)), std::size_t{1});
    QCOMPARE(frame.state().runner, nullptr);
    QVERIFY(!frame.timers().scheduleRunning());
    QCOMPARE(rig.settings.readScheduleRunning(), 0);
}

QTEST_MAIN(ScheduleRunnerDialogTest)
#include "ScheduleRunnerDialogTest.moc"
