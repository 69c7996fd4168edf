#include "FrameRig.h"
#include "core/link/Frame.h"
#include "core/link/ReadTypes.h"
#include "core/link/ResolutionTable.h"
#include "support/TempFolder.h"
#include "ui/frame/MainWindow.h"
#include "ui/panels/DualPicturePanel.h"
#include "ui/panels/OutputPanel.h"
#include "ui/panels/PanelFactory.h"
#include "ui/wall/CentrePane.h"
#include "ui/wall/WallView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

// The program's frame with its own panels, shown, over the simulator.
struct WallFrame {
    FrameRig rig;
    std::unique_ptr<PanelFactory> factory = std::make_unique<PanelFactory>();

    bool start() {
        rig.realPanels = factory.get();
        if (!rig.connect()) {
            return false;
        }
        return show();
    }
    bool show() {
        MainWindow& frame = rig.makeFrame();
        frame.resize(1280, 800);
        frame.show();
        return QTest::qWaitForWindowExposed(&frame) && rig.handledCount(synchronise()) > 0;
    }
    // A restart: the frame and its panels again, over the same settings and processor.
    bool restart() {
        rig.frame.reset();
        factory = std::make_unique<PanelFactory>();
        rig.realPanels = factory.get();
        rig.handled.clear();
        return show();
    }
    static int synchronise() { return messageNumber(FrameMessage::Synchronise); }
    WallView& view() const {
        return dynamic_cast<CentrePane*>(rig.frame->panels().centre)->wallView();
    }
    DualPicturePanel& dual() const {
        return *dynamic_cast<DualPicturePanel*>(rig.frame->panels().dualPicture);
    }
    OutputPanel& output() const { return *dynamic_cast<OutputPanel*>(rig.frame->panels().output); }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(&view(), Qt::LeftButton, {}, from);
        QTest::mouseMove(&view(), to);
        QTest::mouseRelease(&view(), Qt::LeftButton, {}, to);
    }
    static QPoint centreOf(const Rect& r) {
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // Clicks one of picture 2's on/off radios and waits until the drawing has heard of it.
    bool switchPicture2(bool on) {
        const std::size_t told = rig.handledCount(messageNumber(FrameMessage::LayoutFlag));
        dual().radio(DualPicturePanel::Pair::Picture2, on ? 0 : 1).click();
        return rig.waitHandled(messageNumber(FrameMessage::LayoutFlag), told + 1);
    }
    // Every frame sent so far: a read answered means the simulator took all before it.
    std::vector<std::uint8_t> codesSinceFenced(std::size_t from) {
        rig.busy.runUnseen([this] { rig.link.read(readtype::kDeviceInfo); });
        auto codes = rig.codesSince(from);
        if (!codes.empty() && codes.back() == 0) {
            codes.pop_back();
        }
        return codes;
    }
    ParameterMirror simFenced() {
        codesSinceFenced(rig.framesSoFar());
        return rig.server.state().mirror;
    }
    static void type(QLineEdit& edit, int value) {
        edit.setText(QString::number(value));
        emit edit.editingFinished();
    }
    void feed(CommandCode code, const frame::DataBytes& data) {
        rig.server.withModel([&](sim::SimModel& model) {
            model.feed(frame::buildCommand(static_cast<std::uint8_t>(code), data));
        });
    }
};

} // namespace

class WallInFrameTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void picture2FollowsItsSwitch();
    void customResolutionSizesTheDrawing();
    void wholeAreaPicture1TakesThePress();
};

// After each switch the drawing shows what the mirror holds; picture 2 switched off cannot be
// dragged, so no window goes out for it.
void WallInFrameTest::picture2FollowsItsSwitch() {
    WallFrame w;
    QVERIFY(w.start());
    QVERIFY(w.switchPicture2(true));
    QCOMPARE(int{w.rig.mirror.pipOn}, 1);
    QCOMPARE(int{w.simFenced().pipOn}, 1);
    QVERIFY(w.view().pictureShown(Picture::Two));

    QVERIFY(w.switchPicture2(false));
    QCOMPARE(int{w.simFenced().pipOn}, 0);
    QVERIFY(!w.view().pictureShown(Picture::Two));
    const auto where = w.view().pictureRect(Picture::Two);
    QVERIFY(where.has_value());
    const int x = w.rig.mirror.p2X;
    const std::size_t from = w.rig.framesSoFar();
    const QPoint press = WallFrame::centreOf(*where);
    // A window would go out before the release returns.
    w.drag(press, press + QPoint(30, 20));
    QCOMPARE(w.codesSinceFenced(from), std::vector<std::uint8_t>{});
    QCOMPARE(w.rig.mirror.p2X, x);
    QVERIFY(w.rig.presenter.informed.isEmpty());
}

// On the custom resolution the drawing takes the size the output panel sent, keeps it across a
// restart, and a picture dragged to the far corner stays inside it. Before any custom size is
// known the drawing keeps the last table size.
void WallInFrameTest::customResolutionSizesTheDrawing() {
    WallFrame w;
    // The processor is already on the custom entry when the program starts.
    w.feed(CommandCode::SetOutputResolution, {kCustomResolution, 1, 0x07, 0x80, 0x04, 0xB0, 0, 60});
    QVERIFY(w.start());
    QCOMPARE(int{w.rig.mirror.pq[pq::kOutputResolution]}, int{kCustomResolution});
    QCOMPARE(w.view().outputSize(), QSize(1280, 1024)); // the default table size

    OutputPanel& output = w.output();
    using C = OutputPanel::CustomField;
    output.customEdit(C::Width).setText(QStringLiteral("1024"));
    output.customEdit(C::Height).setText(QStringLiteral("600"));
    output.customEdit(C::Refresh).setText(QStringLiteral("50"));
    output.sendButton().click();
    QVERIFY(w.rig.waitHandled(WallFrame::synchronise(), 2));
    QCOMPARE(w.view().outputSize(), QSize(1024, 600));
    QCOMPARE(output.outputSize(), QSize(1024, 600));
    const auto kept = w.rig.settings.readCustomResolution();
    QVERIFY(kept.has_value());
    QCOMPARE(kept->width, 1024);
    QCOMPARE(kept->height, 600);
    QCOMPARE(kept->refresh, 50);

    // A small picture 1, dragged far beyond the bottom-right corner.
    w.type(output.windowEdit(OutputPanel::WindowField::Width), 400);
    w.type(output.windowEdit(OutputPanel::WindowField::Height), 300);
    QCOMPARE(w.simFenced().p1OutHeight, 300);
    const auto r = w.view().pictureRect(Picture::One);
    QVERIFY(r.has_value());
    const QPoint press = WallFrame::centreOf(*r);
    w.drag(press, press + QPoint(3000, 3000));
    const ParameterMirror sim = w.simFenced();
    const int right = sim.p1OutX + sim.p1OutWidth;
    const int bottom = sim.p1OutY + sim.p1OutHeight;
    QVERIFY2(right <= 1024 && right >= 1016, qPrintable(QString::number(right)));
    QVERIFY2(bottom <= 600 && bottom >= 592, qPrintable(QString::number(bottom)));

    QVERIFY(w.restart());
    QCOMPARE(w.view().outputSize(), QSize(1024, 600));
    QCOMPARE(w.output().customEdit(C::Width).text(), QStringLiteral("1024"));
    QVERIFY(w.rig.presenter.informed.isEmpty());
}

// Picture 1 shown over the whole area and on top hides picture 2: a press there finds picture
// 1, which cannot be dragged, and nothing is sent.
void WallInFrameTest::wholeAreaPicture1TakesThePress() {
    WallFrame w;
    QVERIFY(w.start());
    QVERIFY(w.switchPicture2(true));
    // Picture 1 in the top-left quarter, picture 2 in the bottom-right one, typed in.
    w.type(w.output().windowEdit(OutputPanel::WindowField::Width), 640);
    w.type(w.output().windowEdit(OutputPanel::WindowField::Height), 512);
    for (auto [field, value] : {std::pair{Picture2Field::Width, 640},
                                {Picture2Field::Height, 512},
                                {Picture2Field::X, 640},
                                {Picture2Field::Y, 512}}) {
        w.type(w.dual().windowEdit(field), value);
    }
    const ParameterMirror typed = w.simFenced();
    QCOMPARE(typed.p2Y, 512);
    QCOMPARE(typed.p1OutWidth, 640);
    const int wholeArea = messageNumber(FrameMessage::Picture1WholeArea);
    const std::size_t told = w.rig.handledCount(wholeArea);
    w.rig.frame->postPicture1OnTop(true);
    w.rig.frame->postPicture1WholeArea(true);
    QVERIFY(w.rig.waitHandled(wholeArea, told + 1));
    const auto p2 = w.view().pictureRect(Picture::Two);
    QVERIFY(p2.has_value());
    QVERIFY(p2->left > 0 && p2->top > 0);

    const std::size_t from = w.rig.framesSoFar();
    const QPoint press = WallFrame::centreOf(*p2);
    w.drag(press, press - QPoint(40, 40));
    QCOMPARE(w.codesSinceFenced(from), std::vector<std::uint8_t>{});
    QVERIFY(!w.view().selectedPicture().has_value());
    QCOMPARE(w.view().pictureRect(Picture::Two)->left, p2->left);
    QCOMPARE(w.view().drag(), WallView::Drag::None);
}

QTEST_MAIN(WallInFrameTest)
#include "WallInFrameTest.moc"
