#include "FakePanels.h"
#include "PanelRig.h"
#include "core/link/ReadTypes.h"
#include "support/TempFolder.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/MainWindow.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/OutputPanel.h"
#include "ui/panels/SoundPanel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <functional>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

// The recording stand-ins, with the output, sound and communication panels in their panes.
class OwnPanelsFactory : public FakePanelFactory {
public:
    using FakePanelFactory::FakePanelFactory;
    OutputPanel* output = nullptr;
    SoundPanel* sound = nullptr;
    CommunicationPanel* comm = nullptr;

    PanelSet create(const PanelContext& context) override {
        PanelSet set = FakePanelFactory::create(context);
        for (IPanel* stand :
             std::initializer_list<IPanel*>{set.output, set.sound, set.communication}) {
            delete stand->widget();
        }
        set.output = output = new OutputPanel(context);
        set.sound = sound = new SoundPanel(context);
        set.communication = comm = new CommunicationPanel(context);
        return set;
    }
};

struct InFrameRig : PanelRig {
    CallLog log;
    OwnPanelsFactory panels{log};
    std::unique_ptr<MainWindow> frame;
    QList<int> handled;

    bool start() {
        if (!connect()) {
            return false;
        }
        FrameServices services{link, mirror, facade, settings, presenter, &sink,
                               busy, panels, [] {},  {},       {}};
        frame = std::make_unique<MainWindow>(services);
        QObject::connect(frame.get(), &MainWindow::messageHandled,
                         [this](int number, int) { handled << number; });
        frame->resize(1200, 800);
        frame->show();
        // The start-up synchronisation, then the communication panel's first status query.
        return waitSynchronised(1) && waitUntil([this] { return deviceInfoReads() >= 2; });
    }
    qsizetype deviceInfoReads() const {
        qsizetype n = 0;
        for (const auto& f : server.receivedFrames()) {
            n += f[frame::kCodeOffset] == 0 && f[frame::kDataOffset] == readtype::kDeviceInfo;
        }
        return n;
    }
    static bool waitUntil(const std::function<bool()>& done) {
        QDeadlineTimer deadline(30000);
        while (!done()) {
            if (deadline.hasExpired()) {
                return false;
            }
            QTest::qWait(5);
        }
        return true;
    }
    ~InFrameRig() { frame.reset(); }
    bool waitSynchronised(qsizetype count) {
        return waitUntil([this, count] {
            return handled.count(messageNumber(FrameMessage::Synchronise)) >= count;
        });
    }
    QStringList windowTexts() const {
        QStringList t;
        using F = OutputPanel::WindowField;
        for (auto f : {F::X, F::Width, F::Y, F::Height}) {
            t << panels.output->windowEdit(f).text();
        }
        return t;
    }
    QStringList simWindow() const {
        const auto m = server.state().mirror;
        return {QString::number(m.p1OutX), QString::number(m.p1OutWidth), QString::number(m.p1OutY),
                QString::number(m.p1OutHeight)};
    }
};

// Everything after the first frame is a read request.
bool onlyReadsAfterTheFirst(const QStringList& sent) {
    for (qsizetype i = 1; i < sent.size(); ++i) {
        if (!sent[i].startsWith(QLatin1String("00 "))) {
            return false;
        }
    }
    return true;
}

} // namespace

class PanelsInFrameTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void resolutionChangesGoThroughTheFrame();
};

// The panels redraw from what the frame read without sending anything back; a resolution
// change from the list, then a custom one, is sent by the frame, followed by a full read-back
// that the output panel shows.
void PanelsInFrameTest::resolutionChangesGoThroughTheFrame() {
    InFrameRig rig;
    QVERIFY(rig.start());
    const QStringList startUp = rig.sentSince(0);
    QVERIFY(!startUp.isEmpty());
    for (const QString& f : startUp) {
        QVERIFY2(f.startsWith(QLatin1String("00 ")), qPrintable(f));
    }
    OutputPanel& output = *rig.panels.output;
    QCOMPARE(output.resolutionList().currentData().toUInt(), uint{kDefaultResolution});
    QCOMPARE(rig.windowTexts(), rig.simWindow());
    QCOMPARE(rig.panels.sound->volumeSlider().value(), int{rig.server.state().mirror.volume});
    QVERIFY(rig.panels.comm->answeringShown());

    QComboBox& list = output.resolutionList();
    std::size_t from = rig.mark();
    list.setCurrentIndex(list.findData(uint{11}));
    emit list.activated(list.currentIndex());
    QCOMPARE(rig.presenter.asked.size(), 1);
    QVERIFY(rig.waitSynchronised(2));
    QStringList sent = rig.sentSince(from);
    QCOMPARE(sent.value(0), QStringLiteral("02 0B 55 55 55 55 55 55 55"));
    QVERIFY(onlyReadsAfterTheFirst(sent));
    QVERIFY(sent.size() > 10);
    QCOMPARE(rig.frame->currentResolution(), std::uint8_t{11});
    QCOMPARE(list.currentData().toUInt(), uint{11});

    list.setCurrentIndex(list.findData(uint{kCustomResolution}));
    emit list.activated(list.currentIndex());
    using C = OutputPanel::CustomField;
    output.customEdit(C::Width).setText(QStringLiteral("1920"));
    output.customEdit(C::Height).setText(QStringLiteral("1200"));
    output.customEdit(C::Refresh).setText(QStringLiteral("50"));
    from = rig.mark();
    output.sendButton().click();
    QCOMPARE(rig.presenter.asked.size(), 2);
    QVERIFY(rig.waitSynchronised(3));
    sent = rig.sentSince(from);
    QCOMPARE(sent.value(0), QStringLiteral("02 80 01 07 80 04 B0 00 32"));
    QVERIFY(onlyReadsAfterTheFirst(sent));
    QCOMPARE(list.currentData().toUInt(), uint{kCustomResolution});
    QVERIFY(!output.customGroup().isHidden());
    QCOMPARE(output.outputSize(), QSize(1920, 1200));
    QCOMPARE(rig.server.state().customWidth, 1920);
    QCOMPARE(rig.windowTexts(), rig.simWindow());
    QVERIFY(rig.presenter.informed.isEmpty());
}

QTEST_MAIN(PanelsInFrameTest)
#include "PanelsInFrameTest.moc"
