// What the program sends to the processor in its longer operations, frame for frame, against
// the simulator on a pseudo-terminal with the program's own panels. The expected frames are
// worked by hand: a read request is ED CB 00 00 tt 55×7 with the checksum tt + 0x53 (the sum of
// bytes 2 to 11, 0x00 + 0x00 + tt + 7 × 0x55, modulo 256).
#include "FrameRig.h"
#include "core/link/ResolutionTable.h"
#include "support/Hex.h"
#include "support/TempFolder.h"
#include "ui/frame/MainWindow.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/PanelFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>
#include <cstring>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

// The start-up: the identity read, the device information read, then synchronise-all (main
// parameters, both inputs, picture 1's output, picture 2, fade, switch state, input settings,
// audio ports, identity last); after it the communication pane's first status query (identity,
// device information). The panels' refresh with sending off adds nothing.
const QStringList kStartUp = {
    QStringLiteral("ED CB 00 00 08 55 55 55 55 55 55 55 5B"),
    QStringLiteral("ED CB 00 00 0D 55 55 55 55 55 55 55 60"),
    QStringLiteral("ED CB 00 00 00 55 55 55 55 55 55 55 53"),
    QStringLiteral("ED CB 00 00 01 55 55 55 55 55 55 55 54"),
    QStringLiteral("ED CB 00 00 02 55 55 55 55 55 55 55 55"),
    QStringLiteral("ED CB 00 00 03 55 55 55 55 55 55 55 56"),
    QStringLiteral("ED CB 00 00 04 55 55 55 55 55 55 55 57"),
    QStringLiteral("ED CB 00 00 06 55 55 55 55 55 55 55 59"),
    QStringLiteral("ED CB 00 00 0B 55 55 55 55 55 55 55 5E"),
    QStringLiteral("ED CB 00 00 0C 55 55 55 55 55 55 55 5F"),
    QStringLiteral("ED CB 00 00 0E 55 55 55 55 55 55 55 61"),
    QStringLiteral("ED CB 00 00 08 55 55 55 55 55 55 55 5B"),
    QStringLiteral("ED CB 00 00 08 55 55 55 55 55 55 55 5B"),
    QStringLiteral("ED CB 00 00 0D 55 55 55 55 55 55 55 60"),
};

struct TrafficRig : FrameRig {
    PanelFactory own;

    MainWindow& start() {
        realPanels = &own;
        if (!connect()) {
            QTest::qFail("no simulator", __FILE__, __LINE__);
        }
        MainWindow& f = makeFrame(false);
        f.resize(1200, 800);
        f.show();
        return f;
    }
    // Every frame the simulator received from `from` on, once the program is idle and a fence
    // sent after it has arrived: nothing it sent before is still on its way then.
    QStringList sentSince(std::size_t from) {
        if (!settle()) {
            return {QStringLiteral("never settled")};
        }
        QStringList out;
        const auto frames = sent();
        for (std::size_t i = from; i < frames.size(); ++i) {
            out << QString::fromStdString(korvane::test::hex(frames[i]));
        }
        return out;
    }
};

} // namespace

class WireTrafficTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void startUpSendsItsReadsAndNothingForThePanelRefresh();
    void panelRefreshWithSendingOffSendsNothing();
    void picture2SourceChangeSendsTheSwitchAndItsTwoReads();
    void templateLoadSendsEveryParameterThenReadsBack();
};

void WireTrafficTest::startUpSendsItsReadsAndNothingForThePanelRefresh() {
    TrafficRig rig;
    rig.start();
    QVERIFY(rig.waitHandled(messageNumber(FrameMessage::Synchronise)));
    QTRY_COMPARE_WITH_TIMEOUT(rig.framesSoFar(), std::size_t(kStartUp.size()), 30000);
    QVERIFY(rig.settle());
    QCOMPARE(rig.sentSince(0), kStartUp);
    QVERIFY(rig.presenter.informed.isEmpty());
}

// Applying resolution defaults refreshes every panel from the mirror with sending off: the
// input bar's select path with "自动更新" ticked has its read fail unsent, and nothing at all
// reaches the processor; the mirror holds the defaults.
void WireTrafficTest::panelRefreshWithSendingOffSendsNothing() {
    TrafficRig rig;
    MainWindow& frame = rig.start();
    QVERIFY(rig.waitHandled(messageNumber(FrameMessage::Synchronise)));
    auto* comm = frame.findChild<CommunicationPanel*>();
    QVERIFY(comm != nullptr);
    QVERIFY(comm->autoUpdateBox().isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(rig.framesSoFar(), std::size_t(kStartUp.size()), 30000);
    QVERIFY(rig.settle());
    const std::size_t from = rig.framesSoFar();

    QCOMPARE(frame.send(FrameMessage::ApplyResolutionDefaults, 0, kDefaultResolution), 1);
    QVERIFY(rig.settle());
    QCOMPARE(rig.sentSince(from), QStringList{});
    ParameterMirror defaults{};
    applyMirrorDefaults(defaults, kDefaultResolution);
    QVERIFY(std::memcmp(&rig.mirror, &defaults, sizeof defaults) == 0);
    QCOMPARE(rig.link.sendSwitch(), 1);
}

// With "自动更新" ticked: SelectInput for picture 2, the switch query (type 11), the picture-2
// read (type 4). Telling the input bar picture 1's input and the panel's refresh send nothing.
void WireTrafficTest::picture2SourceChangeSendsTheSwitchAndItsTwoReads() {
    TrafficRig rig;
    MainWindow& frame = rig.start();
    QVERIFY(rig.waitHandled(messageNumber(FrameMessage::Synchronise)));
    QTRY_COMPARE_WITH_TIMEOUT(rig.framesSoFar(), std::size_t(kStartUp.size()), 30000);
    QVERIFY(rig.settle());
    auto* source = frame.findChild<QComboBox*>(QStringLiteral("picture2Source"));
    QVERIFY(source != nullptr);
    constexpr std::uint8_t kDp = 12; // checksum 0x11 + 0x01 + 0x0C + 6 × 0x55 = 0x21C → 1C
    QVERIFY(rig.mirror.p2Source != kDp);
    const std::size_t from = rig.framesSoFar();

    source->setCurrentIndex(source->findData(uint{kDp}));
    emit source->activated(source->currentIndex());
    QVERIFY(rig.settle());
    const QStringList expected = {
        QStringLiteral("ED CB 00 11 01 0C 55 55 55 55 55 55 1C"),
        QStringLiteral("ED CB 00 00 0B 55 55 55 55 55 55 55 5E"),
        QStringLiteral("ED CB 00 00 04 55 55 55 55 55 55 55 57"),
    };
    QCOMPARE(rig.sentSince(from), expected);
    QCOMPARE(rig.mirror.p2Source, kDp);
    QCOMPARE(rig.server.state().mirror.p2Source, kDp);
    QCOMPARE(rig.link.sendSwitch(), 1);
    QVERIFY(rig.presenter.informed.isEmpty());
}

// Loading a template: the panels' refresh with sending off sends nothing; send-all writes every
// parameter group in its order (command codes below), then synchronise-all reads everything back.
void WireTrafficTest::templateLoadSendsEveryParameterThenReadsBack() {
    TrafficRig rig;
    MainWindow& frame = rig.start();
    QVERIFY(rig.waitHandled(messageNumber(FrameMessage::Synchronise)));
    QTRY_COMPARE_WITH_TIMEOUT(rig.framesSoFar(), std::size_t(kStartUp.size()), 30000);
    QVERIFY(rig.settle());
    QCOMPARE(frame.send(FrameMessage::SaveSlotTemplate, 0, 2), 1);
    QVERIFY(rig.settle());
    const std::size_t from = rig.framesSoFar();

    frame.send(FrameMessage::LoadSlotTemplate, 0, 2);
    QVERIFY(rig.settle());
    // Picture 1's input window (0x0F) is not among them: the simulator's start-up input reports
    // no input size, and a window beyond its limits is not sent.
    const std::vector<std::uint8_t> writes = {0x02, 0x08, 0x11, 0x09, 0x04, 0x03, 0x03, 0x03, 0x03,
                                              0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x06, 0x11,
                                              0x05, 0x22, 0x15, 0x18, 0x0E, 0x20, 0x24};
    const std::vector<std::uint8_t> reads = {0, 1, 2, 3, 4, 6, 11, 12, 14, 8};
    const QStringList sent = rig.sentSince(from);
    const std::vector<std::uint8_t> codes = rig.codesSince(from);
    std::vector<std::uint8_t> expectedCodes = writes;
    expectedCodes.insert(expectedCodes.end(), reads.size(), 0x00);
    QCOMPARE(codes, expectedCodes);
    QCOMPARE(rig.readsSince(from + writes.size()), reads);
    QCOMPARE(sent.size(), qsizetype(writes.size() + reads.size()));
    QCOMPARE(rig.link.sendSwitch(), 1);
    QVERIFY(rig.presenter.informed.contains(QStringLiteral("文件已保存!")));
}

QTEST_MAIN(WireTrafficTest)
#include "WireTrafficTest.moc"
