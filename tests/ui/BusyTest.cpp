#include "ScriptedPresenter.h"
#include "core/link/DeviceLink.h"
#include "sim/SimPtyServer.h"
#include "support/TempFolder.h"
#include "ui/device/BackgroundTask.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"
#include "ui/device/UiMessageSink.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <stdexcept>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {
// Counts how often a busy dialog was shown.
struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && qobject_cast<BusyDialog*>(o) != nullptr) {
            ++shows;
        }
        return false;
    }
};

enum class Outcome { Succeeds, Fails, Throws };
} // namespace

class BusyTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;
    sim::SimPtyServer server_;
    DeviceLink link_;
    ShowCounter counter_;

private slots:
    void initTestCase();
    void resultOfTheTask_data();
    void resultOfTheTask();
    void workerThatCannotStartEndsWithFailure();
    void closedLinkSucceedsAtOnceWithoutShowingOrRunning();
    void workerMessageIsShownOnTheUiThreadWhileTheWorkerWaits();
    void heldBackWorkRunsOnceTheDeviceIsFree();
};

void BusyTest::initTestCase() {
    server_.start();
    QVERIFY(link_.configureSerialAndOpen({server_.devicePath(), 1, 1, 115200}) == 1);
    qApp->installEventFilter(&counter_);
}

void BusyTest::resultOfTheTask_data() {
    QTest::addColumn<int>("outcome");
    QTest::addColumn<bool>("succeeded");
    QTest::newRow("succeeds") << int(Outcome::Succeeds) << true;
    QTest::newRow("returns failure") << int(Outcome::Fails) << false;
    QTest::newRow("throws") << int(Outcome::Throws) << false;
}

// Success, or failure for a failed task or an exception; the dialog shows with its caption
// meanwhile and the program carries on.
void BusyTest::resultOfTheTask() {
    QFETCH(int, outcome);
    QFETCH(bool, succeeded);
    std::atomic<bool> ranOffUiThread{false};
    BackgroundTask task = [&] {
        ranOffUiThread = QThread::currentThread() != QCoreApplication::instance()->thread();
        QThread::msleep(150);
        if (outcome == int(Outcome::Throws)) {
            throw std::runtime_error("device gone");
        }
        return outcome == int(Outcome::Succeeds);
    };
    const int shows = counter_.shows;
    QString caption;
    QTimer::singleShot(60, [&] {
        if (auto* dlg = qobject_cast<BusyDialog*>(QApplication::activeModalWidget())) {
            caption = dlg->caption();
        }
    });
    BusyDialog dlg(QStringLiteral("同步数据"), task, link_);
    QCOMPARE(dlg.doModal(), succeeded ? BusyResult::Succeeded : BusyResult::Failed);
    QVERIFY(ranOffUiThread);
    QCOMPARE(counter_.shows, shows + 1);
    QCOMPARE(caption, QStringLiteral("同步数据"));
    QVERIFY(!dlg.isVisible());
}

void BusyTest::workerThatCannotStartEndsWithFailure() {
    bool ran = false;
    BackgroundTask task = [&] { return ran = true; };
    BusyDialog dlg(QString(), task, link_);
    dlg.setThreadStart([](std::thread&, std::function<void()>) { return false; });
    QCOMPARE(dlg.doModal(), BusyResult::Failed);
    QVERIFY(!ran);
}

void BusyTest::closedLinkSucceedsAtOnceWithoutShowingOrRunning() {
    DeviceLink closed;
    DeviceGate gate;
    BusyRunner runner(closed, gate);
    bool ran = false;
    BackgroundTask task = [&] { return ran = true; };
    const int shows = counter_.shows;
    BusyDialog dlg(QString(), task, closed);
    QCOMPARE(dlg.doModal(), BusyResult::Succeeded);
    QCOMPARE(runner.run(nullptr, QString(), task), BusyResult::Succeeded);
    QVERIFY(!ran);
    QCOMPARE(counter_.shows, shows);
    QCOMPARE(runner.dialogsShown(), 0);
}

// The core's messages come from the worker; the box shows on the UI thread and the worker
// goes on only once it has been closed.
void BusyTest::workerMessageIsShownOnTheUiThreadWhileTheWorkerWaits() {
    ScriptedPresenter presenter;
    UiMessageSink sink(presenter);
    std::atomic<qsizetype> seenAfterReport{-1};
    BackgroundTask task = [&] {
        sink.report(MessageId::SyncPicture1OutputFailed);
        seenAfterReport = presenter.informed.size();
        return false;
    };
    BusyDialog dlg(QString(), task, link_);
    QCOMPARE(dlg.doModal(), BusyResult::Failed);
    QCOMPARE(seenAfterReport.load(), 1);
    QCOMPARE(presenter.informed, QStringList{"同步画面1输出参数失败!"});
    QCOMPARE(presenter.onUiThread, QList<bool>{true});
}

void BusyTest::heldBackWorkRunsOnceTheDeviceIsFree() {
    DeviceGate gate;
    QStringList order;
    {
        DeviceGate::Hold hold(gate);
        gate.whenIdle([&] { order << "held back"; });
        order << "busy";
    }
    order << "freed";
    QCOMPARE(order, (QStringList{"busy", "freed"})); // not inside the one that just ended
    QTRY_COMPARE(order, (QStringList{"busy", "freed", "held back"}));
    gate.whenIdle([&] { order << "at once"; });
    QCOMPARE(order.last(), QStringLiteral("at once"));
}

QTEST_MAIN(BusyTest)
#include "BusyTest.moc"
