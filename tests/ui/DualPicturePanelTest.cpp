#include "ui/panels/DualPicturePanel.h"

#include "FakePanels.h"
#include "FrameRig.h"
#include "PanelRig.h"
#include "core/link/InputCodes.h"
#include "support/RecordingMessenger.h"
#include "support/TempFolder.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/frame/IFrameMessenger.h"
#include "ui/frame/MainWindow.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/IAutoUpdateQuery.h"
#include "ui/panels/PanelFactory.h"
#include "ui/wall/CentrePane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTest>
#include <QTranslator>
#include <algorithm>
#include <chrono>
#include <thread>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;
using Pair = DualPicturePanel::Pair;
using Threshold = DualPicturePanel::Threshold;

namespace {

constexpr std::uint8_t k1920x1080 = 11;

struct DualRig : PanelRig {
    QStringList log;
    // "+303 0 8" is message 303 posted with (0, 8); a message sent (handled at once) also
    // records whether the send switch was on meanwhile.
    RecordingMessenger frame{&log};
    AutoUpdateBox autoUpdate;
    DualPicturePanel panel{context};
    QPushButton elsewhere{QStringLiteral("elsewhere"), &panel};

    DualRig() {
        frame.sendNote = [this] { return QStringLiteral("sw%1").arg(link.sendSwitch()); };
    }

    // Picture 2 on, 624 × 266 at (0, 0) on a 1920 × 1080 output, overlay on with thresholds
    // 10, 20, 30, picture 2 on top; `setUp` changes the mirror before the first redraw.
    bool start(const std::function<void(ParameterMirror&)>& setUp = {}) {
        if (!connect()) {
            return false;
        }
        applyMirrorDefaults(mirror, k1920x1080);
        mirror.pipOn = 1;
        mirror.overlayOn = 1;
        mirror.overlayRed = 10;
        mirror.overlayGreen = 20;
        mirror.overlayBlue = 30;
        if (setUp) {
            setUp(mirror);
        }
        panel.attachFrame(&frame);
        panel.setAutoUpdateQuery(&autoUpdate);
        refresh(false);
        panel.show();
        log.clear();
        return QTest::qWaitForWindowActive(&panel);
    }
    void refresh(bool full) {
        SendSwitchOff quiet(link);
        panel.refresh(full);
    }
    // Types into an edit and leaves it with Enter.
    void type(QLineEdit& edit, const QString& text) { typeInto(edit, text); }
    void choose(QComboBox& box, int row) {
        box.setCurrentIndex(row);
        emit box.activated(row);
    }
    QStringList windowTexts() const {
        QStringList t;
        for (auto f :
             {Picture2Field::X, Picture2Field::Width, Picture2Field::Y, Picture2Field::Height}) {
            t << panel.windowEdit(f).text();
        }
        return t;
    }
    QStringList posts() const { return log.filter(QRegularExpression(QStringLiteral("^\\+"))); }
};

QString frameText(int code, const QList<int>& data) {
    QStringList parts{QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper()};
    for (int i = 0; i < 8; ++i) {
        const int v = i < data.size() ? data[i] : 0x55;
        parts << QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
    }
    return parts.join(QLatin1Char(' '));
}
QString readRequest(int type) {
    return frameText(0, {type});
}

const QString kOpaqueAboveAnd =
    QStringLiteral("图像中所有满足以下条件的像素不透明，不满足以下条件的像素半透明。\n条件：\n"
                   "红色 > %1 并且\n绿色 > %2 并且\n蓝色 > %3");
const QString kSemiBelowOr =
    QStringLiteral("图像中所有满足以下条件的像素半透明，不满足以下条件的像素完全透明。\n条件：\n"
                   "红色 < %1 或者\n绿色 < %2 或者\n蓝色 < %3");

} // namespace

class DualPicturePanelTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void refreshShowsTheMirror();
    void pictureTwoWindow_data();
    void pictureTwoWindow();
    void windowFollowsTheDrawing();
    void thresholdEntry_data();
    void thresholdEntry();
    void draggingAThresholdActsOnRelease();
    void overlayChoices_data();
    void overlayChoices();
    void pictureTwoSwitch_data();
    void pictureTwoSwitch();
    void pipMode_data();
    void pipMode();
    void sourceChangeReadBack_data();
    void sourceChangeReadBack();
    void effectChoice_data();
    void effectChoice();
    void swapReadsTheTopLayerBack_data();
    void swapReadsTheTopLayerBack();
    void topLayer();
    void englishTexts();
    void wiredIntoTheFrame();
};

// A redraw shows the mirror and sends nothing, even the not-full one that applies the switch
// state, as long as the send switch is off.
void DualPicturePanelTest::refreshShowsTheMirror() {
    DualRig rig;
    const std::size_t from = rig.mark();
    QVERIFY(rig.start([](ParameterMirror& m) {
        m.p2Source = input::kHdmi;
        m.p2X = 100;
        m.p2Width = 800;
        m.p2Y = 50;
        m.p2Height = 600;
        m.transparency = 2;
        m.autoSwitch = 3;
        m.overlayRed = 7; // an odd threshold is evened when automatic switching is on
        m.overlayMode = 1;
        m.switchEffectValue = 1;
        m.switchState[sw::kTopLayer] = 0;
        m.seamless = 1;
    }));
    DualPicturePanel& p = rig.panel;
    QCOMPARE(rig.sentSince(from), QStringList{});
    QCOMPARE(p.sourceList().currentText(), QStringLiteral("HDMI"));
    QCOMPARE(p.sourceList().count(), 6);
    QCOMPARE(rig.windowTexts(), (QStringList{"100", "800", "50", "600"}));
    QCOMPARE(p.transparencyList().currentText(), QStringLiteral("2"));
    QCOMPARE(p.autoSwitchList().currentText(), QStringLiteral("信号优先"));
    QVERIFY(p.radio(Pair::Picture2, 0).isChecked());
    QVERIFY(!p.radio(Pair::Picture2, 0).isEnabled()); // seamless switching is on
    QVERIFY(p.radio(Pair::Mode, 1).isChecked());
    QVERIFY(p.radio(Pair::Effect, 1).isChecked());
    QVERIFY(p.radio(Pair::TopLayer, 0).isChecked());
    QCOMPARE(p.thresholdEdit(Threshold::Red).text(), QStringLiteral("8"));
    QCOMPARE(rig.mirror.overlayRed, 8);
    QCOMPARE(p.thresholdSlider(Threshold::Blue).value(), 30);
    QCOMPARE(p.fadeList().currentText(), QStringLiteral("Level1"));
    QCOMPARE(p.overlayGroup().title(), QStringLiteral("图文叠加"));

    rig.refresh(true);
    QCOMPARE(rig.posts(), (QStringList{"+303 0 11", "+112 1 1", "+112 1 1"}));
    QCOMPARE(rig.sentSince(from), QStringList{});
}

void DualPicturePanelTest::pictureTwoWindow_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QList<int>>("window"); // mirror x, w, y, h
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown"); // x, w, y, h
    const int x = 0, w = 1, y = 2, h = 3;
    const QList<int> small{0, 624, 0, 266};
    QTest::newRow("odd width 1901 goes up to 1902")
        << 11 << small << w << "1901" << QStringList{"0", "1902", "0", "266"};
    QTest::newRow("width 1901 at H 100 is cut to 1820")
        << 11 << QList<int>{100, 624, 0, 266} << w << "1901"
        << QStringList{"100", "1820", "0", "266"};
    QTest::newRow("H 1000 under width 1000 gives 920")
        << 11 << QList<int>{0, 1000, 0, 266} << x << "1000"
        << QStringList{"920", "1000", "0", "266"};
    QTest::newRow("empty height is 48")
        << 11 << small << h << "" << QStringList{"0", "624", "0", "48"};
    QTest::newRow("V 900 under height 266 gives 814")
        << 11 << small << y << "900" << QStringList{"0", "624", "814", "266"};
    QTest::newRow("width below 64")
        << 11 << small << w << "10" << QStringList{"0", "64", "0", "266"};
    QTest::newRow("a width cut below 64 keeps 64 and moves the window")
        << 11 << QList<int>{1900, 20, 0, 266} << w << "500"
        << QStringList{"1856", "64", "0", "266"};
    QTest::newRow("unchanged window is sent again")
        << 6 << small << x << "0" << QStringList{"0", "624", "0", "266"};
    QTest::newRow("a code the table lacks leaves the edits alone")
        << 20 << small << w << "641" << QStringList{"0", "641", "0", "266"};
    QTest::newRow("the custom entry has no size of its own")
        << 128 << small << w << "641" << QStringList{"0", "641", "0", "266"};
}

// The edits show the window that went to the processor, and the processor holds it.
void DualPicturePanelTest::pictureTwoWindow() {
    QFETCH(int, code);
    QFETCH(QList<int>, window);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    DualRig rig;
    QVERIFY(rig.start([&](ParameterMirror& m) {
        m.pq[pq::kOutputResolution] = static_cast<std::uint8_t>(code);
        m.p2X = window[0];
        m.p2Width = window[1];
        m.p2Y = window[2];
        m.p2Height = window[3];
    }));
    const std::size_t from = rig.mark();
    rig.type(rig.panel.windowEdit(static_cast<Picture2Field>(field)), typed);
    QCOMPARE(rig.windowTexts(), shown);
    const bool known = code != 20 && code != 128;
    const QList<int> v{shown[0].toInt(), shown[1].toInt(), shown[2].toInt(), shown[3].toInt()};
    const QStringList sent{frameText(0x05, {v[0] >> 8, v[0] & 0xFF, v[2] >> 8, v[2] & 0xFF,
                                            v[1] >> 8, v[1] & 0xFF, v[3] >> 8, v[3] & 0xFF})};
    QCOMPARE(rig.sentSince(from), known ? sent : QStringList{});
    if (known) {
        const auto sim = rig.server.state().mirror;
        QCOMPARE((QList<int>{sim.p2X, sim.p2Width, sim.p2Y, sim.p2Height}), v);
        QCOMPARE(
            (QList<int>{rig.mirror.p2X, rig.mirror.p2Width, rig.mirror.p2Y, rig.mirror.p2Height}),
            v);
    }
}

// Dragging picture 2 on the wall drawing reloads the edits; nothing is sent.
void DualPicturePanelTest::windowFollowsTheDrawing() {
    DualRig rig;
    QVERIFY(rig.start());
    const std::size_t from = rig.mark();
    rig.mirror.p2X = 300;
    rig.mirror.p2Width = 500;
    rig.mirror.p2Y = 200;
    rig.mirror.p2Height = 100;
    rig.panel.windowChanged();
    QCOMPARE(rig.windowTexts(), (QStringList{"300", "500", "200", "100"}));
    QCOMPARE(rig.sentSince(from), QStringList{});
}

void DualPicturePanelTest::thresholdEntry_data() {
    QTest::addColumn<int>("threshold");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("kept");
    QTest::newRow("red 7 becomes 8") << int{Threshold::Red} << "7" << 8;
    QTest::newRow("green 255 stays") << int{Threshold::Green} << "255" << 255;
    QTest::newRow("blue 300 becomes 255") << int{Threshold::Blue} << "300" << 255;
    QTest::newRow("empty red is 0") << int{Threshold::Red} << "" << 0;
}

// The edit, its slider, the mirror and the processor all end at the corrected value.
void DualPicturePanelTest::thresholdEntry() {
    QFETCH(int, threshold);
    QFETCH(QString, typed);
    QFETCH(int, kept);
    DualRig rig;
    QVERIFY(rig.start());
    const auto t = static_cast<Threshold>(threshold);
    const std::size_t from = rig.mark();
    rig.type(rig.panel.thresholdEdit(t), typed);
    QCOMPARE(rig.panel.thresholdEdit(t).text(), QString::number(kept));
    QCOMPARE(rig.panel.thresholdSlider(t).value(), kept);
    QList<int> rgb{10, 20, 30};
    rgb[threshold] = kept;
    QCOMPARE(rig.sentSince(from),
             QStringList{frameText(0x15, {1, 0, 0, 0, rgb[0], rgb[1], rgb[2]})});
    const auto sim = rig.server.state().mirror;
    QCOMPARE((QList<int>{sim.overlayRed, sim.overlayGreen, sim.overlayBlue}), rgb);
    QVERIFY(rig.panel.conditionLabel().text().contains(
        QStringLiteral("红色 > %1 并且\n绿色 > %2 并且\n蓝色 > %3")
            .arg(rgb[0])
            .arg(rgb[1])
            .arg(rgb[2])));
}

void DualPicturePanelTest::draggingAThresholdActsOnRelease() {
    DualRig rig;
    QVERIFY(rig.start());
    QSlider& s = rig.panel.thresholdSlider(Threshold::Green);
    const std::size_t from = rig.mark();
    s.setSliderDown(true);
    QStringList shown;
    for (int position : {50, 101}) {
        s.setSliderPosition(position);
        shown << rig.panel.thresholdEdit(Threshold::Green).text();
    }
    QCOMPARE(shown, (QStringList{"50", "101"}));
    s.setSliderDown(false);
    QCOMPARE(rig.sentSince(from), QStringList{frameText(0x15, {1, 0, 0, 0, 10, 102, 30})});
    QCOMPARE(rig.panel.thresholdEdit(Threshold::Green).text(), QStringLiteral("102"));

    // Back where the mirror stands: the release sends nothing.
    const std::size_t again = rig.mark();
    s.setSliderDown(true);
    s.setSliderPosition(102);
    s.setSliderDown(false);
    QCOMPARE(rig.sentSince(again), QStringList{});
}

void DualPicturePanelTest::overlayChoices_data() {
    QTest::addColumn<QList<int>>("clicks"); // pair, index, pair, index, ...
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("condition");
    QTest::newRow("模式2, Below, Or shows the eighth condition")
        << QList<int>{Pair::Mode, 1, Pair::AboveBelow, 1, Pair::AndOr, 1}
        << QStringList{frameText(0x15, {1, 1, 0, 0, 10, 20, 30}),
                       frameText(0x15, {1, 1, 1, 0, 10, 20, 30}),
                       frameText(0x15, {1, 1, 1, 1, 10, 20, 30})}
        << kSemiBelowOr.arg(10).arg(20).arg(30);
    QTest::newRow("the state radio leaves the condition as it was")
        << QList<int>{Pair::OverlayState, 1}
        << QStringList{frameText(0x15, {0, 0, 0, 0, 10, 20, 30})}
        << kOpaqueAboveAnd.arg(10).arg(20).arg(30);
    QTest::newRow("the choice already made sends nothing")
        << QList<int>{Pair::Mode, 0, Pair::OverlayState, 0} << QStringList{}
        << kOpaqueAboveAnd.arg(10).arg(20).arg(30);
}

void DualPicturePanelTest::overlayChoices() {
    QFETCH(QList<int>, clicks);
    QFETCH(QStringList, sent);
    QFETCH(QString, condition);
    DualRig rig;
    QVERIFY(rig.start());
    QCOMPARE(rig.panel.conditionLabel().text(), kOpaqueAboveAnd.arg(10).arg(20).arg(30));
    const std::size_t from = rig.mark();
    for (qsizetype i = 0; i < clicks.size(); i += 2) {
        QTest::mouseClick(&rig.panel.radio(static_cast<Pair>(clicks[i]), clicks[i + 1]),
                          Qt::LeftButton);
    }
    QCOMPARE(rig.sentSince(from), sent);
    QCOMPARE(rig.panel.conditionLabel().text(), condition);
}

void DualPicturePanelTest::pictureTwoSwitch_data() {
    QTest::addColumn<bool>("on");     // picture 2 before
    QTest::addColumn<QString>("act"); // "on" (开), "off" (关) clicked, or "force" (seamless)
    QTest::addColumn<bool>("picture2Enabled");
    QTest::addColumn<bool>("overlayEnabled");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("posts");
    QTest::newRow("off disables everything and sends D0 = 0")
        << true << "off" << false << false << QStringList{frameText(0x06, {0, 0, 0})}
        << QStringList{"+112 1 0"};
    QTest::newRow("on enables everything and sends D0 = 1")
        << false << "on" << true << true << QStringList{frameText(0x06, {1, 0, 0})}
        << QStringList{"+112 1 0"};
    QTest::newRow("the state it has sends nothing")
        << true << "on" << true << true << QStringList{} << QStringList{};
    QTest::newRow("forced off by seamless switching sends nothing")
        << true << "force" << false << true << QStringList{} << QStringList{};
}

void DualPicturePanelTest::pictureTwoSwitch() {
    QFETCH(bool, on);
    QFETCH(QString, act);
    QFETCH(bool, picture2Enabled);
    QFETCH(bool, overlayEnabled);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, posts);
    DualRig rig;
    QVERIFY(rig.start([on](ParameterMirror& m) { m.pipOn = on ? 1 : 0; }));
    DualPicturePanel& p = rig.panel;
    QCOMPARE(p.sourceList().isEnabled(), on);
    const std::size_t from = rig.mark();
    if (act == QLatin1String("force")) {
        p.forcePicture2Off();
    } else {
        QTest::mouseClick(&p.radio(Pair::Picture2, act == QLatin1String("on") ? 0 : 1),
                          Qt::LeftButton);
    }
    QCOMPARE(rig.sentSince(from), sent);
    QCOMPARE(rig.posts(), posts);
    QCOMPARE(p.radio(Pair::Picture2, 1).isChecked(), act != QLatin1String("on"));
    for (QWidget* w :
         {static_cast<QWidget*>(&p.sourceList()), static_cast<QWidget*>(&p.transparencyList()),
          static_cast<QWidget*>(&p.windowEdit(Picture2Field::Height))}) {
        QCOMPARE(w->isEnabled(), picture2Enabled);
    }
    QVERIFY(p.overlayControls().size() >= 20);
    for (QWidget* w : p.overlayControls()) {
        QVERIFY2(w->isEnabled() == overlayEnabled, qPrintable(w->metaObject()->className()));
    }
    if (!sent.isEmpty()) {
        QCOMPARE(int{rig.server.state().mirror.pipOn}, act == QLatin1String("on") ? 1 : 0);
    }
}

void DualPicturePanelTest::pipMode_data() {
    QTest::addColumn<bool>("autoSwitch"); // else transparency
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("transparency 2") << false << 2 << QStringList{frameText(0x06, {1, 2, 0})};
    QTest::newRow("transparency as it is") << false << 0 << QStringList{};
    QTest::newRow("signal priority") << true << 3 << QStringList{frameText(0x06, {1, 0, 3})};
    QTest::newRow("automatic switching as it is") << true << 0 << QStringList{};
}

// Command 6 carries all three from the mirror; automatic switching also evens the thresholds
// into the mirror without sending them.
void DualPicturePanelTest::pipMode() {
    QFETCH(bool, autoSwitch);
    QFETCH(int, row);
    QFETCH(QStringList, sent);
    DualRig rig;
    QVERIFY(rig.start());
    rig.panel.thresholdEdit(Threshold::Red).setText(QStringLiteral("11"));
    const std::size_t from = rig.mark();
    rig.choose(autoSwitch ? rig.panel.autoSwitchList() : rig.panel.transparencyList(), row);
    QCOMPARE(rig.sentSince(from), sent);
    const bool stored = autoSwitch && !sent.isEmpty();
    QCOMPARE(rig.mirror.overlayRed, stored ? 12 : 10);
    QCOMPARE(rig.panel.thresholdEdit(Threshold::Red).text(), QString::number(stored ? 12 : 11));
}

void DualPicturePanelTest::sourceChangeReadBack_data() {
    QTest::addColumn<int>("autoUpdate");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<QString>("shownX");
    const QString select = frameText(0x11, {1, input::kVga});
    QTest::newRow("自动更新 off: the switch state, read directly")
        << 0 << QStringList{select, readRequest(11)} << 0 << "0";
    QTest::newRow("自动更新 on: the switch state and picture 2, behind the busy dialog")
        << 1 << QStringList{select, readRequest(11), readRequest(4)} << 2 << "200";
}

// The processor moved picture 1 to HDMI and picture 2 elsewhere; the panel shows what it reads
// back, and the input bar hears of picture 1's input without it being sent again.
void DualPicturePanelTest::sourceChangeReadBack() {
    QFETCH(int, autoUpdate);
    QFETCH(QStringList, sent);
    QFETCH(int, dialogs);
    QFETCH(QString, shownX);
    DualRig rig;
    QVERIFY(rig.start());
    rig.server.withModel([](sim::SimModel& model) {
        // Picture 1 on HDMI, and picture 2's window at x 200.
        for (auto [code, data] :
             {std::pair{CommandCode::SelectInput, frame::DataBytes{0, input::kHdmi}},
              std::pair{CommandCode::SetPicture2OutputWindow,
                        frame::DataBytes{0, 200, 0, 0, 2, 0x70, 1, 0x0A}}}) {
            const auto f = frame::buildCommand(static_cast<std::uint8_t>(code), data);
            model.feed(f);
        }
    });
    rig.autoUpdate.ticked = autoUpdate != 0;
    const std::size_t from = rig.mark();
    QComboBox& source = rig.panel.sourceList();
    rig.choose(source, source.findText(QStringLiteral("VGA")));
    QCOMPARE(rig.sentSince(from), sent);
    QCOMPARE(rig.busy.dialogsShown(), dialogs);
    // Without 自动更新 the panel stores picture 1's input itself; with it the input bar does.
    QCOMPARE(int{rig.mirror.pq[pq::kPicture1Source]}, autoUpdate != 0 ? 0 : int{input::kHdmi});
    QCOMPARE(int{rig.mirror.p2Source}, int{input::kVga});
    QCOMPARE(source.currentText(), QStringLiteral("VGA"));
    QCOMPARE(rig.panel.windowEdit(Picture2Field::X).text(), shownX);
    QCOMPARE(rig.log.mid(0, 2), (QStringList{"+303 0 8", "send +119 1 11 sw0"}));
    QVERIFY(rig.presenter.informed.isEmpty());

    // The same source again: nothing.
    const std::size_t again = rig.mark();
    rig.choose(source, source.currentIndex());
    QCOMPARE(rig.sentSince(again), QStringList{});
}

void DualPicturePanelTest::effectChoice_data() {
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("fadeRow");
    QTest::addColumn<QString>("sent");
    QTest::newRow("淡入淡出 without a fade level sends level 1")
        << 1 << -1 << frameText(0x22, {0, 1, 1});
    QTest::newRow("淡入淡出 at Level5") << 1 << 4 << frameText(0x22, {0, 1, 5});
    QTest::newRow("瞬切 at Level3") << 0 << 2 << frameText(0x22, {0, 0, 3});
}

void DualPicturePanelTest::effectChoice() {
    QFETCH(int, effect);
    QFETCH(int, fadeRow);
    QFETCH(QString, sent);
    DualRig rig;
    QVERIFY(rig.start([](ParameterMirror& m) { m.switchEffectValue = 5; }));
    rig.panel.fadeList().setCurrentIndex(fadeRow);
    const std::size_t from = rig.mark();
    QTest::mouseClick(&rig.panel.radio(Pair::Effect, effect), Qt::LeftButton);
    QCOMPARE(rig.sentSince(from), QStringList{sent});
    QCOMPARE(int{rig.mirror.switchEffectMode}, 0);
    QCOMPARE(int{rig.mirror.switchEffectValue}, effect);
    QCOMPARE(int{rig.server.state().fadeTime}, fadeRow < 0 ? 1 : fadeRow + 1);
}

void DualPicturePanelTest::swapReadsTheTopLayerBack_data() {
    QTest::addColumn<bool>("answered");
    QTest::newRow("the processor answers") << true;
    QTest::newRow("the query fails") << false;
}

// "切换" swaps the pictures; the top-layer radios then show what the processor reports.
void DualPicturePanelTest::swapReadsTheTopLayerBack() {
    QFETCH(bool, answered);
    DualRig rig;
    QVERIFY(rig.start([](ParameterMirror& m) { m.switchEffectValue = 1; }));
    QVERIFY(rig.panel.radio(Pair::TopLayer, 1).isChecked());
    if (!answered) {
        sim::SimFaults faults;
        faults.noReply = {readtype::kSwitchState};
        rig.server.setFaults(faults);
    }
    rig.panel.fadeList().setCurrentIndex(3);
    const std::size_t from = rig.mark();
    QTest::mouseClick(&rig.panel.switchButton(), Qt::LeftButton);
    QCOMPARE(rig.sentSince(from), (QStringList{frameText(0x22, {2, 1, 4}), readRequest(11)}));
    QCOMPARE(rig.busy.dialogsShown(), 1);
    QCOMPARE(rig.panel.radio(Pair::TopLayer, 0).isChecked(), answered);
    QCOMPARE(rig.posts(), answered ? QStringList{"+112 1 1"} : QStringList{});
    QCOMPARE(rig.presenter.informed,
             answered ? QStringList{} : QStringList{QStringLiteral("切换查询失败")});
    QCOMPARE(int{rig.mirror.switchState[sw::kTopLayer]}, answered ? 0 : 1);
}

void DualPicturePanelTest::topLayer() {
    DualRig rig;
    QVERIFY(rig.start());
    std::size_t from = rig.mark();
    QTest::mouseClick(&rig.panel.radio(Pair::TopLayer, 0), Qt::LeftButton);
    QCOMPARE(rig.sentSince(from),
             QStringList{frameText(0x16, {0, 0, 0x55, 0x55, 0x55, 0x55, 0x55, 0})});
    QCOMPARE(int{rig.server.state().mirror.switchState[sw::kTopLayer]}, 0);
    QCOMPARE(rig.posts(), QStringList{"+112 1 1"});
    from = rig.mark();
    QTest::mouseClick(&rig.panel.radio(Pair::TopLayer, 0), Qt::LeftButton);
    QCOMPARE(rig.sentSince(from), QStringList{});
}

// The panel's texts in English: those made with the panel and those of each redraw.
void DualPicturePanelTest::englishTexts() {
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/i18n/korvane_en.qm")));
    QCoreApplication::installTranslator(&english);
    {
        DualRig rig;
        QVERIFY(rig.start([](ParameterMirror& m) {
            m.overlayMode = 1;
            m.overlayAboveBelow = 1;
            m.overlayAndOr = 1;
        }));
        QCOMPARE(rig.panel.overlayGroup().title(), QStringLiteral("Overlay"));
        QCOMPARE(rig.panel.radio(Pair::Effect, 1).text(), QStringLiteral("Fade"));
        QCOMPARE(rig.panel.autoSwitchList().itemText(3), QStringLiteral("Signal first"));
        QCOMPARE(rig.panel.conditionLabel().text(),
                 QStringLiteral("Pixels that meet the condition below are semi-transparent; all "
                                "other pixels are fully transparent.\nCondition:\nRed < 10 or\n"
                                "Green < 20 or\nBlue < 30"));
    }
    QCoreApplication::removeTranslator(&english);
}

// In the program's frame: the start-up synchronisation redraws the panel without sending, the
// wall drawing and the communication panel reach it, and so does the frame's PictureInput.
void DualPicturePanelTest::wiredIntoTheFrame() {
    FrameRig rig;
    PanelFactory factory;
    rig.realPanels = &factory;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    auto* dual = dynamic_cast<DualPicturePanel*>(frame.panels().dualPicture);
    auto* centre = dynamic_cast<CentrePane*>(frame.panels().centre);
    auto* comm = dynamic_cast<CommunicationPanel*>(frame.panels().communication);
    QVERIFY(dual != nullptr && centre != nullptr && comm != nullptr);
    for (std::uint8_t code : rig.codesSince(0)) {
        QCOMPARE(int{code}, 0); // reads only
    }
    QCOMPARE(dual->windowEdit(Picture2Field::Width).text(), QString::number(rig.mirror.p2Width));

    rig.mirror.p2Width = 400;
    emit centre->picture2WindowChanged();
    QCOMPARE(dual->windowEdit(Picture2Field::Width).text(), QStringLiteral("400"));

    frame.sendPictureInput(Picture::Two, input::kDp);
    QCOMPARE(dual->sourceList().currentText(), QStringLiteral("DP"));

    comm->autoUpdateBox().setChecked(true);
    rig.mirror.pipOn = 1;
    {
        SendSwitchOff quiet(rig.link);
        dual->refresh(true);
    }
    const std::size_t from = rig.framesSoFar();
    const int shown = rig.busy.dialogsShown();
    QComboBox& source = dual->sourceList();
    source.setCurrentIndex(source.findText(QStringLiteral("AV2")));
    emit source.activated(source.currentIndex());
    QCOMPARE(rig.busy.dialogsShown(), shown + 2); // the 自动更新 read-back
    // The input bar, told picture 1's input with the send switch off, sends nothing itself.
    QCOMPARE(rig.readsSince(from), (std::vector<std::uint8_t>{11, 4}));
    QCOMPARE(rig.codesSince(from), (std::vector<std::uint8_t>{0x11, 0, 0}));
    QCOMPARE(int{rig.server.state().mirror.p2Source}, int{input::kAv2});
    QVERIFY(rig.presenter.informed.isEmpty());
}

QTEST_MAIN(DualPicturePanelTest)
#include "DualPicturePanelTest.moc"
