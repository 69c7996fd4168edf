#include "ui/panels/SoundPanel.h"

#include "PanelRig.h"
#include "support/TempFolder.h"
#include "ui/device/SendSwitchOff.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <cstring>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

// The message box takes the focus from the edit that caused it.
class FocusTakingPresenter : public ScriptedPresenter {
public:
    QWidget* takesFocus = nullptr;
    void inform(QWidget* parent, const QString& text) override {
        ScriptedPresenter::inform(parent, text);
        if (takesFocus != nullptr) {
            takesFocus->setFocus(Qt::OtherFocusReason);
        }
    }
};

struct SoundRig : PanelRig {
    FocusTakingPresenter focusPresenter;
    PanelContext focusContext{link, mirror, facade, settings, focusPresenter, &sink, busy};
    SoundPanel panel{focusContext};

    // Volume 50, sound on, and the panel redrawn from that.
    bool start() {
        if (!connect()) {
            return false;
        }
        mirror.volume = 50;
        mirror.soundOn = 1;
        SendSwitchOff quiet(link);
        panel.refreshFromMirror();
        return true;
    }
    void typeVolume(const QString& text) {
        panel.volumeEdit().setFocus();
        panel.volumeEdit().selectAll();
        QTest::keyClick(&panel.volumeEdit(), Qt::Key_Delete);
        QTest::keyClicks(&panel.volumeEdit(), text);
        QTest::keyClick(&panel.volumeEdit(), Qt::Key_Return);
    }
};

enum class Action { Release, Drag, Enter, Mute, Unmute, PageUp, PortsSet, PortOnly };

} // namespace

Q_DECLARE_METATYPE(Action)

class SoundPanelTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void actionsSendExactlyTheseFrames_data();
    void actionsSendExactlyTheseFrames();
    void outOfRangeVolumeIsRefusedOnce_data();
    void outOfRangeVolumeIsRefusedOnce();
    void refreshSelectsThePortsOfTheMirror_data();
    void refreshSelectsThePortsOfTheMirror();
};

void SoundPanelTest::actionsSendExactlyTheseFrames_data() {
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("shown"); // the volume edit afterwards
    const QString pad = QStringLiteral(" 55 55 55 55 55 55");
    QTest::newRow("slider released at 60")
        << Action::Release << "60" << QStringList{"09 01 3C" + pad} << "60";
    QTest::newRow("slider released where it was")
        << Action::Release << "50" << QStringList{} << "50";
    QTest::newRow("slider dragged, not released") << Action::Drag << "70" << QStringList{} << "70";
    QTest::newRow("page step beside the handle")
        << Action::PageUp << "" << QStringList{"09 01 3C" + pad} << "60";
    QTest::newRow("edit 75 and Enter")
        << Action::Enter << "75" << QStringList{"09 01 4B" + pad} << "75";
    QTest::newRow("edit 0 and Enter")
        << Action::Enter << "0" << QStringList{"09 01 00" + pad} << "0";
    QTest::newRow("edit 100 and Enter")
        << Action::Enter << "100" << QStringList{"09 01 64" + pad} << "100";
    QTest::newRow("edit unchanged and Enter") << Action::Enter << "50" << QStringList{} << "50";
    QTest::newRow("mute") << Action::Mute << "" << QStringList{"09 00 32" + pad} << "50";
    QTest::newRow("unmute") << Action::Unmute << "" << QStringList{"09 01 32" + pad} << "50";
    QTest::newRow("set with every first entry")
        << Action::PortsSet << "0000" << QStringList{"24 00 00 01 00 08 00 0E 00"} << "50";
    QTest::newRow("set with chosen entries")
        << Action::PortsSet << "2102" << QStringList{"24 00 02 01 01 08 00 0E 02"} << "50";
    QTest::newRow("a drop-down alone") << Action::PortOnly << "2" << QStringList{} << "50";
}

void SoundPanelTest::actionsSendExactlyTheseFrames() {
    QFETCH(Action, action);
    QFETCH(QString, value);
    QFETCH(QStringList, sent);
    QFETCH(QString, shown);
    SoundRig rig;
    QVERIFY(rig.start());
    if (action == Action::Unmute) {
        rig.mirror.soundOn = 0;
        SendSwitchOff quiet(rig.link);
        rig.panel.refreshFromMirror();
        QVERIFY(rig.panel.muteBox().isChecked());
    }
    rig.panel.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.panel));
    const std::size_t from = rig.mark();
    QSlider& slider = rig.panel.volumeSlider();
    switch (action) {
    case Action::Release:
    case Action::Drag:
        slider.setSliderDown(true);
        slider.setValue(value.toInt());
        if (action == Action::Release) {
            slider.setSliderDown(false);
        }
        break;
    case Action::PageUp:
        slider.setFocus();
        QTest::keyClick(&slider, Qt::Key_PageUp);
        break;
    case Action::Enter:
        rig.typeVolume(value);
        break;
    case Action::Mute:
    case Action::Unmute:
        rig.panel.muteBox().click();
        break;
    case Action::PortsSet:
    case Action::PortOnly:
        for (qsizetype i = 0; i < value.size(); ++i) {
            rig.panel.portBox(static_cast<std::size_t>(i)).setCurrentIndex(value.mid(i, 1).toInt());
        }
        if (action == Action::PortsSet) {
            QTest::mouseClick(&rig.panel.setButton(), Qt::LeftButton);
        }
        break;
    }
    QCOMPARE(rig.sentSince(from), sent);
    QCOMPARE(rig.panel.volumeEdit().text(), shown);
    QVERIFY(rig.focusPresenter.informed.isEmpty());
    // What went out is what the mirror holds.
    const auto& sim = rig.server.state().mirror;
    if (!sent.isEmpty() && sent[0].startsWith(QLatin1String("09"))) {
        QCOMPARE(sim.volume, rig.mirror.volume);
        QCOMPARE(sim.soundOn, rig.mirror.soundOn);
    }
    if (!sent.isEmpty() && sent[0].startsWith(QLatin1String("24"))) {
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(sim.audioPorts), 8),
                 QByteArray(reinterpret_cast<const char*>(rig.mirror.audioPorts), 8));
    }
}

void SoundPanelTest::outOfRangeVolumeIsRefusedOnce_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("101") << "101";
    QTest::newRow("-1") << "-1";
    QTest::newRow("9999") << "9999";
    QTest::newRow("letters") << "ab";
    QTest::newRow("digits then letters") << "5x";
    QTest::newRow("empty") << "";
}

// Letters and an empty field count as out of range. The message names the bounds, comes once
// although the box takes the focus from the edit, and the edit shows the accepted volume again;
// nothing goes out.
void SoundPanelTest::outOfRangeVolumeIsRefusedOnce() {
    QFETCH(QString, typed);
    SoundRig rig;
    QVERIFY(rig.start());
    rig.focusPresenter.takesFocus = &rig.panel.setButton();
    rig.panel.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.panel));
    const std::size_t from = rig.mark();
    rig.typeVolume(typed);
    QCOMPARE(rig.focusPresenter.informed,
             QStringList{QStringLiteral("输入的值超出范围！(0 ~ 100)")});
    QVERIFY(!rig.panel.volumeEdit().hasFocus());
    QCOMPARE(rig.panel.volumeEdit().text(), QStringLiteral("50"));
    QCOMPARE(rig.panel.volumeSlider().value(), 50);
    QCOMPARE(rig.sentSince(from), QStringList{});
}

void SoundPanelTest::refreshSelectsThePortsOfTheMirror_data() {
    QTest::addColumn<QByteArray>("pairs");
    QTest::addColumn<QList<int>>("selected"); // AV1, AV2, VGA, DVI
    QTest::newRow("all first") << QByteArray::fromHex("0000010008000e00") << QList<int>{0, 0, 0, 0};
    QTest::newRow("DVI on input 3")
        << QByteArray::fromHex("0000010008000e02") << QList<int>{0, 0, 0, 2};
    QTest::newRow("the pair's source decides, not its place")
        << QByteArray::fromHex("0e02010108000000") << QList<int>{0, 1, 0, 2};
    QTest::newRow("unknown source 5 changes nothing")
        << QByteArray::fromHex("0501010208000e00") << QList<int>{0, 2, 0, 0};
    QTest::newRow("audio index above 2 leaves the first")
        << QByteArray::fromHex("0003010108030e01") << QList<int>{0, 1, 0, 1};
}

void SoundPanelTest::refreshSelectsThePortsOfTheMirror() {
    QFETCH(QByteArray, pairs);
    QFETCH(QList<int>, selected);
    SoundRig rig;
    QVERIFY(rig.start());
    for (std::size_t i = 0; i < 4; ++i) {
        rig.panel.portBox(i).setCurrentIndex(2); // a refresh starts from the first entry
    }
    std::memcpy(rig.mirror.audioPorts, pairs.constData(), 8);
    const std::size_t from = rig.mark();
    {
        SendSwitchOff quiet(rig.link);
        rig.panel.refreshFromMirror();
    }
    QList<int> shown;
    for (std::size_t i = 0; i < 4; ++i) {
        shown << rig.panel.portBox(i).currentData().toInt();
    }
    QCOMPARE(shown, selected);
    QCOMPARE(rig.sentSince(from), QStringList{});
}

QTEST_MAIN(SoundPanelTest)
#include "SoundPanelTest.moc"
