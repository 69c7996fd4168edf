#include "FrameRig.h"
#include "PanelRig.h"
#include "core/link/InputCodes.h"
#include "core/link/ReadTypes.h"
#include "core/schedule/DeviceClock.h"
#include "support/TempFolder.h"
#include "ui/device/BusyDialog.h"
#include "ui/frame/MenuCommand.h"
#include "ui/panels/PanelFactory.h"
#include "ui/schedule/ClockDialog.h"
#include "ui/schedule/LegacyPlanDialog.h"
#include "ui/schedule/PlanEditorDialog.h"
#include "ui/widgets/ColouredTable.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <memory>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

const QString kPlanQuestion = QStringLiteral("是否需要读取脱机计划列表?");
const QString kRangePrompt = QStringLiteral("请填入一个在1和480之间的整数。");

// An interval entry that recalls template 3 at 2024-05-06 08:30:00, every 90 minutes, daily.
const PlanItem kStored{
    2024, 5, 6, 8, 30, 0, planmode::kIntervalDaily, 90, input::kHdmi, planaction::kRecallTemplate,
    3};

template <class W> W* child(QObject& parent, const char* name) {
    return parent.findChild<W*>(QString::fromLatin1(name));
}

void click(QObject& parent, const char* name) {
    auto* button = child<QAbstractButton>(parent, name);
    QVERIFY2(button != nullptr, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

void clickRow(ColouredTable& list, int row) {
    list.scrollToItem(list.item(row, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(row, 0)).center());
}

QStringList rowTexts(const ColouredTable& list, int row) {
    QStringList texts;
    for (int c = 0; c < list.columnCount(); ++c) {
        texts << list.cellText(row, c);
    }
    return texts;
}

QString entryBytes(const PlanEntry& e) {
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
        .arg(e.index, 2, 16, QLatin1Char('0'))
        .arg(e.wordA[0], 2, 16, QLatin1Char('0'))
        .arg(e.wordA[1], 2, 16, QLatin1Char('0'))
        .arg(e.wordB[0], 2, 16, QLatin1Char('0'))
        .arg(e.wordB[1], 2, 16, QLatin1Char('0'))
        .arg(e.wordC[0], 2, 16, QLatin1Char('0'))
        .arg(e.wordC[1], 2, 16, QLatin1Char('0'))
        .arg(e.byteD, 2, 16, QLatin1Char('0'))
        .toUpper();
}

// A PC clock the test sets.
struct FakeClock {
    std::shared_ptr<LocalTime> now =
        std::make_shared<LocalTime>(makeLocalTime(2026, 12, 10, 8, 9, 10));
    LocalClock source() const {
        return [now = now] { return *now; };
    }
};

// Closes the next modal dialog that comes up, busy dialogs aside, and keeps its object name.
struct ModalCloser {
    QString opened;
    QTimer timer;
    ModalCloser() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dlg != nullptr && qobject_cast<BusyDialog*>(dlg) == nullptr && opened.isEmpty()) {
                opened = dlg->objectName();
                dlg->reject();
            }
        });
        timer.start(10);
    }
};

struct PlanRig : PanelRig {
    // Puts `item` into the processor's slot `slot`, as an earlier send would have.
    void storeInProcessor(const PlanItem& item, std::uint8_t slot) {
        facade.writePlanEntry(slot, unpackPlanFields(packPlanItem(item, slot)));
    }
    PlanEntry deviceEntry(std::size_t slot) const { return server.state().mirror.plans[slot]; }
};

struct EditorRig : PlanRig {
    std::unique_ptr<PlanEditorDialog> dlg;
    ColouredTable* list = nullptr;
    QLineEdit* minutes = nullptr;

    // Connects (unless told not to), opens the editor and waits for its header read.
    bool open(bool connected = true) {
        if (connected && !connect()) {
            return false;
        }
        dlg = std::make_unique<PlanEditorDialog>(context);
        dlg->show();
        list = child<ColouredTable>(*dlg, "planList");
        minutes = child<QLineEdit>(*dlg, "planMinutes");
        if (!QTest::qWaitFor([this] { return dlg->openingDone(); })) {
            return false;
        }
        // The busy dialog of the header read had the focus meanwhile.
        dlg->activateWindow();
        return QTest::qWaitForWindowActive(dlg.get()) && list != nullptr && minutes != nullptr;
    }
    void read() { click(*dlg, "readButton"); }
};

} // namespace

class PlanEditorTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void readClickModifySend();
    void moves_data();
    void moves();
    void minutesOutOfRange_data();
    void minutesOutOfRange();
    void minutesOfAnotherPeriodAreNotChecked();
    void failedReadKeepsTheEdits();
    void pickersShowTheClickedRow_data();
    void pickersShowTheClickedRow();
    void closedLinkIsSaidAndNothingChanges();
    void enableAndDisable_data();
    void enableAndDisable();
    void clockButtonOpensTheClockDialog();
    void clockReadShowsTheProcessorsClock();
    void clockWrites_data();
    void clockWrites();
    void failedClockReadKeepsTheText();
    void olderDialogSendsOnlyChangedEntries();
    void olderDialogKeepsChangesWhileTheLinkIsClosed();
    void olderDialogKeepsChangesWhenTheLineHangsUp();
    void frameOpensThePlanWindows_data();
    void frameOpensThePlanWindows();
};

void PlanEditorTest::readClickModifySend() {
    EditorRig rig;
    QVERIFY(rig.connect());
    rig.storeInProcessor(kStored, 5);
    rig.mirror.p2Source = input::kDp;
    QVERIFY(rig.open(false));
    QCOMPARE(rig.list->rowCount(), 0);
    // The channel starts on the one picture 2 shows.
    QCOMPARE(child<QComboBox>(*rig.dlg, "planChannel")->currentText(), QStringLiteral("DP"));

    rig.read();
    QCOMPARE(rig.presenter.asked, QStringList{kPlanQuestion});
    QCOMPARE(rig.list->rowCount(), kPlanEntryCount);
    QCOMPARE(rowTexts(*rig.list, 5),
             (QStringList{"5", "每天重复", "90", "2024-05-06 08:30:00", "执行模板", ""}));
    // Slots the processor marks unused keep the editor's zero items.
    QCOMPARE(rowTexts(*rig.list, 0),
             (QStringList{"0", "跳过", "0", "0000-00-00 00:00:00", "切换通道", ""}));

    clickRow(*rig.list, 5);
    auto& dlg = *rig.dlg;
    QVERIFY(child<QRadioButton>(dlg, "periodInterval")->isChecked());
    QCOMPARE(child<QComboBox>(dlg, "planValidity")->currentIndex(), 1);
    QCOMPARE(rig.minutes->text(), QStringLiteral("90"));
    QVERIFY(rig.minutes->isEnabled());
    QCOMPARE(child<QDateEdit>(dlg, "planDate")->date(), QDate(2024, 5, 6));
    QCOMPARE(child<QTimeEdit>(dlg, "planTime")->time(), QTime(8, 30, 0));
    QVERIFY(child<QRadioButton>(dlg, "actionTemplate")->isChecked());
    QCOMPARE(child<QComboBox>(dlg, "planTemplate")->currentText(), QStringLiteral("3"));
    auto* channel = child<QComboBox>(dlg, "planChannel");
    QCOMPARE(channel->currentText(), QStringLiteral("HDMI"));
    QVERIFY(!channel->isEnabled());

    rig.minutes->setText(QStringLiteral("480"));
    click(dlg, "actionChannel");
    QVERIFY(channel->isEnabled());
    channel->setCurrentIndex(channel->findText(QStringLiteral("DP")));
    click(dlg, "modifyButton");
    QCOMPARE(rowTexts(*rig.list, 5),
             (QStringList{"5", "每天重复", "480", "2024-05-06 08:30:00", "切换通道", ""}));

    const std::size_t from = rig.mark();
    click(dlg, "sendButton");
    const QStringList sent = rig.sentSince(from);
    QCOMPARE(sent.size(), kPlanEntryCount);
    // Year 0 packs as 3, since (0 - 2013) modulo 16 is 3.
    QCOMPARE(sent[0], QStringLiteral("25 00 03 00 00 00 00 00 00"));
    // 480 minutes: 15 in word A's top bits, 0 in word C's low bits; DP is input 12.
    QCOMPARE(sent[5], QStringLiteral("25 05 5B F4 06 79 00 60 30"));
    QCOMPARE(sent[63], QStringLiteral("25 3F 03 00 00 00 00 00 00"));
    QCOMPARE(entryBytes(rig.deviceEntry(5)), QStringLiteral("05 5B F4 06 79 00 60 30"));
    QVERIFY(rig.presenter.informed.isEmpty());
}

void PlanEditorTest::moves_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("to");
    QTest::newRow("first row up") << 0 << true << 0;
    QTest::newRow("last row down") << 63 << false << 63;
    QTest::newRow("row 5 up") << 5 << true << 4;
    QTest::newRow("row 5 down") << 5 << false << 6;
}

void PlanEditorTest::moves() {
    QFETCH(int, row);
    QFETCH(bool, up);
    QFETCH(int, to);
    EditorRig rig;
    QVERIFY(rig.connect());
    rig.storeInProcessor(kStored, static_cast<std::uint8_t>(row));
    QVERIFY(rig.open(false));
    rig.read();
    const PlanItems before = rig.dlg->items();
    QCOMPARE(before[static_cast<std::size_t>(row)], kStored);
    clickRow(*rig.list, row);

    const std::size_t from = rig.mark();
    click(*rig.dlg, up ? "moveUpButton" : "moveDownButton");
    const PlanItems& after = rig.dlg->items();
    QCOMPARE(after[static_cast<std::size_t>(to)], kStored);
    QCOMPARE(rig.list->selectedRow(), to);
    QCOMPARE(rig.list->cellText(to, 1), QStringLiteral("每天重复"));
    if (to == row) {
        QVERIFY(after == before);
    } else {
        QCOMPARE(after[static_cast<std::size_t>(row)], PlanItem{});
        QCOMPARE(rig.list->cellText(row, 1), QStringLiteral("跳过"));
    }
    QCOMPARE(rig.sentSince(from), QStringList{});
}

void PlanEditorTest::minutesOutOfRange_data() {
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("button");
    for (const char* button : {"modifyButton", "sendButton"}) {
        for (const char* minutes : {"0", "481", ""}) {
            QTest::addRow("%s with '%s'", button, minutes)
                << QString::fromLatin1(minutes) << QString::fromLatin1(button);
        }
    }
}

void PlanEditorTest::minutesOutOfRange() {
    QFETCH(QString, minutes);
    QFETCH(QString, button);
    EditorRig rig;
    QVERIFY(rig.connect());
    rig.storeInProcessor(kStored, 5);
    QVERIFY(rig.open(false));
    rig.read();
    clickRow(*rig.list, 5);
    rig.minutes->setText(minutes);

    const std::size_t from = rig.mark();
    click(*rig.dlg, button.toLatin1().constData());
    QCOMPARE(rig.presenter.informed, QStringList{kRangePrompt});
    QCOMPARE(rig.sentSince(from), QStringList{});
    QCOMPARE(rig.dlg->items()[5], kStored);
    QCOMPARE(rig.list->cellText(5, 2), QStringLiteral("90"));
    QCOMPARE(rig.dlg->focusWidget(), rig.minutes);
}

// A slot read from the processor may carry any interval. While another period than "间隔" is
// checked the minutes edit is off: its value neither blocks the row nor replaces the slot's own.
void PlanEditorTest::minutesOfAnotherPeriodAreNotChecked() {
    EditorRig rig;
    QVERIFY(rig.open());
    rig.read();
    clickRow(*rig.list, 3);
    QCOMPARE(rig.minutes->text(), QStringLiteral("0"));
    QVERIFY(!rig.minutes->isEnabled());
    click(*rig.dlg, "periodDaily");
    click(*rig.dlg, "modifyButton");
    QCOMPARE(rig.dlg->items()[3].mode, planmode::kDaily);
    QCOMPARE(rig.dlg->items()[3].interval, 0);
    QCOMPARE(rig.list->cellText(3, 1), QStringLiteral("每天"));

    const std::size_t from = rig.mark();
    click(*rig.dlg, "sendButton");
    QCOMPARE(rig.sentSince(from).size(), kPlanEntryCount);
    QVERIFY(rig.presenter.informed.isEmpty());
}

void PlanEditorTest::failedReadKeepsTheEdits() {
    EditorRig rig;
    QVERIFY(rig.connect());
    rig.storeInProcessor(kStored, 5);
    QVERIFY(rig.open(false));
    rig.read();
    clickRow(*rig.list, 5);
    rig.minutes->setText(QStringLiteral("45"));
    click(*rig.dlg, "modifyButton");
    const PlanItems edited = rig.dlg->items();
    QCOMPARE(edited[5].interval, 45);

    sim::SimFaults faults;
    faults.noReply = {readtype::kPlanEntries};
    rig.server.setFaults(faults);
    rig.read();
    QVERIFY(rig.presenter.informed.contains(QStringLiteral("查询脱机计划列表失败!")));
    QVERIFY(rig.dlg->items() == edited);
    QCOMPARE(rig.list->cellText(5, 2), QStringLiteral("45"));
}

void PlanEditorTest::pickersShowTheClickedRow_data() {
    QTest::addColumn<QList<int>>("stored"); // year, month, day, hour, minute, second
    QTest::addColumn<QDateTime>("shown");
    QTest::addColumn<QString>("rowAfterModify");
    QTest::newRow("month 13") << QList<int>{2024, 13, 6, 8, 30, 0}
                              << QDateTime(QDate(2024, 12, 6), QTime(8, 30, 0))
                              << "2024-12-06 08:30:00";
    QTest::newRow("31 February in a leap year")
        << QList<int>{2024, 2, 31, 1, 2, 3} << QDateTime(QDate(2024, 2, 29), QTime(1, 2, 3))
        << "2024-02-29 01:02:03";
    QTest::newRow("hour 24, minute 60, second 63")
        << QList<int>{2025, 1, 1, 24, 60, 63} << QDateTime(QDate(2025, 1, 1), QTime(23, 59, 59))
        << "2025-01-01 23:59:59";
    QTest::newRow("hour 31, day 0")
        << QList<int>{2026, 4, 0, 31, 0, 0} << QDateTime(QDate(2026, 4, 1), QTime(23, 0, 0))
        << "2026-04-01 23:00:00";
}

// A row holding values the pickers cannot show still replaces what they showed for the row
// clicked before, so that "修改" writes this row's own date and time.
void PlanEditorTest::pickersShowTheClickedRow() {
    QFETCH(QList<int>, stored);
    QFETCH(QDateTime, shown);
    QFETCH(QString, rowAfterModify);
    EditorRig rig;
    QVERIFY(rig.connect());
    rig.storeInProcessor(kStored, 5);
    PlanItem odd = kStored;
    odd.year = stored[0];
    odd.month = stored[1];
    odd.day = stored[2];
    odd.hour = stored[3];
    odd.minute = stored[4];
    odd.second = stored[5];
    rig.storeInProcessor(odd, 6);
    QVERIFY(rig.open(false));
    rig.read();
    QCOMPARE(rig.list->rowCount(), kPlanEntryCount);
    clickRow(*rig.list, 5);
    clickRow(*rig.list, 6);
    auto& dlg = *rig.dlg;
    QCOMPARE(child<QDateEdit>(dlg, "planDate")->date(), shown.date());
    QCOMPARE(child<QTimeEdit>(dlg, "planTime")->time(), shown.time());
    click(dlg, "modifyButton");
    QCOMPARE(rig.list->cellText(6, 3), rowAfterModify);
    QVERIFY(rig.presenter.informed.isEmpty());
}

// With the link closed the editor's sends and the clock dialog's two writes say so; the radios
// go back to the state last known and nothing else changes.
void PlanEditorTest::closedLinkIsSaidAndNothingChanges() {
    const QString failed = QStringLiteral("打开串口失败!");
    EditorRig rig;
    QVERIFY(rig.open(false));
    auto& dlg = *rig.dlg;
    auto* run = child<QRadioButton>(dlg, "runPlans");
    auto* stop = child<QRadioButton>(dlg, "stopPlans");
    const bool running = run->isChecked();
    QCOMPARE(stop->isChecked(), !running);
    rig.presenter.informed.clear();
    QTest::mouseClick(running ? stop : run, Qt::LeftButton);
    QCOMPARE(rig.presenter.informed, QStringList{failed});
    QCOMPARE(run->isChecked(), running);
    QCOMPARE(stop->isChecked(), !running);
    click(dlg, "sendButton");
    QCOMPARE(rig.presenter.informed, (QStringList{failed, failed}));

    FakeClock pc;
    ClockDialog clock(rig.context, nullptr, pc.source());
    clock.show();
    QVERIFY(QTest::qWaitFor([&] { return clock.openingDone(); }));
    rig.presenter.informed.clear();
    click(clock, "sendChosenButton");
    click(clock, "sendLocalButton");
    QCOMPARE(rig.presenter.informed, (QStringList{failed, failed}));
    QCOMPARE(rig.server.receivedFrames().size(), std::size_t{0});
}

void PlanEditorTest::enableAndDisable_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<int>("after");
    QTest::newRow("enable") << 0 << "stopPlans"
                            << "runPlans"
                            << "26 00 01 55 55 55 55 55 55" << 1;
    QTest::newRow("disable") << 1 << "runPlans"
                             << "stopPlans"
                             << "26 00 00 55 55 55 55 55 55" << 0;
}

void PlanEditorTest::enableAndDisable() {
    QFETCH(int, stored);
    QFETCH(QString, shown);
    QFETCH(QString, clicked);
    QFETCH(QString, sent);
    QFETCH(int, after);
    EditorRig rig;
    QVERIFY(rig.connect());
    rig.facade.setPlanState(0, static_cast<std::uint8_t>(stored));
    QVERIFY(rig.open(false));
    QVERIFY(child<QRadioButton>(*rig.dlg, shown.toLatin1().constData())->isChecked());

    const std::size_t from = rig.mark();
    click(*rig.dlg, clicked.toLatin1().constData());
    QCOMPARE(rig.sentSince(from), QStringList{sent});
    QCOMPARE(int{rig.server.state().mirror.planHeader[0]}, 0);
    QCOMPARE(int{rig.server.state().mirror.planHeader[1]}, after);
}

void PlanEditorTest::clockButtonOpensTheClockDialog() {
    EditorRig rig;
    QVERIFY(rig.open());
    ModalCloser closer;
    click(*rig.dlg, "clockButton");
    QCOMPARE(closer.opened, QStringLiteral("clockDialog"));
}

void PlanEditorTest::clockReadShowsTheProcessorsClock() {
    PlanRig rig;
    QVERIFY(rig.connect());
    rig.facade.setClock(2020, 2, 29, 23, 58, 0);
    FakeClock pc;
    ClockDialog dlg(rig.context, nullptr, pc.source());
    dlg.show();
    QVERIFY(QTest::qWaitFor([&] { return dlg.openingDone(); }));
    auto* shown = child<QLineEdit>(dlg, "deviceTime");
    // The simulated clock runs on from the value set.
    QVERIFY2(shown->text().startsWith(QStringLiteral("2020-02-29 23:58:0")),
             qPrintable(shown->text()));

    rig.facade.setClock(2031, 1, 2, 3, 4, 0);
    click(dlg, "refreshButton");
    QVERIFY2(shown->text().startsWith(QStringLiteral("2031-01-02 03:04:0")),
             qPrintable(shown->text()));
    QVERIFY(rig.presenter.informed.isEmpty());
}

void PlanEditorTest::clockWrites_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("sent");
    QTest::newRow("同步: the chosen time") << "sendChosenButton"
                                           << "1B 01 03 05 06 07 08 55 55";
    // 2026-12-10 08:09:10, the year counted from 2013.
    QTest::newRow("同步本地: the PC's time") << "sendLocalButton"
                                             << "1B 0D 0C 0A 08 09 0A 55 55";
}

void PlanEditorTest::clockWrites() {
    QFETCH(QString, button);
    QFETCH(QString, sent);
    PlanRig rig;
    QVERIFY(rig.connect());
    FakeClock pc;
    *pc.now = makeLocalTime(2025, 1, 1, 0, 0, 0);
    ClockDialog dlg(rig.context, nullptr, pc.source());
    dlg.show();
    QVERIFY(QTest::qWaitFor([&] { return dlg.openingDone(); }));
    // The second row follows the PC's clock on every tick.
    *pc.now = makeLocalTime(2026, 12, 10, 8, 9, 10);
    QTRY_COMPARE(child<QTimeEdit>(dlg, "localTime")->time(), QTime(8, 9, 10));
    QCOMPARE(child<QDateEdit>(dlg, "localDate")->date(), QDate(2026, 12, 10));
    child<QDateEdit>(dlg, "chosenDate")->setDate(QDate(2014, 3, 5));
    child<QTimeEdit>(dlg, "chosenTime")->setTime(QTime(6, 7, 8));

    const std::size_t from = rig.mark();
    click(dlg, button.toLatin1().constData());
    QCOMPARE(rig.sentSince(from), QStringList{sent});
}

void PlanEditorTest::failedClockReadKeepsTheText() {
    PlanRig rig;
    QVERIFY(rig.connect());
    rig.facade.setClock(2020, 2, 29, 23, 58, 0);
    FakeClock pc;
    ClockDialog dlg(rig.context, nullptr, pc.source());
    dlg.show();
    QVERIFY(QTest::qWaitFor([&] { return dlg.openingDone(); }));
    auto* shown = child<QLineEdit>(dlg, "deviceTime");
    const QString before = shown->text();
    QVERIFY(before.startsWith(QStringLiteral("2020-02-29")));

    sim::SimFaults faults;
    faults.noReply = {readtype::kClock};
    rig.server.setFaults(faults);
    rig.facade.setClock(2031, 1, 2, 3, 4, 0);
    click(dlg, "refreshButton");
    QVERIFY(rig.presenter.informed.contains(QStringLiteral("查询实时时间失败!")));
    QCOMPARE(shown->text(), before);
}

void PlanEditorTest::olderDialogSendsOnlyChangedEntries() {
    PlanRig rig;
    QVERIFY(rig.connect());
    FakeClock pc;
    LegacyPlanDialog dlg(rig.context, nullptr, pc.source());
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto* list = child<ColouredTable>(dlg, "planList");
    QCOMPARE(list->rowCount(), kPlanEntryCount);
    QCOMPARE(rowTexts(*list, 0), (QStringList{"1", "每天", "天", "00:00:00", "1"}));
    QCOMPARE(child<QLabel>(dlg, "pcDate")->text(), QStringLiteral("2026-12-10"));
    QCOMPARE(child<QLabel>(dlg, "pcTime")->text(), QStringLiteral("08:09:10"));

    std::size_t from = rig.mark();
    click(dlg, "sendButton");
    QCOMPARE(rig.sentSince(from), QStringList{});

    clickRow(*list, 2);
    click(dlg, "mode2");
    QVERIFY(child<QDateEdit>(dlg, "onceDate")->isEnabled());
    QVERIFY(!child<QTimeEdit>(dlg, "intervalTime")->isEnabled());
    child<QDateEdit>(dlg, "onceDate")->setDate(QDate(2024, 5, 6));
    child<QTimeEdit>(dlg, "taskTime")->setTime(QTime(7, 8, 9));
    child<QComboBox>(dlg, "templateCombo")->setCurrentIndex(4);
    click(dlg, "modifyButton");
    QCOMPARE(rowTexts(*list, 2), (QStringList{"3", "执行一次", "2024-05-06", "07:08:09", "5"}));

    from = rig.mark();
    click(dlg, "sendButton");
    QCOMPARE(rig.sentSince(from), QStringList{QStringLiteral("25 02 5B 02 E6 20 20 01 50")});
    QCOMPARE(entryBytes(rig.deviceEntry(2)), QStringLiteral("02 5B 02 E6 20 20 01 50"));
    from = rig.mark();
    click(dlg, "sendButton");
    QCOMPARE(rig.sentSince(from), QStringList{});

    // The clock, its year counted from 2000 both ways.
    child<QDateEdit>(dlg, "deviceDate")->setDate(QDate(2024, 5, 6));
    child<QTimeEdit>(dlg, "deviceTime")->setTime(QTime(7, 8, 9));
    from = rig.mark();
    click(dlg, "sendClockButton");
    QCOMPARE(rig.sentSince(from), QStringList{QStringLiteral("1B 18 05 06 07 08 09 55 55")});
    child<QDateEdit>(dlg, "deviceDate")->setDate(QDate(2001, 1, 1));
    click(dlg, "readClockButton");
    QCOMPARE(rig.presenter.asked, QStringList{QStringLiteral("是否需要读取实时时间?")});
    QCOMPARE(child<QDateEdit>(dlg, "deviceDate")->date(), QDate(2024, 5, 6));
    QVERIFY(rig.presenter.informed.isEmpty());
}

void PlanEditorTest::olderDialogKeepsChangesWhileTheLinkIsClosed() {
    PlanRig rig;
    FakeClock pc;
    LegacyPlanDialog dlg(rig.context, nullptr, pc.source());
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    clickRow(*child<ColouredTable>(dlg, "planList"), 2);
    click(dlg, "modifyButton");
    QVERIFY(dlg.items()[2].modified);
    click(dlg, "sendButton");
    QCOMPARE(rig.presenter.informed, QStringList{QStringLiteral("打开串口失败!")});
    QVERIFY(dlg.items()[2].modified);
}

// A line that hangs up after the first changed entry: the send ends there with one message,
// and every changed entry keeps its mark for the next send.
void PlanEditorTest::olderDialogKeepsChangesWhenTheLineHangsUp() {
    PlanRig rig;
    QVERIFY(rig.connect());
    FakeClock pc;
    LegacyPlanDialog dlg(rig.context, nullptr, pc.source());
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto* list = child<ColouredTable>(dlg, "planList");
    for (const int row : {2, 3}) {
        clickRow(*list, row);
        click(dlg, "modifyButton");
    }
    sim::SimFaults faults;
    faults.hangUpAfter = rig.server.receivedFrames().size() + 1;
    rig.server.setFaults(faults);
    const std::size_t before = rig.server.receivedFrames().size();
    click(dlg, "sendButton");
    QCOMPARE(rig.presenter.informed, QStringList{QStringLiteral("发送脱机计划列表失败!")});
    QCOMPARE(rig.server.receivedFrames().size(), before + 1);
    QVERIFY(dlg.items()[2].modified);
    QVERIFY(dlg.items()[3].modified);
}

void PlanEditorTest::frameOpensThePlanWindows_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("window");
    QTest::newRow("定制时间表") << menucmd::kPlanEditor << "planEditor";
    QTest::newRow("32818") << menucmd::kPlanDialog << "offlinePlanDialog";
}

void PlanEditorTest::frameOpensThePlanWindows() {
    QFETCH(int, command);
    QFETCH(QString, window);
    FrameRig rig;
    PanelFactory factory;
    rig.realPanels = &factory;
    MainWindow& frame = rig.makeFrame();
    QVERIFY(frame.action(menucmd::kPlanEditor)->isEnabled());

    ModalCloser closer;
    frame.runCommand(command);
    QCOMPARE(closer.opened, window);
}

QTEST_MAIN(PlanEditorTest)
#include "PlanEditorTest.moc"
