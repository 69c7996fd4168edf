#include "ui/panels/PanelFactory.h"

#include "PanelRig.h"
#include "core/link/InputCodes.h"
#include "support/TempFolder.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/MainWindow.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/InputBar.h"
#include "ui/panels/PictureQualityPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

// The frame as the program builds it, over the simulator.
struct FactoryRig : PanelRig {
    PanelFactory factory;
    std::unique_ptr<MainWindow> frame;
    QList<int> handled;

    // The processor is on DP with brightness 77 before the program starts.
    std::size_t startUpFrom = 0;
    bool start() {
        if (!connect()) {
            return false;
        }
        facade.selectInput(Picture::One, input::kDp);
        facade.setPictureQuality(PictureQualityItem::Brightness, 77);
        if (sentSince(0).size() != 2) {
            return false;
        }
        startUpFrom = mark();
        FrameServices services{link, mirror,  facade, settings, presenter, &sink,
                               busy, factory, [] {},  {},       {}};
        frame = std::make_unique<MainWindow>(services);
        QObject::connect(frame.get(), &MainWindow::messageHandled,
                         [this](int number, int) { handled << number; });
        frame->resize(1200, 800);
        frame->show();
        return waitHandled(FrameMessage::Synchronise, 1);
    }
    ~FactoryRig() { frame.reset(); }
    bool waitHandled(FrameMessage m, qsizetype count) {
        QDeadlineTimer deadline(30000);
        while (handled.count(messageNumber(m)) < count) {
            if (deadline.hasExpired()) {
                return false;
            }
            QTest::qWait(5);
        }
        return true;
    }
    InputBar& bar() const { return *dynamic_cast<InputBar*>(frame->panels().inputBar); }
    PictureQualityPanel& quality() const {
        return *dynamic_cast<PictureQualityPanel*>(frame->panels().pictureQuality);
    }
    bool showsVgaEnhancement() const {
        const PictureQualityPanel& q = quality();
        return q.dropDown(pqpanel::kVgaEnhancement)->isVisibleTo(&q) &&
               !q.dropDown(pqpanel::kNoiseReduction)->isVisibleTo(&q);
    }
};

} // namespace

class PanelFactoryTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void realPanelsFollowTheProcessorAndEachOther();
};

// The start-up synchronisation redraws the input bar and the picture-quality pane from the
// processor without sending anything back; an input button reaches the picture-quality pane
// through the frame, which shows VGA enhancement for a VGA input only.
void PanelFactoryTest::realPanelsFollowTheProcessorAndEachOther() {
    FactoryRig rig;
    QVERIFY(rig.start());

    const QStringList startUp = rig.sentSince(rig.startUpFrom);
    QVERIFY(!startUp.isEmpty());
    for (const QString& f : startUp) {
        QVERIFY2(f.startsWith(QLatin1String("00 ")), qPrintable(f)); // reads only
    }
    QCOMPARE(rig.bar().currentInput(), input::kDp);
    QVERIFY(!rig.bar().findChild<QToolButton*>(QStringLiteral("inputDP"))->isEnabled());
    QCOMPARE(rig.quality().edit(pqpanel::kBrightness)->text(), QStringLiteral("77"));
    QVERIFY(!rig.showsVgaEnhancement());

    dynamic_cast<CommunicationPanel*>(rig.frame->panels().communication)
        ->autoUpdateBox()
        .setChecked(false);
    const qsizetype told = rig.handled.count(messageNumber(FrameMessage::PictureQualityInput));
    std::size_t from = rig.mark();
    rig.bar().findChild<QToolButton*>(QStringLiteral("inputVGA"))->click();
    QVERIFY(rig.waitHandled(FrameMessage::PictureQualityInput, told + 1));
    QCOMPARE(rig.sentSince(from), QStringList{QStringLiteral("11 00 08 55 55 55 55 55 55")});
    QVERIFY(rig.showsVgaEnhancement());

    from = rig.mark();
    rig.bar().findChild<QToolButton*>(QStringLiteral("inputHDMI"))->click();
    QVERIFY(rig.waitHandled(FrameMessage::PictureQualityInput, told + 2));
    QCOMPARE(rig.sentSince(from), QStringList{QStringLiteral("11 00 0B 55 55 55 55 55 55")});
    QVERIFY(!rig.showsVgaEnhancement());
    QVERIFY(rig.presenter.informed.isEmpty());
}

QTEST_MAIN(PanelFactoryTest)
#include "PanelFactoryTest.moc"
