#include "FrameRig.h"
#include "core/link/Frame.h"
#include "support/RecordingSleeper.h"
#include "support/TempFolder.h"
#include "ui/frame/MenuCommand.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <mutex>
#include <thread>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {
const int kSynchronise = messageNumber(FrameMessage::Synchronise);

QStringList refreshAllQuiet() {
    return {"output.refresh sw=0",  "dual.refresh sw=0",    "sound.refresh sw=0",
            "quality.refresh sw=0", "capture.refresh sw=0", "inputBar.refresh quiet=0 sw=0",
            "centre.refresh sw=0"};
}

} // namespace

class FrameCommandsTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void deviceTemplateStoreAndRecall();
    void factoryResetWaitsAndResynchronises_data();
    void factoryResetWaitsAndResynchronises();
    void closedLinkOperationsSucceedAtOnceAndSendNothing_data();
    void closedLinkOperationsSucceedAtOnceAndSendNothing();
    void languageSwitch_data();
    void languageSwitch();
    void exitQuestionAndIcon_data();
    void exitQuestionAndIcon();
};

// Storing sends one frame and shows nothing; recalling sends TemplateSlot, waits, and reads
// everything back, which brings the stored settings into the mirror and the panels.
void FrameCommandsTest::deviceTemplateStoreAndRecall() {
    FrameRig rig;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    rig.facade.setVolume(55);
    QVERIFY(rig.settle());

    std::size_t mark = rig.framesSoFar();
    frame.runCommand(menucmd::kStoreTemplateFirst + 2);
    QVERIFY(rig.settle());
    const auto stored = rig.sent();
    QCOMPARE(stored.size(), mark + 1);
    QCOMPARE(static_cast<int>(stored.back()[frame::kCodeOffset]), 0x01);
    QCOMPARE(static_cast<int>(stored.back()[frame::kDataOffset]), 0);
    QCOMPARE(static_cast<int>(stored.back()[frame::kDataOffset + 1]), 3);
    QVERIFY(rig.presenter.informed.isEmpty());

    rig.facade.setVolume(90);
    QVERIFY(rig.settle());
    mark = rig.framesSoFar();
    const auto logMark = rig.log.mark();
    frame.runCommand(menucmd::kRecallTemplateFirst + 2);

    const auto frames = rig.sent();
    QVERIFY(frames.size() > mark);
    QCOMPARE(static_cast<int>(frames[mark][frame::kCodeOffset]), 0x01);
    QCOMPARE(static_cast<int>(frames[mark][frame::kDataOffset]), 1);
    QCOMPARE(static_cast<int>(frames[mark][frame::kDataOffset + 1]), 3);
    QCOMPARE(rig.readsSince(mark + 1), kSynchroniseAllReads);
    QCOMPARE(rig.codesSince(mark).size(), kSynchroniseAllReads.size() + 1);
    QCOMPARE(static_cast<int>(rig.mirror.volume), 55);
    const QStringList calls = rig.log.since(logMark);
    QCOMPARE(calls.mid(0, 7), refreshAllQuiet());
    QCOMPARE(
        calls.mid(7, 2),
        (QStringList{
            QStringLiteral("inputBar.select %1 quiet=0")
                .arg(rig.mirror.switchState[sw::kPicture1Input]),
            QStringLiteral("dual.select %1").arg(rig.mirror.switchState[sw::kPicture2Input])}));
    QVERIFY(rig.presenter.informed.isEmpty());
    QCOMPARE(rig.link.sendSwitch(), 1);
}

void FrameCommandsTest::factoryResetWaitsAndResynchronises_data() {
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

// The reset goes out, the 6 s wait comes before any read, and a synchronisation follows.
void FrameCommandsTest::factoryResetWaitsAndResynchronises() {
    QFETCH(bool, confirmed);
    FrameRig rig;
    QVERIFY(rig.connect());
    // Long waits are only noted: what matters is that they were asked for, and when (how many
    // frames had gone out by then).
    const korvane::test::RecordingSleeper record([&rig] { return rig.framesSoFar(); });
    record.attach(rig.link);
    MainWindow& frame = rig.makeFrame();
    const std::size_t mark = rig.framesSoFar();
    rig.presenter.answers = {confirmed};
    frame.runCommand(menucmd::kFactoryReset);
    QCOMPARE(rig.presenter.asked, QStringList{"请确认是否要恢复出厂默认设置?"});
    if (!confirmed) {
        QVERIFY(rig.settle());
        QCOMPARE(rig.framesSoFar(), mark);
        QCOMPARE(rig.handledCount(kSynchronise), std::size_t{1});
        return;
    }
    QVERIFY(rig.waitHandled(kSynchronise, 2));
    const auto codes = rig.codesSince(mark);
    QVERIFY(!codes.empty());
    QCOMPARE(static_cast<int>(codes.front()), 0x13);
    QCOMPARE(rig.readsSince(mark + 1),
             (std::vector<std::uint8_t>{8, 13, 0, 1, 2, 3, 4, 6, 11, 12, 14, 8}));
    const auto pauses = record.pauses();
    const auto wait = std::find_if(pauses.begin(), pauses.end(), [](const auto& p) {
        return p.asked == std::chrono::milliseconds{6000};
    });
    QVERIFY(wait != pauses.end());
    // Before any read. The wait begins as soon as the reset frame is written, so the simulator
    // may not have taken that frame off the line yet when the count is read.
    QVERIFY(wait->count <= mark + 1);
}

void FrameCommandsTest::closedLinkOperationsSucceedAtOnceAndSendNothing_data() {
    QTest::addColumn<int>("command");
    QTest::newRow("synchronise") << menucmd::kSynchronise;
    QTest::newRow("recall template 4") << menucmd::kRecallTemplateFirst + 3;
    QTest::newRow("factory reset") << menucmd::kFactoryReset;
}

// With the link closed no busy dialog shows, nothing goes out, and the panels are redrawn
// from the mirror as after a success.
void FrameCommandsTest::closedLinkOperationsSucceedAtOnceAndSendNothing() {
    QFETCH(int, command);
    FrameRig rig;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    rig.link.close();
    const std::size_t mark = rig.framesSoFar();
    const int shown = rig.busy.dialogsShown();
    const auto logMark = rig.log.mark();
    frame.runCommand(command);
    if (command != menucmd::kRecallTemplateFirst + 3) {
        QVERIFY(rig.waitHandled(kSynchronise, 2));
    }
    QVERIFY(rig.settle());
    QCOMPARE(rig.framesSoFar(), mark);
    QCOMPARE(rig.busy.dialogsShown(), shown);
    const QStringList calls = rig.log.since(logMark);
    QVERIFY2(calls.mid(calls.indexOf("output.refresh sw=0"), 7) == refreshAllQuiet(),
             qPrintable(calls.join(QLatin1Char('|'))));
    QVERIFY(rig.presenter.informed.isEmpty());
}

void FrameCommandsTest::languageSwitch_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("restarts");
    QTest::newRow("to English") << "CHN" << menucmd::kEnglish << "ENG" << true;
    QTest::newRow("to Chinese") << "ENG" << menucmd::kChinese << "CHN" << true;
    QTest::newRow("Chinese again") << "chn" << menucmd::kChinese << "chn" << false;
    QTest::newRow("English again") << "ENG" << menucmd::kEnglish << "ENG" << false;
}

// A change writes "lang", says so, and closes for the restart without the exit question; the
// active language again changes nothing at all.
void FrameCommandsTest::languageSwitch() {
    QFETCH(QString, stored);
    QFETCH(int, command);
    QFETCH(QString, after);
    QFETCH(bool, restarts);
    FrameRig rig;
    QVERIFY(rig.connect());
    {
        QFile ini(QString::fromStdString(rig.settings.file().string()));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[app]\nlang=%1\n").arg(stored).toUtf8());
    }
    MainWindow& frame = rig.makeFrame();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.runCommand(command);
    QVERIFY(rig.settle());
    QCOMPARE(QString::fromStdString(rig.settings.readLanguage()), after);
    QCOMPARE(rig.restarts, restarts ? 1 : 0);
    QVERIFY(rig.presenter.asked.isEmpty());
    QCOMPARE(frame.isVisible(), !restarts);
    QCOMPARE(rig.presenter.informed,
             restarts ? QStringList{"程序将自动关闭并重新启动，请稍候!"} : QStringList());
    QCOMPARE(rig.settings.readIcon().filename().string(), restarts ? "main.ico" : "");
    const bool chinese = after.compare(QLatin1String("CHN"), Qt::CaseInsensitive) == 0;
    QCOMPARE(frame.action(menucmd::kChinese)->isChecked(), chinese);
    QCOMPARE(frame.action(menucmd::kEnglish)->isChecked(), !chinese);
}

void FrameCommandsTest::exitQuestionAndIcon_data() {
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

// "退出" asks first; a confirmed exit rewrites "icon" to main.ico whatever it held.
void FrameCommandsTest::exitQuestionAndIcon() {
    QFETCH(bool, confirmed);
    FrameRig rig;
    rig.settings.writeIcon("other.ico");
    MainWindow& frame = rig.makeFrame();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    rig.presenter.answers = {confirmed};
    frame.runCommand(menucmd::kExit);
    QCOMPARE(rig.presenter.asked, QStringList{"确定要退出系统吗?"});
    QCOMPARE(frame.isVisible(), !confirmed);
    QCOMPARE(rig.settings.readIcon().filename().string(), confirmed ? "main.ico" : "other.ico");
    QCOMPARE(rig.restarts, 0);
}

QTEST_MAIN(FrameCommandsTest)
#include "FrameCommandsTest.moc"
