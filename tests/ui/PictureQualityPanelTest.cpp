#include "ui/panels/PictureQualityPanel.h"

#include "PanelRig.h"
#include "support/TempFolder.h"
#include "ui/device/BusyDialog.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/i18n/UiText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTranslator>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;
using namespace korvane::ui::pqpanel;

namespace {

// Image mode "用户", colour temperature "用户": every slider and edit is open to the operator.
constexpr std::uint8_t kOpen[15] = {0, 50, 58, 60, 12, 0, 0, 0, 3, 50, 50, 50, 0, 0, 0};

struct PqRig : PanelRig {
    PictureQualityPanel panel{context};

    bool start(const std::uint8_t (&pqBytes)[15] = kOpen) {
        if (!connect()) {
            return false;
        }
        std::copy(std::begin(pqBytes), std::end(pqBytes), mirror.pq);
        refresh();
        return true;
    }
    void refresh() {
        SendSwitchOff quiet(link);
        panel.refreshFromMirror();
    }
    QLineEdit* edit(const QString& name) const {
        return panel.findChild<QLineEdit*>(name + QStringLiteral("Edit"));
    }
    QSlider* slider(const QString& name) const {
        return panel.findChild<QSlider*>(name + QStringLiteral("Slider"));
    }
    QComboBox* dropDown(const QString& name) const { return panel.findChild<QComboBox*>(name); }

    void type(const QString& name, const QString& text) {
        edit(name)->clear();
        QTest::keyClicks(edit(name), text);
        QTest::keyClick(edit(name), Qt::Key_Return);
    }
    void choose(const QString& name, const QString& text) {
        QComboBox* box = dropDown(name);
        box->setCurrentIndex(box->findText(text));
        emit box->activated(box->currentIndex());
    }
    // The positions of a drag, with the edit's text at each; the mouse lets go at the last.
    QStringList drag(const QString& name, const QStringList& positions) {
        QSlider* s = slider(name);
        QStringList shown;
        s->setSliderDown(true);
        for (const QString& p : positions) {
            s->setSliderPosition(p.toInt());
            shown << edit(name)->text();
        }
        s->setSliderDown(false);
        return shown;
    }
};

QString pqCommand(int subCode, int value) {
    return QStringLiteral("03 %1 00 %2 55 55 55 55 55")
        .arg(subCode, 2, 16, QLatin1Char('0'))
        .arg(value, 2, 16, QLatin1Char('0'))
        .toUpper();
}
QString colourCommand(int temperature, int red, int green, int blue) {
    QString s = QStringLiteral("03 08 00");
    for (int v : {temperature, red, green, blue}) {
        s += QStringLiteral(" %1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
    }
    return s + QStringLiteral(" 55 55");
}
const QString kReadMain = QStringLiteral("00 00 55 55 55 55 55 55 55");

QString range(int maximum) {
    return QStringLiteral("输入的值超出范围！(0 ~ %1)").arg(maximum);
}

// Records the caption of every busy dialog shown while it lives, and whether the gains were
// open to the operator at that moment.
class BusyWatch : public QObject {
public:
    QStringList captions;
    bool gainsOpen = false;
    explicit BusyWatch(const QSlider* gain) : gain_(gain) { qApp->installEventFilter(this); }
    ~BusyWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* dlg = qobject_cast<BusyDialog*>(watched)) {
                captions << dlg->caption();
                gainsOpen = gain_->isEnabled();
            }
        }
        return false;
    }

private:
    const QSlider* gain_;
};

enum class Act { Type, Choose, Unselect, Release, Drag, Key, Click };

} // namespace

Q_DECLARE_METATYPE(Act)

class PictureQualityPanelTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void operatorActionsSendExactly_data();
    void operatorActionsSendExactly();
    void readBacksReplaceTheirBytesOnly_data();
    void readBacksReplaceTheirBytesOnly();
    void enableRulesFollowTheSelection_data();
    void enableRulesFollowTheSelection();
    void resetSendsTheFactoryValuesInOrder();
    void colourTemperatureWithTheLinkClosedKeepsTheGains();
    void refreshShowsTheMirrorInTheCurrentLanguage();
};

void PictureQualityPanelTest::operatorActionsSendExactly_data() {
    QTest::addColumn<Act>("act");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("editAfter"); // empty: not looked at

    const auto row = [](const char* name, Act act, const char* control, const char* input,
                        const QStringList& sent, const QString& message = {},
                        const char* editAfter = "") {
        QTest::newRow(name) << act << QString::fromUtf8(control) << QString::fromUtf8(input) << sent
                            << message << QString::fromUtf8(editAfter);
    };
    row("brightness 60", Act::Type, "brightness", "60", {pqCommand(0, 60)}, {}, "60");
    row("brightness as it is", Act::Type, "brightness", "50", {});
    row("sharpness 24, the last tick", Act::Type, "sharpness", "24", {pqCommand(3, 24)}, {}, "24");
    row("sharpness 25", Act::Type, "sharpness", "25", {}, range(24), "12");
    row("contrast 101", Act::Type, "contrast", "101", {}, range(100), "58");
    row("blue -1", Act::Type, "blue", "-1", {}, range(100), "50");
    row("brightness 2^32 + 50", Act::Type, "brightness", "4294967346", {}, range(100), "50");
    row("colour not a number", Act::Type, "colour", "abc", {}, range(100), "60");
    row("colour emptied", Act::Type, "colour", "", {}, range(100), "60");
    row("red 70 goes with the others", Act::Type, "red", "70", {colourCommand(3, 70, 50, 50)});
    row("green slider released", Act::Release, "green", "80", {colourCommand(3, 50, 80, 50)});
    row("brightness dragged", Act::Drag, "brightness", "10,20,30", {pqCommand(0, 30)}, {}, "30");
    row("brightness dragged back", Act::Drag, "brightness", "70,50", {}, {}, "50");
    row("brightness key step", Act::Key, "brightness", "", {pqCommand(0, 51)}, {}, "51");
    row("scene mode 剧场", Act::Choose, "sceneMode", "剧场", {pqCommand(6, 2)});
    row("scene mode as it is", Act::Choose, "sceneMode", "普通", {});
    row("scene mode without selection", Act::Unselect, "sceneMode", "", {});
    row("gamma -1.2", Act::Choose, "gamma", "-1.2", {pqCommand(11, 1)});
    row("VGA Level2", Act::Choose, "vgaEnhancement", "Level2", {pqCommand(5, 3)});
    row("3D noise reduction 高", Act::Choose, "noiseReduction", "高", {pqCommand(4, 4)});
    row("black extension", Act::Click, "blackExtension", "", {pqCommand(7, 1)});
}

// What reaches the processor for each action, and what must not: equal values, drag positions
// before the release, refused entries, a drop-down without a selection.
void PictureQualityPanelTest::operatorActionsSendExactly() {
    QFETCH(Act, act);
    QFETCH(QString, control);
    QFETCH(QString, input);
    QFETCH(QStringList, sent);
    QFETCH(QString, message);
    QFETCH(QString, editAfter);
    PqRig rig;
    QVERIFY(rig.start());
    const std::size_t from = rig.mark();
    switch (act) {
    case Act::Type:
        rig.type(control, input);
        break;
    case Act::Choose:
        rig.choose(control, input);
        break;
    case Act::Unselect:
        rig.dropDown(control)->setCurrentIndex(-1);
        emit rig.dropDown(control)->activated(-1);
        break;
    case Act::Release:
        rig.drag(control, {input});
        break;
    case Act::Drag: {
        const QStringList positions = input.split(QLatin1Char(','));
        QCOMPARE(rig.drag(control, positions), positions); // the edit follows the drag
        break;
    }
    case Act::Key:
        QTest::keyClick(rig.slider(control), Qt::Key_Right);
        break;
    case Act::Click:
        rig.panel.findChild<QCheckBox*>(control)->click();
        break;
    }
    QCOMPARE(rig.sentSince(from), sent);
    QCOMPARE(rig.presenter.informed, message.isEmpty() ? QStringList{} : QStringList{message});
    if (!editAfter.isEmpty()) {
        QCOMPARE(rig.edit(control)->text(), editAfter);
        QCOMPARE(rig.slider(control)->value(), editAfter.toInt());
    }
}

void PictureQualityPanelTest::readBacksReplaceTheirBytesOnly_data() {
    QTest::addColumn<Act>("act");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("write");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("sentIndex");
    QTest::addColumn<int>("first"); // the bytes the read replaces
    QTest::addColumn<int>("last");
    const QString a = QStringLiteral("更新画质调整参数");
    const QString b = QStringLiteral("更新参数");
    QTest::newRow("image mode 亮丽: A") << Act::Choose << "imageMode"
                                        << "亮丽" << true << pqCommand(10, 1) << a << 0 << 0 << 13;
    QTest::newRow("DVI enhancement: A") << Act::Click << "dviEnhancement"
                                        << "" << true << pqCommand(9, 1) << a << 13 << 0 << 13;
    QTest::newRow("colour temperature 用户: B")
        << Act::Choose << "colourTemperature"
        << "用户" << true << colourCommand(3, 255, 255, 255) << b << 8 << 9 << 11;
    QTest::newRow("image mode, no answer")
        << Act::Choose << "imageMode"
        << "亮丽" << false << pqCommand(10, 1) << a << 0 << 0 << -1;
}

// The program's bytes differ from the processor's everywhere, so that the bytes a read
// replaces show; the redraw afterwards sends nothing back.
void PictureQualityPanelTest::readBacksReplaceTheirBytesOnly() {
    QFETCH(Act, act);
    QFETCH(QString, control);
    QFETCH(QString, input);
    QFETCH(bool, answered);
    QFETCH(QString, write);
    QFETCH(QString, caption);
    QFETCH(int, sentIndex);
    QFETCH(int, first);
    QFETCH(int, last);
    PqRig rig;
    if (!answered) {
        sim::SimFaults faults;
        faults.noReply = {readtype::kMain};
        rig.server.setFaults(faults);
    }
    QVERIFY(rig.start({0, 11, 12, 13, 14, 2, 3, 4, 0, 15, 16, 17, 1, 0, 5}));
    const ParameterMirror before = rig.mirror;
    const std::size_t from = rig.mark();
    BusyWatch watch(rig.slider(QStringLiteral("red")));
    if (act == Act::Choose) {
        rig.choose(control, input);
    } else {
        rig.panel.findChild<QCheckBox*>(control)->click();
    }

    QCOMPARE(rig.sentSince(from), (QStringList{write, kReadMain}));
    QCOMPARE(watch.captions, QStringList{caption});
    const ParameterMirror device = rig.server.state().mirror;
    for (int i = 0; i < 15; ++i) {
        const auto u = static_cast<std::size_t>(i);
        // The processor holds the byte that was sent as well.
        const bool fromDevice = (i >= first && i <= last) || i == sentIndex;
        const int expected = fromDevice ? device.pq[u] : before.pq[u];
        QVERIFY2(rig.mirror.pq[u] == expected, qPrintable(QString::number(i)));
    }
    QCOMPARE(rig.edit(QStringLiteral("brightness"))->text(),
             QString::number(rig.mirror.pq[pq::kBrightness]));
    QCOMPARE(rig.dropDown(QStringLiteral("sceneMode"))->currentData().toInt(),
             int{rig.mirror.pq[pq::kSceneMode]});
    if (act == Act::Choose) {
        QCOMPARE(rig.dropDown(control)->currentText(), input);
    }
    QCOMPARE(rig.presenter.informed,
             answered ? QStringList{} : QStringList{uiText(MessageId::SyncFailed)});
    if (control == QLatin1String("colourTemperature")) {
        QVERIFY(watch.gainsOpen); // opened before the processor is asked
    }
    QCOMPARE(rig.link.sendSwitch(), 1);
}

// With the link closed no gains can be read back, so the previous ones stay in the mirror and
// the edits instead of the placeholders the command carries.
void PictureQualityPanelTest::colourTemperatureWithTheLinkClosedKeepsTheGains() {
    PqRig rig;
    QVERIFY(rig.start({0, 11, 12, 13, 14, 2, 3, 4, 3, 15, 16, 17, 1, 0, 5}));
    rig.link.close();
    rig.choose(QStringLiteral("colourTemperature"), QStringLiteral("暖色"));
    QCOMPARE(int{rig.mirror.pq[pq::kColourTemperature]}, 1);
    QCOMPARE(int{rig.mirror.pq[pq::kRedGain]}, 15);
    QCOMPARE(int{rig.mirror.pq[pq::kGreenGain]}, 16);
    QCOMPARE(int{rig.mirror.pq[pq::kBlueGain]}, 17);
    QCOMPARE(rig.edit(QStringLiteral("red"))->text(), QStringLiteral("15"));
    QCOMPARE(rig.edit(QStringLiteral("blue"))->text(), QStringLiteral("17"));
}

void PictureQualityPanelTest::enableRulesFollowTheSelection_data() {
    QTest::addColumn<int>("earlierMode");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("temperature");
    QTest::addColumn<bool>("adjustable");
    QTest::addColumn<bool>("gains");
    QTest::newRow("用户, 用户") << 1 << 0 << 3 << true << true;
    QTest::newRow("亮丽, 标准") << 0 << 1 << 0 << false << false;
    QTest::newRow("标准, 冷色") << 0 << 3 << 2 << false << false;
    QTest::newRow("unknown mode after 亮丽") << 1 << 9 << 9 << false << false;
    QTest::newRow("unknown mode after 用户") << 0 << 9 << 3 << true << true;
}

// Brightness to sharpness belong to image mode "用户", the gains to colour temperature "用户";
// a mode that matches no entry leaves the controls as they were.
void PictureQualityPanelTest::enableRulesFollowTheSelection() {
    QFETCH(int, earlierMode);
    QFETCH(int, mode);
    QFETCH(int, temperature);
    QFETCH(bool, adjustable);
    QFETCH(bool, gains);
    PqRig rig;
    QVERIFY(rig.start());
    rig.mirror.pq[pq::kImageMode] = static_cast<std::uint8_t>(earlierMode);
    rig.refresh();
    rig.mirror.pq[pq::kImageMode] = static_cast<std::uint8_t>(mode);
    rig.mirror.pq[pq::kColourTemperature] = static_cast<std::uint8_t>(temperature);
    rig.refresh();
    for (Slider s : {kBrightness, kContrast, kColour, kSharpness}) {
        QCOMPARE(rig.panel.slider(s)->isEnabled(), adjustable);
        QCOMPARE(rig.panel.edit(s)->isEnabled(), adjustable);
    }
    for (Slider s : {kRed, kGreen, kBlue}) {
        QCOMPARE(rig.panel.slider(s)->isEnabled(), gains);
        QCOMPARE(rig.panel.edit(s)->isEnabled(), gains);
    }
}

// No question and no read-back; the gains go out once per gain and once more with the
// temperature; black extension and VGA enhancement stay as they are.
void PictureQualityPanelTest::resetSendsTheFactoryValuesInOrder() {
    PqRig rig;
    QVERIFY(rig.start({1, 70, 71, 72, 20, 3, 4, 2, 2, 80, 81, 82, 1, 1, 4}));
    QVERIFY(!rig.panel.slider(kBrightness)->isEnabled());
    const std::size_t from = rig.mark();
    rig.panel.resetButton()->click();

    const QString gains = colourCommand(0, 50, 50, 50);
    QCOMPARE(rig.sentSince(from),
             (QStringList{pqCommand(9, 0), pqCommand(10, 0), pqCommand(0, 50), gains, gains, gains,
                          pqCommand(3, 12), pqCommand(2, 50), pqCommand(1, 50), pqCommand(4, 0),
                          gains, pqCommand(11, 0), pqCommand(6, 1)}));
    QVERIFY(rig.presenter.asked.isEmpty());
    const std::uint8_t expected[15] = {0, 50, 50, 50, 12, 0, 4, 1, 0, 50, 50, 50, 1, 0, 0};
    QVERIFY(std::equal(std::begin(expected), std::end(expected), rig.mirror.pq));
    const ParameterMirror device = rig.server.state().mirror;
    for (std::size_t i = 0; i < 15; ++i) {
        if (i != pq::kVgaEnhancement && i != pq::kBlackExtension) {
            QVERIFY2(device.pq[i] == rig.mirror.pq[i], qPrintable(QString::number(i)));
        }
    }
    QStringList texts;
    for (std::size_t s = 0; s < kSliderCount; ++s) {
        texts << rig.panel.edit(static_cast<Slider>(s))->text();
    }
    QCOMPARE(texts, (QStringList{"50", "50", "50", "12", "50", "50", "50"}));
    QVERIFY(rig.panel.slider(kBrightness)->isEnabled());
    QVERIFY(!rig.panel.slider(kRed)->isEnabled());
    QVERIFY(!rig.panel.check(kDviEnhancement)->isChecked());
    QCOMPARE(rig.panel.dropDown(kScene)->currentText(), QStringLiteral("生动"));
}

// Unknown values select nothing; a gain the processor has yet to report shows as 255; the
// entries follow the language installed at the time of the refresh.
void PictureQualityPanelTest::refreshShowsTheMirrorInTheCurrentLanguage() {
    PqRig rig;
    QVERIFY(rig.start({2, 1, 2, 3, 4, 1, 6, 9, 1, 255, 255, 255, 0, 1, 1}));
    QCOMPARE(rig.sentSince(0), QStringList{});
    QCOMPARE(rig.panel.dropDown(kImageMode)->currentText(), QStringLiteral("柔和"));
    QCOMPARE(rig.panel.dropDown(kNoiseReduction)->currentText(), QStringLiteral("自动"));
    QCOMPARE(rig.panel.dropDown(kVgaEnhancement)->currentText(), QStringLiteral("自动"));
    QCOMPARE(rig.panel.dropDown(kScene)->currentIndex(), -1);
    QCOMPARE(rig.panel.dropDown(kGamma)->currentText(), QStringLiteral("-1.2"));
    QCOMPARE(rig.panel.edit(kSharpness)->text(), QStringLiteral("4"));
    QCOMPARE(rig.panel.edit(kRed)->text(), QStringLiteral("255"));
    QCOMPARE(rig.panel.slider(kRed)->value(), 100);
    QVERIFY(rig.panel.check(kDviEnhancement)->isChecked());

    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/i18n/korvane_en.qm")));
    QCoreApplication::installTranslator(&english);
    rig.refresh();
    QCoreApplication::removeTranslator(&english);
    QCOMPARE(rig.panel.dropDown(kImageMode)->currentText(), QStringLiteral("Soft"));
    QCOMPARE(rig.panel.dropDown(kColourTemp)->itemText(3), QStringLiteral("User"));
    QCOMPARE(rig.panel.dropDown(kImageMode)->count(), 4);
    rig.refresh();
    QCOMPARE(rig.panel.dropDown(kImageMode)->currentText(), QStringLiteral("柔和"));
}

QTEST_MAIN(PictureQualityPanelTest)
#include "PictureQualityPanelTest.moc"
