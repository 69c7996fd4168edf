#include "ui/panels/CapturePanel.h"

#include "CallLog.h"
#include "FakePanels.h"
#include "PanelRig.h"
#include "core/link/InputCodes.h"
#include "support/TempFolder.h"
#include "ui/device/SendSwitchOff.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

using Field = CapturePanel::Field;
constexpr Field kFields[] = {Field::HStart, Field::VStart, Field::Width, Field::Height};
// An input the processor reports no signal for.
constexpr std::uint8_t kNoSignal = 2;
const QString kResetQuestion = QStringLiteral("确定要复位参数吗?");
const QString kFailed = QStringLiteral("执行失败!");
const QString kSendFailed = QStringLiteral("画面1输入调整执行失败!");
const QString kPicture1Read = QStringLiteral("00 01 55 55 55 55 55 55 55");
const QString kPicture2Read = QStringLiteral("00 02 55 55 55 55 55 55 55");

std::array<std::int32_t*, 4> windowOf(ParameterMirror& m, Picture p) {
    if (p == Picture::One) {
        return {&m.p1InX, &m.p1InY, &m.p1InWidth, &m.p1InHeight};
    }
    return {&m.p2InX, &m.p2InY, &m.p2InWidth, &m.p2InHeight};
}

QList<int> valuesOf(const ParameterMirror& m, Picture p) {
    if (p == Picture::One) {
        return {m.p1InX, m.p1InY, m.p1InWidth, m.p1InHeight};
    }
    return {m.p2InX, m.p2InY, m.p2InWidth, m.p2InHeight};
}

// Both pictures show one input; the processor holds the capture window 8, 16, 800 × 600 for
// both, the mirror the window a test gives.
struct CaptureRig : PanelRig {
    static inline const QList<int> kDeviceWindow{8, 16, 800, 600};
    CallLog calls;
    FakePanel dual{QStringLiteral("dual"), calls, link};
    CapturePanel panel{context};
    QPushButton elsewhere{QStringLiteral("elsewhere"), &panel};

    bool start(const QList<int>& window, std::uint8_t input = input::kVga,
               std::uint8_t captureOn = 1, std::uint8_t pipOn = 1) {
        if (!connect()) {
            return false;
        }
        const Rect device{8, 16, 808, 616};
        facade.selectInput(Picture::One, input);
        facade.selectInput(Picture::Two, input);
        facade.setPicture1InputWindow(device, 1024, 768);
        facade.setPicture2InputWindow(device, 1024, 768);
        if (link.read(readtype::kPicture1Input) == 0 || link.read(readtype::kPicture2Input) == 0) {
            return false;
        }
        for (Picture p : {Picture::One, Picture::Two}) {
            const auto fields = windowOf(mirror, p);
            for (std::size_t i = 0; i < fields.size(); ++i) {
                *fields[i] = window[static_cast<qsizetype>(i)];
            }
        }
        mirror.captureMode = captureOn;
        mirror.pipOn = pipOn;
        QObject::connect(&panel, &CapturePanel::picture2WindowReadBack,
                         [this] { dual.refreshFromMirror(); });
        {
            SendSwitchOff quiet(link);
            panel.refreshFromMirror();
        }
        panel.show();
        return QTest::qWaitForWindowActive(&panel);
    }
    QStringList shown(Picture p) const {
        QStringList t;
        for (Field f : kFields) {
            t << panel.edit(p, f).text();
        }
        return t;
    }
    bool editsEnabled(Picture p) const {
        for (Field f : kFields) {
            if (!panel.edit(p, f).isEnabled()) {
                return false;
            }
        }
        return panel.sendButton(p).isEnabled() && panel.resetButton(p).isEnabled();
    }
    // Types into an edit and leaves it by Enter or by moving the focus on.
    void type(QLineEdit& edit, const QString& text, bool enter) {
        typeInto(edit, text, enter ? nullptr : &elsewhere);
    }
    void noReplyTo(std::uint8_t type) {
        sim::SimFaults faults;
        faults.noReply = {type};
        server.setFaults(faults);
    }
};

QStringList texts(const QList<int>& values) {
    QStringList t;
    for (int v : values) {
        t << QString::number(v);
    }
    return t;
}

Picture pictureOf(int p) {
    return p == 1 ? Picture::One : Picture::Two;
}

} // namespace

class CapturePanelTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void refreshShowsMirrorAndReplies_data();
    void refreshShowsMirrorAndReplies();
    void leavingAnEditCorrectsIt_data();
    void leavingAnEditCorrectsIt();
    void sendCorrectsTheWindow_data();
    void sendCorrectsTheWindow();
    void resetAsksThenSendsAndReads_data();
    void resetAsksThenSendsAndReads();
    void captureSwitchSendsAndReads_data();
    void captureSwitchSendsAndReads();
};

void CapturePanelTest::refreshShowsMirrorAndReplies_data() {
    QTest::addColumn<int>("captureOn");
    QTest::addColumn<int>("pipOn");
    QTest::addColumn<bool>("sendSwitch");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("both on, send switch off") << 1 << 1 << false << QStringList{};
    QTest::newRow("picture 1 off, send switch off") << 0 << 1 << false << QStringList{};
    QTest::newRow("the frame's refresh operation sends the capture mode")
        << 1 << 0 << true << QStringList{"0E 01 55 55 55 00 55 55 55"};
}

// The switches and the enable rule come from the mirror, the input texts from the last replies.
void CapturePanelTest::refreshShowsMirrorAndReplies() {
    QFETCH(int, captureOn);
    QFETCH(int, pipOn);
    QFETCH(bool, sendSwitch);
    QFETCH(QStringList, sent);
    CaptureRig rig;
    QVERIFY(rig.start({0, 0, 1024, 768}));
    rig.mirror.p1InX = 100;
    rig.mirror.p2InHeight = 500;
    rig.mirror.captureMode = std::uint8_t(captureOn);
    rig.mirror.pipOn = std::uint8_t(pipOn);
    const std::size_t from = rig.mark();
    if (sendSwitch) {
        rig.panel.runRefreshOperation();
    } else {
        SendSwitchOff quiet(rig.link);
        rig.panel.refreshFromMirror();
    }
    QCOMPARE(rig.shown(Picture::One), (QStringList{"100", "0", "1024", "768"}));
    QCOMPARE(rig.shown(Picture::Two), (QStringList{"0", "0", "1024", "500"}));
    for (Picture p : {Picture::One, Picture::Two}) {
        const bool on = (p == Picture::One ? captureOn : pipOn) != 0;
        QCOMPARE(rig.panel.inputSignal(p).text(), QStringLiteral("1024x768"));
        QCOMPARE(rig.panel.switchOn(p).isChecked(), on);
        QCOMPARE(rig.panel.switchOff(p).isChecked(), !on);
        QCOMPARE(rig.editsEnabled(p), on);
    }
    QCOMPARE(rig.sentSince(from), sent);
}

void CapturePanelTest::leavingAnEditCorrectsIt_data() {
    QTest::addColumn<int>("picture");
    QTest::addColumn<QList<int>>("window");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QList<int>>("shown");
    const QList<int> full{0, 0, 1024, 768};
    const auto row = [](const char* name, int picture, const QList<int>& window, Field f,
                        const char* typed, bool enter) -> QTestData& {
        return QTest::newRow(name)
               << picture << window << int(f) << QString::fromUtf8(typed) << enter;
    };
    row("width 10 gives 64", 1, full, Field::Width, "10", false) << QList{0, 0, 64, 768};
    row("height 800 gives 768 and V start 0", 1, {0, 100, 1024, 600}, Field::Height, "800", true)
        << full;
    row("H start 1000 with width 64 gives 960", 1, {0, 0, 64, 768}, Field::HStart, "1000", false)
        << QList{960, 0, 64, 768};
    row("H start beyond the input still fits", 1, {0, 0, 64, 768}, Field::HStart, "2000", true)
        << QList{960, 0, 64, 768};
    row("small width at the right edge moves the start", 1, {1000, 0, 24, 768}, Field::Width, "10",
        false)
        << QList{960, 0, 64, 768};
    row("empty width is 64", 1, full, Field::Width, "", false) << QList{0, 0, 64, 768};
    row("empty V start is 0", 1, {0, 100, 1024, 300}, Field::VStart, "", false)
        << QList{0, 0, 1024, 300};
    row("height 20 gives 32", 1, full, Field::Height, "20", false) << QList{0, 0, 1024, 32};
    row("picture 2 keeps its start for the send", 2, {0, 0, 64, 768}, Field::HStart, "1000", false)
        << QList{1000, 0, 64, 768};
    row("picture 2 width above the input", 2, full, Field::Width, "2000", true) << full;
}

// Corrected in place, without a message and without sending.
void CapturePanelTest::leavingAnEditCorrectsIt() {
    QFETCH(int, picture);
    QFETCH(QList<int>, window);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(QList<int>, shown);
    CaptureRig rig;
    QVERIFY(rig.start(window));
    const Picture p = pictureOf(picture);
    const std::size_t from = rig.mark();
    rig.type(rig.panel.edit(p, static_cast<Field>(field)), typed, enter);
    QCOMPARE(rig.shown(p), texts(shown));
    QCOMPARE(valuesOf(rig.mirror, p), window);
    QVERIFY(rig.presenter.informed.isEmpty());
    QCOMPARE(rig.sentSince(from), QStringList{});
}

void CapturePanelTest::sendCorrectsTheWindow_data() {
    QTest::addColumn<int>("picture");
    QTest::addColumn<int>("input");
    QTest::addColumn<QList<int>>("window");
    QTest::addColumn<QString>("typedWidth"); // empty: nothing typed before "发送"
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<QStringList>("informed");
    const QStringList none;
    const QString untyped;
    QTest::newRow("width typed 10, then 发送: checked first")
        << 1 << int(input::kVga) << QList{0, 0, 1024, 768} << QStringLiteral("10")
        << QStringList{"0F 00 00 00 00 00 40 03 00"} << QList{0, 0, 64, 768} << none;
    QTest::newRow("x 1000 with width 100 starts at 0")
        << 1 << int(input::kVga) << QList{1000, 0, 100, 768} << untyped
        << QStringList{"0F 00 00 00 00 00 64 03 00"} << QList{0, 0, 100, 768} << none;
    QTest::newRow("x 900 with width 200 gets width 124")
        << 1 << int(input::kVga) << QList{900, 0, 200, 768} << untyped
        << QStringList{"0F 03 84 00 00 00 7C 03 00"} << QList{900, 0, 124, 768} << none;
    QTest::newRow("picture 2: y 740 with height 32 starts at 0")
        << 2 << int(input::kVga) << QList{0, 740, 1024, 32} << untyped
        << QStringList{"10 00 00 00 00 04 00 00 20"} << QList{0, 0, 1024, 32} << none;
    QTest::newRow("picture 2: height 20 is the input's, cut at the bottom")
        << 2 << int(input::kVga) << QList{0, 100, 1024, 20} << untyped
        << QStringList{"10 00 00 00 64 04 00 02 9C"} << QList{0, 100, 1024, 668} << none;
    QTest::newRow("no input signal sends nothing")
        << 1 << int(kNoSignal) << QList{0, 0, 1024, 768} << untyped << QStringList{}
        << QList{0, 0, 1024, 768} << QStringList{kSendFailed};
}

// The mirror holds a window that does not fit the input; "发送" puts it right first.
void CapturePanelTest::sendCorrectsTheWindow() {
    QFETCH(int, picture);
    QFETCH(int, input);
    QFETCH(QList<int>, window);
    QFETCH(QString, typedWidth);
    QFETCH(QStringList, sent);
    QFETCH(QList<int>, shown);
    QFETCH(QStringList, informed);
    CaptureRig rig;
    QVERIFY(rig.start(window, std::uint8_t(input)));
    const Picture p = pictureOf(picture);
    const std::size_t from = rig.mark();
    if (!typedWidth.isEmpty()) {
        QLineEdit& width = rig.panel.edit(p, Field::Width);
        width.setFocus();
        width.selectAll();
        QTest::keyClicks(&width, typedWidth);
    }
    QTest::mouseClick(&rig.panel.sendButton(p), Qt::LeftButton);
    QCOMPARE(rig.sentSince(from), sent);
    QCOMPARE(rig.shown(p), texts(shown));
    QCOMPARE(rig.presenter.informed, informed);
    QCOMPARE(rig.busy.dialogsShown(), sent.isEmpty() ? 0 : 1);
    QCOMPARE(valuesOf(rig.server.state().mirror, p),
             sent.isEmpty() ? CaptureRig::kDeviceWindow : shown);
    QCOMPARE(valuesOf(rig.mirror, p), shown);
}

void CapturePanelTest::resetAsksThenSendsAndReads_data() {
    QTest::addColumn<int>("picture");
    QTest::addColumn<int>("input");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("readAnswered");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("informed");
    const int vga = input::kVga;
    const QStringList mirror{"100", "50", "500", "400"};
    const QStringList full{"0", "0", "1024", "768"};
    QTest::newRow("picture 1, OK")
        << 1 << vga << true << true << QStringList{"0F 00 00 00 00 04 00 03 00", kPicture1Read}
        << full << QStringList{};
    QTest::newRow("picture 1, Cancel")
        << 1 << vga << false << true << QStringList{} << mirror << QStringList{};
    QTest::newRow("picture 2, OK")
        << 2 << vga << true << true << QStringList{"10 00 00 00 00 04 00 03 00", kPicture2Read}
        << full << QStringList{};
    QTest::newRow("picture 2, Cancel")
        << 2 << vga << false << true << QStringList{} << mirror << QStringList{};
    QTest::newRow("picture 1, read-back unanswered")
        << 1 << vga << true << false << QStringList{"0F 00 00 00 00 04 00 03 00", kPicture1Read}
        << mirror << QStringList{"同步数据失败!", kFailed};
    QTest::newRow("no input signal sends nothing")
        << 1 << int(kNoSignal) << true << true << QStringList{} << mirror << QStringList{kFailed};
}

void CapturePanelTest::resetAsksThenSendsAndReads() {
    QFETCH(int, picture);
    QFETCH(int, input);
    QFETCH(bool, answer);
    QFETCH(bool, readAnswered);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, informed);
    CaptureRig rig;
    QVERIFY(rig.start({100, 50, 500, 400}, std::uint8_t(input)));
    const Picture p = pictureOf(picture);
    if (!readAnswered) {
        rig.noReplyTo(p == Picture::One ? readtype::kPicture1Input : readtype::kPicture2Input);
    }
    rig.presenter.answers = {answer};
    const std::size_t from = rig.mark();
    QTest::mouseClick(&rig.panel.resetButton(p), Qt::LeftButton);
    QCOMPARE(rig.presenter.asked, QStringList{kResetQuestion});
    QCOMPARE(rig.sentSince(from), sent);
    QCOMPARE(rig.shown(p), shown);
    QCOMPARE(rig.presenter.informed, informed);
    QCOMPARE(rig.busy.dialogsShown(), int(sent.size()));
    const QStringList other{"100", "50", "500", "400"};
    QCOMPARE(rig.shown(p == Picture::One ? Picture::Two : Picture::One), other);
}

void CapturePanelTest::captureSwitchSendsAndReads_data() {
    QTest::addColumn<int>("picture");
    QTest::addColumn<bool>("on");
    QTest::addColumn<bool>("readAnswered");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QList<int>>("window"); // the picture's window afterwards, mirror and edits
    QTest::addColumn<QStringList>("dualCalls");
    const QList<int> device = CaptureRig::kDeviceWindow;
    const QList<int> mirror{0, 0, 1024, 768};
    const QStringList none;
    QTest::newRow("picture 1 on reads its window")
        << 1 << true << true << QStringList{"0E 01 55 55 55 00 55 55 55", kPicture1Read} << device
        << none;
    QTest::newRow("picture 1 off")
        << 1 << false << true << QStringList{"0E 00 55 55 55 00 55 55 55"} << mirror << none;
    QTest::newRow("picture 1 on, read unanswered: nothing more")
        << 1 << true << false << QStringList{"0E 01 55 55 55 00 55 55 55", kPicture1Read} << mirror
        << none;
    QTest::newRow("picture 2 on reads its window and redraws the dual picture panel")
        << 2 << true << true << QStringList{"0E 00 55 55 55 01 55 55 55", kPicture2Read} << device
        << QStringList{"dual.refresh sw=0"};
    QTest::newRow("picture 2 off")
        << 2 << false << true << QStringList{"0E 00 55 55 55 00 55 55 55"} << mirror << none;
}

// Each switch sends both pictures' states; switched on, it reads its picture's window at once.
void CapturePanelTest::captureSwitchSendsAndReads() {
    QFETCH(int, picture);
    QFETCH(bool, on);
    QFETCH(bool, readAnswered);
    QFETCH(QStringList, sent);
    QFETCH(QList<int>, window);
    QFETCH(QStringList, dualCalls);
    const Picture p = pictureOf(picture);
    // The switch starts the other way round.
    const std::uint8_t before = on ? 0 : 1;
    CaptureRig rig;
    QVERIFY(rig.start({0, 0, 1024, 768}, input::kVga, p == Picture::One ? before : 0,
                      p == Picture::Two ? before : 0));
    if (!readAnswered) {
        rig.noReplyTo(p == Picture::One ? readtype::kPicture1Input : readtype::kPicture2Input);
    }
    rig.calls.calls.clear();
    const std::size_t from = rig.mark();
    QTest::mouseClick(on ? &rig.panel.switchOn(p) : &rig.panel.switchOff(p), Qt::LeftButton);
    QCOMPARE(rig.sentSince(from), sent);
    QCOMPARE(rig.editsEnabled(p), on);
    QCOMPARE(valuesOf(rig.mirror, p), window);
    QCOMPARE(rig.shown(p), texts(window));
    QCOMPARE(int(rig.mirror.captureMode), p == Picture::One && on ? 1 : 0);
    QCOMPARE(rig.calls.calls, dualCalls);
    QVERIFY(rig.presenter.informed.isEmpty());
    QCOMPARE(rig.busy.dialogsShown(), 0);
}

QTEST_MAIN(CapturePanelTest)
#include "CapturePanelTest.moc"
