#include "ui/device/BusyRunner.h"

#include "ScriptedPresenter.h"
#include "core/link/DeviceLink.h"
#include "sim/SimPtyServer.h"
#include "support/TempFolder.h"
#include "ui/device/BackgroundTask.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/DeviceGate.h"
#include "ui/device/UiMessageSink.h"
#include "ui/device/UnseenWaitGuard.h"

#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <future>
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

class BusyRunnerTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;
    sim::SimPtyServer server_;
    DeviceLink link_;
    ShowCounter counter_;

private slots:
    void initTestCase();
    void resultOfTheTask_data();
    void resultOfTheTask();
    void taskThatEndsAtOnceStillEndsTheDialog();
    void workerThatCannotStartEndsWithFailure();
    void closedLinkSucceedsAtOnceWithoutShowingOrRunning();
    void workerMessageIsShownOnTheUiThreadWhileTheWorkerWaits();
    void heldBackWorkRunsOnceTheDeviceIsFree();
    void inputDuringAnUnseenWaitIsDroppedNotReplayed();
    void longUnseenWaitShowsTheWaitCursorUntilItEnds();
    void boxRaisedDuringAnUnseenWaitTakesItsClicks();
    void unseenWaitsWithOnlyUiWorkBetweenShowTheCursorAsOne();
};

void BusyRunnerTest::initTestCase() {
    server_.start();
    QVERIFY(link_.configureSerialAndOpen({server_.devicePath(), 1, 1, 115200}) == 1);
    qApp->installEventFilter(&counter_);
}

void BusyRunnerTest::resultOfTheTask_data() {
    QTest::addColumn<int>("outcome");
    QTest::addColumn<bool>("succeeded");
    QTest::newRow("succeeds") << int(Outcome::Succeeds) << true;
    QTest::newRow("returns failure") << int(Outcome::Fails) << false;
    QTest::newRow("throws") << int(Outcome::Throws) << false;
}

// Success, or failure for a failed task or an exception; the dialog shows with its caption
// meanwhile and the program carries on.
void BusyRunnerTest::resultOfTheTask() {
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

// The worker starts its task at once, so a short task can end before the window has shown: its
// result must still end the dialog (once shown), never leave it open or be lost.
void BusyRunnerTest::taskThatEndsAtOnceStillEndsTheDialog() {
    for (const bool succeeds : {true, false, true, false, true, false}) {
        BackgroundTask task = [succeeds] { return succeeds; };
        const int shows = counter_.shows;
        BusyDialog dlg(QString(), task, link_);
        QCOMPARE(dlg.doModal(), succeeds ? BusyResult::Succeeded : BusyResult::Failed);
        QCOMPARE(counter_.shows, shows + 1);
        QVERIFY(!dlg.isVisible());
    }
}

void BusyRunnerTest::workerThatCannotStartEndsWithFailure() {
    bool ran = false;
    BackgroundTask task = [&] { return ran = true; };
    BusyDialog dlg(QString(), task, link_);
    dlg.setThreadStart([](std::thread&, std::function<void()>) { return false; });
    QCOMPARE(dlg.doModal(), BusyResult::Failed);
    QVERIFY(!ran);
}

void BusyRunnerTest::closedLinkSucceedsAtOnceWithoutShowingOrRunning() {
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
void BusyRunnerTest::workerMessageIsShownOnTheUiThreadWhileTheWorkerWaits() {
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

void BusyRunnerTest::heldBackWorkRunsOnceTheDeviceIsFree() {
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

namespace {
// A window with a button and a focused edit, shown and active.
struct InputTarget {
    QWidget window;
    QPushButton* button = new QPushButton(QStringLiteral("切换"), &window);
    QLineEdit* edit = new QLineEdit(&window);
    int clicks = 0;

    InputTarget() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(button);
        layout->addWidget(edit);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        window.show();
        window.activateWindow();
        edit->setFocus();
    }
    // Through the window system, as the operator's own key and click arrive (the key first:
    // the click gives the button the focus).
    void clickAndType() {
        QTest::keyClick(window.windowHandle(), Qt::Key_A);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                          button->mapTo(&window, button->rect().center()));
    }
};

// Waits on the UI thread, events flowing, until `done` or 10 s.
bool spinUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired()) {
        QTest::qWait(5);
    }
    return done();
}
} // namespace

// A click and a key made while the UI waits unseen for the device reach nothing, neither during
// the wait nor once it is over; the same input outside a wait does.
void BusyRunnerTest::inputDuringAnUnseenWaitIsDroppedNotReplayed() {
    InputTarget target;
    QVERIFY(QTest::qWaitForWindowActive(&target.window));
    DeviceGate gate;
    BusyRunner runner(link_, gate);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    int clicksDuring = -1;
    QTimer::singleShot(0, [&] {
        target.clickAndType();
        clicksDuring = target.clicks;
        release.set_value();
    });
    runner.runUnseen([released] { released.wait(); });
    QCOMPARE(clicksDuring, 0);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(target.clicks, 0);
    QCOMPARE(target.edit->text(), QString());
    QVERIFY(!gate.busy());

    target.clickAndType();
    QCOMPARE(target.clicks, 1);
    QCOMPARE(target.edit->text(), QStringLiteral("a"));
}

void BusyRunnerTest::longUnseenWaitShowsTheWaitCursorUntilItEnds() {
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    DeviceGate gate;
    BusyRunner runner(link_, gate);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = spinUntil([] {
            const QCursor* c = QGuiApplication::overrideCursor();
            return c != nullptr && c->shape() == Qt::WaitCursor;
        });
        release.set_value();
    });
    runner.runUnseen([released] { released.wait(); });
    QVERIFY(shown);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

// A box that comes up during the wait (a message the worker waits on) is answered as usual.
void BusyRunnerTest::boxRaisedDuringAnUnseenWaitTakesItsClicks() {
    DeviceGate gate;
    BusyRunner runner(link_, gate);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    int result = -1;
    QTimer::singleShot(0, [&] {
        QDialog box;
        auto* ok = new QPushButton(QStringLiteral("确定"), &box);
        QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
        QTimer::singleShot(0, &box, [&box, ok] {
            if (QTest::qWaitForWindowExposed(&box)) {
                QTest::mouseClick(box.windowHandle(), Qt::LeftButton, {},
                                  ok->mapTo(&box, ok->rect().center()));
            }
            if (box.isVisible()) {
                box.reject(); // the click did not arrive
            }
        });
        result = box.exec();
        release.set_value();
    });
    runner.runUnseen([released] { released.wait(); });
    QCOMPARE(result, int{QDialog::Accepted});
}

// Input made while the UI thread works between two unseen waits stays queued until the second
// one drops it: the two are one wait to the operator, and the second shows the cursor at once
// when the first began longer ago than the cursor's delay.
void BusyRunnerTest::unseenWaitsWithOnlyUiWorkBetweenShowTheCursorAsOne() {
    DeviceGate gate;
    BusyRunner runner(link_, gate);
    runner.runUnseen([] {});
    // Work on the UI thread, without the event loop, longer than the cursor's delay and longer
    // than the gap after which waits would otherwise count apart.
    QThread::msleep(UnseenWaitGuard::kCursorDelayMs + UnseenWaitGuard::kChainGapMs);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    bool shownAtStart = false;
    QTimer::singleShot(0, [&] {
        const QCursor* c = QGuiApplication::overrideCursor();
        shownAtStart = c != nullptr && c->shape() == Qt::WaitCursor;
        release.set_value();
    });
    runner.runUnseen([released] { released.wait(); });
    QVERIFY(shownAtStart);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

QTEST_MAIN(BusyRunnerTest)
#include "BusyRunnerTest.moc"
