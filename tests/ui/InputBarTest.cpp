#include "ui/panels/InputBar.h"

#include "FakePanels.h"
#include "PanelRig.h"
#include "core/link/InputCodes.h"
#include "support/RecordingMessenger.h"
#include "support/TempFolder.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/panels/IAutoUpdateQuery.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

// Records what the bar tells the dual-picture panel, with the send switch at that moment.
void recordDualNotices(InputBar& bar, QStringList& log, const DeviceLink& link) {
    QObject::connect(&bar, &InputBar::picture2ReadBack, [&log, &link] {
        log << QStringLiteral("dual.refresh sw=%1").arg(link.sendSwitch());
    });
    QObject::connect(&bar, &InputBar::picture2SwitchAllowed, [&log](bool allowed) {
        log << QStringLiteral("seamless.enable %1").arg(allowed ? 1 : 0);
    });
    QObject::connect(&bar, &InputBar::picture2ForcedOff,
                     [&log] { log << QStringLiteral("seamless.forceOff"); });
    QObject::connect(&bar, &InputBar::picture1InputChanged,
                     [&log] { log << QStringLiteral("seamless.inputChanged"); });
}

// No button stands for this code, so every button starts enabled.
constexpr std::uint8_t kNoButton = 2;

struct BarRig : PanelRig {
    QStringList log;
    RecordingMessenger frame{&log};
    AutoUpdateBox autoUpdate;
    InputBar bar{context};

    // The bar shows `input` (and the mirror's other bytes), redrawn as the frame does it.
    bool start(std::uint8_t input = kNoButton) {
        if (!connect()) {
            return false;
        }
        bar.attachFrame(&frame);
        recordDualNotices(bar, log, link);
        bar.setAutoUpdateQuery(&autoUpdate);
        mirror.pq[pq::kPicture1Source] = input;
        refresh();
        log.clear();
        return true;
    }
    void refresh() {
        SendSwitchOff quiet(link);
        bar.refreshInputs(false);
    }
    QToolButton* button(const QString& name) const {
        return bar.findChild<QToolButton*>(QStringLiteral("input") + name);
    }
    // The names of the disabled (selected) input buttons.
    QStringList marked() const {
        QStringList names;
        for (std::size_t i = 0; i < kInputButtonCount; ++i) {
            if (!bar.inputButton(i)->isEnabled()) {
                names << bar.inputButton(i)->text();
            }
        }
        return names;
    }
    QStringList posts() const { return log.filter(QRegularExpression(QStringLiteral("^\\+"))); }
};

QString command(int code, int d0, int d1 = 0x55) {
    return QStringLiteral("%1 %2 %3 55 55 55 55 55 55")
        .arg(code, 2, 16, QLatin1Char('0'))
        .arg(d0, 2, 16, QLatin1Char('0'))
        .arg(d1, 2, 16, QLatin1Char('0'))
        .toUpper();
}
QString selectInput(int code) {
    return command(0x11, 0, code);
}
QString readRequest(int type) {
    return command(0, type);
}
QStringList selectionPosts(int code) {
    return {QStringLiteral("+111 1 %1").arg(code), QStringLiteral("+303 1 %1").arg(code),
            QStringLiteral("+113 1 %1").arg(code)};
}

} // namespace

class InputBarTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void inputButtonsSendTheirCodeAndNothingElse_data();
    void inputButtonsSendTheirCodeAndNothingElse();
    void codesMarkTheirButton_data();
    void codesMarkTheirButton();
    void refreshShowsTheMirrorAndSendsNothing_data();
    void refreshShowsTheMirrorAndSendsNothing();
    void autoUpdateFollowsASwitchWithReads();
    void clickDuringAWaitIsNotDeliveredAfterwards();
    void freezePressesWithinTheDelaySendOnce_data();
    void freezePressesWithinTheDelaySendOnce();
    void freezeAreaSendsAndTellsTheFrame_data();
    void freezeAreaSendsAndTellsTheFrame();
    void seamlessBoxSendsAndTellsTheDualPicturePanel_data();
    void seamlessBoxSendsAndTellsTheDualPicturePanel();
};

void InputBarTest::inputButtonsSendTheirCodeAndNothingElse_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("code"); // -1: nothing is sent
    QTest::addColumn<QString>("marked");
    QTest::newRow("AV1") << "AV1" << 14 << 0 << "AV1";
    QTest::newRow("AV2") << "AV2" << 14 << 1 << "AV2";
    QTest::newRow("VGA") << "VGA" << 14 << 8 << "VGA";
    QTest::newRow("HDMI") << "HDMI" << 14 << 11 << "HDMI";
    QTest::newRow("DP") << "DP" << 14 << 12 << "DP";
    QTest::newRow("DVI") << "DVI" << 14 << 14 << "DVI";
    QTest::newRow("VGA2 (hidden)") << "VGA2" << 14 << 9 << "VGA2";
    QTest::newRow("E.M. on model 14") << "E.M." << 14 << -1 << "";
    QTest::newRow("E.M. on model 10") << "E.M." << 10 << 10 << "DVI";
}

// With "自动更新" unticked a button sends exactly one SelectInput and tells the frame; the
// extended input only exists on a processor of model 10.
void InputBarTest::inputButtonsSendTheirCodeAndNothingElse() {
    QFETCH(QString, button);
    QFETCH(int, model);
    QFETCH(int, code);
    QFETCH(QString, marked);
    BarRig rig;
    QVERIFY(rig.start());
    rig.mirror.deviceInfo[0] = static_cast<std::uint8_t>(model);
    const std::size_t from = rig.mark();
    rig.button(button)->click();

    const bool sends = code >= 0;
    QCOMPARE(rig.sentSince(from), sends ? QStringList{selectInput(code)} : QStringList{});
    QCOMPARE(rig.log, sends ? selectionPosts(code) : QStringList{});
    QCOMPARE(rig.marked(), marked.isEmpty() ? QStringList{} : QStringList{marked});
    QCOMPARE(int{rig.mirror.pq[pq::kPicture1Source]}, sends ? code : int{kNoButton});
}

void InputBarTest::codesMarkTheirButton_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("quiet");
    QTest::addColumn<QString>("marked");
    QTest::newRow("13 quiet") << 13 << true << "DVI";
    QTest::newRow("15 quiet") << 15 << true << "DVI";
    QTest::newRow("10 quiet") << 10 << true << "DVI";
    QTest::newRow("9 quiet") << 9 << true << "VGA2";
    QTest::newRow("13") << 13 << false << "DVI";
    QTest::newRow("2") << 2 << false << "";
    QTest::newRow("200") << 200 << false << "";
}

// Several codes mark the DVI button; a code without a button marks, posts and sends nothing;
// a quiet selection tells the frame but sends nothing.
void InputBarTest::codesMarkTheirButton() {
    QFETCH(int, code);
    QFETCH(bool, quiet);
    QFETCH(QString, marked);
    BarRig rig;
    QVERIFY(rig.start(input::kHdmi));
    const std::size_t from = rig.mark();
    rig.bar.selectPicture1Input(static_cast<std::uint8_t>(code), quiet);

    const bool known = !marked.isEmpty();
    QCOMPARE(rig.marked(), known ? QStringList{marked} : QStringList{});
    QCOMPARE(rig.log, known ? selectionPosts(code) : QStringList{});
    QCOMPARE(rig.sentSince(from), known && !quiet ? QStringList{selectInput(code)} : QStringList{});
}

void InputBarTest::refreshShowsTheMirrorAndSendsNothing_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("freezeArea");
    QTest::addColumn<int>("seamless");
    QTest::addColumn<int>("autoUpdate");
    QTest::addColumn<QString>("marked");
    QTest::newRow("DP, partial") << 12 << 0 << 0 << 0 << "DP";
    QTest::newRow("AV2, full screen, seamless") << 1 << 1 << 1 << 0 << "AV2";
    QTest::newRow("DVI variant, auto update") << 15 << 1 << 0 << 1 << "DVI";
}

// The frame redraws with the send switch off: with "自动更新" ticked the bar still asks for
// picture 2, but neither request reaches the processor, nothing is copied, and since nothing
// went out nothing is waited for.
void InputBarTest::refreshShowsTheMirrorAndSendsNothing() {
    QFETCH(int, code);
    QFETCH(int, freezeArea);
    QFETCH(int, seamless);
    QFETCH(int, autoUpdate);
    QFETCH(QString, marked);
    BarRig rig;
    QVERIFY(rig.start(input::kHdmi));
    rig.autoUpdate.ticked = autoUpdate != 0;
    rig.mirror.pq[pq::kPicture1Source] = static_cast<std::uint8_t>(code);
    rig.mirror.freezeArea = static_cast<std::uint8_t>(freezeArea);
    rig.mirror.seamless = static_cast<std::uint8_t>(seamless);
    const ParameterMirror before = rig.mirror;
    const std::size_t from = rig.mark();
    std::vector<std::chrono::milliseconds> pauses;
    rig.link.setSleeper([&pauses](std::chrono::milliseconds d) { pauses.push_back(d); });
    rig.refresh();

    QVERIFY(pauses.empty());
    QCOMPARE(rig.sentSince(from), QStringList{});
    QCOMPARE(rig.marked(), QStringList{marked});
    QCOMPARE(rig.bar.partialRadio()->isChecked(), freezeArea == 0);
    QCOMPARE(rig.bar.fullScreenRadio()->isChecked(), freezeArea != 0);
    QCOMPARE(rig.bar.seamlessBox()->isChecked(), seamless != 0);
    QVERIFY(!rig.bar.seamlessBox()->isEnabled());
    QCOMPARE(rig.posts(), selectionPosts(code)
                              << QStringLiteral("+302 0 %1").arg(freezeArea == 0 ? 1 : 0));
    QVERIFY(!rig.log.contains(QStringLiteral("dual.refresh sw=0")));
    QVERIFY(std::memcmp(&before, &rig.mirror, sizeof before) == 0);
    QCOMPARE(rig.link.sendSwitch(), 1);
}

// "自动更新" ticked: picture 2 is read back after the switch; the channel-switch wait in the
// busy dialog, both stacks re-announce their panes, the freeze area and picture 1's input are
// read, and the dual-picture panel hears of the change last.
void InputBarTest::autoUpdateFollowsASwitchWithReads() {
    BarRig rig;
    QVERIFY(rig.start(input::kDvi));
    rig.autoUpdate.ticked = true;
    rig.mirror.freezeArea = 0; // the processor says full screen
    rig.mirror.p2Width = 1;
    const std::size_t from = rig.mark();
    std::vector<std::chrono::milliseconds> pauses;
    rig.link.setSleeper([&pauses](std::chrono::milliseconds d) {
        pauses.push_back(d);
        std::this_thread::sleep_for(d);
    });
    rig.button(QStringLiteral("HDMI"))->click();

    QCOMPARE(rig.sentSince(from), (QStringList{selectInput(input::kHdmi), readRequest(4),
                                               readRequest(0), readRequest(3)}));
    // 1500 before the picture-2 read and its 80; the 2000 channel switch; 100 between the
    // stacks; 50 before the main read and its 80; 50 before picture 1's output read, 80 + 100.
    using std::chrono::milliseconds;
    const std::vector<milliseconds> owed = {
        milliseconds{1500}, milliseconds{80}, milliseconds{2000},
        milliseconds{100},  milliseconds{50}, milliseconds{80},
        milliseconds{50},   milliseconds{80}, milliseconds{100}};
    QCOMPARE(pauses, owed);
    QStringList expected = selectionPosts(input::kHdmi);
    expected << QStringLiteral("dual.refresh sw=0") << QStringLiteral("reannounce 0")
             << QStringLiteral("reannounce 1") << QStringLiteral("+302 0 0");
    expected << selectionPosts(input::kHdmi) << QStringLiteral("seamless.inputChanged");
    QCOMPARE(rig.log, expected);
    QCOMPARE(rig.busy.dialogsShown(), 1);
    const ParameterMirror device = rig.server.state().mirror;
    QCOMPARE(rig.mirror.p2Width, device.p2Width);
    QCOMPARE(int{rig.mirror.freezeArea}, int{device.freezeArea});
    QVERIFY(rig.bar.fullScreenRadio()->isChecked());
    QCOMPARE(rig.marked(), QStringList{QStringLiteral("HDMI")});
    QCOMPARE(rig.link.sendSwitch(), 1);
    QVERIFY(rig.presenter.informed.isEmpty());
}

// A click on another input made while the bar waits unseen for the processor is dropped: it
// does not switch the input once the wait is over.
void InputBarTest::clickDuringAWaitIsNotDeliveredAfterwards() {
    BarRig rig;
    QVERIFY(rig.start(input::kDvi));
    rig.autoUpdate.ticked = 1;
    rig.bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.bar));
    QToolButton* dp = rig.button(QStringLiteral("DP"));
    bool waiting = false;
    QTimer::singleShot(0, &rig.bar, [&] {
        waiting = rig.gate.busy();
        QTest::mouseClick(rig.bar.windowHandle(), Qt::LeftButton, {},
                          dp->mapTo(&rig.bar, dp->rect().center()));
    });
    const std::size_t from = rig.mark();
    rig.button(QStringLiteral("HDMI"))->click();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();

    QVERIFY(waiting);
    QCOMPARE(rig.sentSince(from), (QStringList{selectInput(input::kHdmi), readRequest(4),
                                               readRequest(0), readRequest(3)}));
    QCOMPARE(rig.marked(), QStringList{QStringLiteral("HDMI")});
    // Outside a wait the same click is taken.
    rig.autoUpdate.ticked = 0;
    QTest::mouseClick(rig.bar.windowHandle(), Qt::LeftButton, {},
                      dp->mapTo(&rig.bar, dp->rect().center()));
    QCOMPARE(rig.marked(), QStringList{QStringLiteral("DP")});
}

void InputBarTest::freezePressesWithinTheDelaySendOnce_data() {
    QTest::addColumn<QString>("presses");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("开 twice") << "++" << QStringList{command(0x19, 1)};
    QTest::newRow("关 three times") << "---" << QStringList{command(0x19, 0)};
    QTest::newRow("开 then 关") << "+-" << QStringList{command(0x19, 1), command(0x19, 0)};
}

// Presses are taken back to back, so all of them fall within the delay.
void InputBarTest::freezePressesWithinTheDelaySendOnce() {
    QFETCH(QString, presses);
    QFETCH(QStringList, sent);
    BarRig rig;
    QVERIFY(rig.start());
    const std::size_t from = rig.mark();
    for (QChar p : presses) {
        (p == QLatin1Char('+') ? rig.bar.freezeOnButton() : rig.bar.freezeOffButton())->click();
    }
    QVERIFY(rig.mark() == from); // nothing before the delay
    QTRY_COMPARE(rig.mark(), from + static_cast<std::size_t>(sent.size()));
    QTest::qWait(3 * InputBar::kFreezeDelayMs); // a second timer would have fired now
    // Two timers due at the same moment fire in either order.
    QStringList got = rig.sentSince(from);
    got.sort();
    sent.sort();
    QCOMPARE(got, sent);
    QCOMPARE(rig.log, QStringList{});
}

void InputBarTest::freezeAreaSendsAndTellsTheFrame_data() {
    QTest::addColumn<bool>("partial");
    QTest::newRow("部分") << true;
    QTest::newRow("全屏") << false;
}

void InputBarTest::freezeAreaSendsAndTellsTheFrame() {
    QFETCH(bool, partial);
    BarRig rig;
    rig.mirror.freezeArea = partial ? 1 : 0;
    QVERIFY(rig.start());
    const std::size_t from = rig.mark();
    (partial ? rig.bar.partialRadio() : rig.bar.fullScreenRadio())->click();

    QCOMPARE(rig.sentSince(from), QStringList{command(0x18, partial ? 0 : 1)});
    QCOMPARE(int{rig.mirror.freezeArea}, partial ? 0 : 1);
    QCOMPARE(rig.log, QStringList{QStringLiteral("+302 0 %1").arg(partial ? 1 : 0)});
}

void InputBarTest::seamlessBoxSendsAndTellsTheDualPicturePanel_data() {
    QTest::addColumn<bool>("tick");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("ticked") << true
                            << QStringList{"seamless.enable 0", "seamless.forceOff", "reannounce 0",
                                           "reannounce 1"};
    QTest::newRow("unticked") << false << QStringList{"seamless.enable 1"};
}

// The box is offered once the frame says it is available (SeamlessCheck).
void InputBarTest::seamlessBoxSendsAndTellsTheDualPicturePanel() {
    QFETCH(bool, tick);
    QFETCH(QStringList, calls);
    BarRig rig;
    rig.mirror.seamless = tick ? 0 : 1;
    QVERIFY(rig.start());
    rig.bar.setSeamlessCheck(true);
    QVERIFY(rig.bar.seamlessBox()->isEnabled());
    rig.log.clear();
    const std::size_t from = rig.mark();
    rig.bar.seamlessBox()->click();

    QCOMPARE(rig.bar.seamlessBox()->isChecked(), tick);
    QCOMPARE(rig.sentSince(from), QStringList{command(0x08, tick ? 1 : 0)});
    QCOMPARE(int{rig.mirror.seamless}, tick ? 1 : 0);
    QCOMPARE(rig.log, calls);

    rig.log.clear();
    rig.bar.setSeamlessCheck(false);
    QVERIFY(!rig.bar.seamlessBox()->isEnabled());
    QVERIFY(!rig.bar.seamlessBox()->isChecked());
    QCOMPARE(rig.log, QStringList{QStringLiteral("seamless.enable 1")});
}

QTEST_MAIN(InputBarTest)
#include "InputBarTest.moc"
