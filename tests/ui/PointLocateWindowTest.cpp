#include "ui/locate/PointLocateWindow.h"

#include "PanelRig.h"
#include "support/TempFolder.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/MainWindow.h"
#include "ui/frame/MenuCommand.h"
#include "ui/locate/LocateSettingsDialog.h"
#include "ui/locate/TestPatternWindow.h"
#include "ui/panels/PanelFactory.h"
#include "ui/panels/PanelNumbers.h"
#include "ui/wall/CentrePane.h"
#include "ui/wall/WallView.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

constexpr std::uint8_t k1920x1080 = 11;

// A LocatePoint frame as PanelRig::describe writes it.
QString locateFrame(int x, int y, int mode) {
    return QStringLiteral("23 %1 %2 %3 %4 %5 55 55 55")
        .arg(x >> 8, 2, 16, QLatin1Char('0'))
        .arg(x & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(y >> 8, 2, 16, QLatin1Char('0'))
        .arg(y & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(mode, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString patternFrame(int action) {
    return QStringLiteral("7F 03 %1 55 55 55 55 55 55")
        .arg(action, 2, 16, QLatin1Char('0'))
        .toUpper();
}

// The frame as the program builds it, over the simulator, on a 1920 × 1080 output with
// picture 1 filling it.
struct LocateRig : PanelRig {
    PanelFactory factory;
    std::unique_ptr<MainWindow> frame;
    QList<std::pair<int, QPoint>> handled; // message number, parameters
    int settingsDialogs = 0;
    int generation = 0;

    bool start() {
        if (!connect()) {
            return false;
        }
        facade.setOutputResolution(k1920x1080);
        facade.setPicture1OutputWindow({0, 0, 1920, 1080});
        if (sentSince(0).size() != 2) {
            return false;
        }
        FrameServices services{link, mirror,  facade, settings, presenter, &sink,
                               busy, factory, [] {},  {},       {}};
        frame = std::make_unique<MainWindow>(services);
        QObject::connect(frame.get(), &MainWindow::messageHandled, [this](int number, int) {
            handled << std::pair{number, QPoint()};
        });
        frame->resize(1200, 800);
        frame->show();
        return QTest::qWaitForWindowExposed(frame.get()) &&
               waitFor([this] { return count(FrameMessage::Synchronise) >= 1; });
    }
    ~LocateRig() { frame.reset(); }

    // Brings the frame back to how start() left it, for the next row: the tool windows closed
    // (which takes the marker off the wall), positioning over, and nothing recorded.
    bool reset() {
        ++generation; // a settings answer still waiting is not for the next row
        PointLocateWindow& w = locate();
        if (w.isVisible() || w.active()) {
            const qsizetype closed = count(FrameMessage::PointLocateClosed);
            w.close();
            if (!waitFor(
                    [this, closed] { return count(FrameMessage::PointLocateClosed) > closed; })) {
                return false;
            }
        }
        if (patterns().isVisible()) {
            patterns().close();
        }
        if (QApplication::activeModalWidget() != nullptr ||
            QApplication::activePopupWidget() != nullptr || led().positioning() ||
            menuItem().isChecked()) {
            return false;
        }
        handled.clear();
        settingsDialogs = 0;
        presenter.informed.clear();
        return true;
    }

    static bool waitFor(const std::function<bool()>& done) {
        QDeadlineTimer deadline(30000);
        while (!done()) {
            if (deadline.hasExpired()) {
                return false;
            }
            QTest::qWait(5);
        }
        return true;
    }
    qsizetype count(FrameMessage m) const {
        qsizetype n = 0;
        for (const auto& h : handled) {
            n += h.first == messageNumber(m) ? 1 : 0;
        }
        return n;
    }
    PointLocateWindow& locate() const {
        return *dynamic_cast<PointLocateWindow*>(frame->panels().pointLocate);
    }
    TestPatternWindow& patterns() const {
        return *dynamic_cast<TestPatternWindow*>(frame->panels().testPattern);
    }
    WallView& led() const { return dynamic_cast<CentrePane*>(frame->panels().centre)->wallView(); }
    QAction& menuItem() const { return *frame->action(menucmd::kPointLocate); }
    // What went out besides the communication panel's status reads.
    QStringList commandsSince(std::size_t from) {
        QStringList out;
        for (const QString& f : sentSince(from)) {
            if (!f.startsWith(QLatin1String("00 "))) {
                out << f;
            }
        }
        return out;
    }

    // Runs "水平/垂直定位", answering its settings dialog with the four texts (OK), or
    // cancelling it when `texts` is empty.
    void runTool(const QStringList& texts) {
        answerSettings(texts);
        frame->runCommand(menucmd::kPointLocate);
    }
    void answerSettings(const QStringList& texts) {
        QTimer::singleShot(10, frame.get(), [this, texts, g = generation] {
            if (g != generation) {
                return;
            }
            auto* dlg = qobject_cast<LocateSettingsDialog*>(QApplication::activeModalWidget());
            if (dlg == nullptr) {
                answerSettings(texts);
                return;
            }
            ++settingsDialogs;
            if (texts.isEmpty()) {
                dlg->reject();
                return;
            }
            for (int f = 0; f < LocateSettingsDialog::FieldCount; ++f) {
                dlg->edit(LocateSettingsDialog::Field(f)).setText(texts.at(f));
            }
            dlg->accept();
        });
    }
    // Opens the tool with these sizes and waits until the window holds its box.
    bool open(int box, int module = 16) {
        const QString b = QString::number(box);
        const QString m = QString::number(module);
        runTool({b, b, m, m});
        return waitFor([this] { return locate().isVisible() && locate().holdsImage(); });
    }
    // Types into the edits; an empty text leaves the edit as it is.
    void type(const QString& x, const QString& y) {
        if (!x.isNull()) {
            locate().xEdit().setText(x);
        }
        if (!y.isNull()) {
            locate().yEdit().setText(y);
        }
    }
    // The drawing's selected box once the frame has passed the window's box message on.
    bool drawingSelects(QPoint box) {
        return waitFor([this, box] { return led().selectedBox() == QPointF(box); });
    }
};

} // namespace

class PointLocateWindowTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;
    std::unique_ptr<LocateRig> shared_;
    QByteArray sharedFor_;

    // One frame for every row of a data-driven function, so that its start-up runs once; each
    // row after the first gets it back as start() left it, and looks only at what follows.
    LocateRig* sharedRig() {
        if (shared_ != nullptr && !shared_->reset()) {
            shared_.reset();
            return nullptr; // this row fails; the next one starts a frame of its own
        }
        if (shared_ == nullptr) {
            shared_ = std::make_unique<LocateRig>();
            sharedFor_ = QTest::currentTestFunction();
            if (!shared_->start()) {
                shared_.reset();
                return nullptr;
            }
        }
        return shared_.get();
    }

private slots:
    // A function's frame goes before the next function runs.
    void init() {
        if (sharedFor_ != QTest::currentTestFunction()) {
            shared_.reset();
        }
    }
    void cleanupTestCase() { shared_.reset(); }
    void typedCoordinatesAreClamped_data();
    void typedCoordinatesAreClamped();
    void arrowKeysStepAndClamp_data();
    void arrowKeysStepAndClamp();
    void anOpenMenuKeepsItsArrows();
    void clickMovesInsideTheBox_data();
    void clickMovesInsideTheBox();
    void settingsAdjustOrRefuse_data();
    void settingsAdjustOrRefuse();
    void settingsKeepTheToolOnTheScreen();
    void openingPlacesTheWindowAndSendsNothing();
    void closingSwitchesTheMarkerOff_data();
    void closingSwitchesTheMarkerOff();
    void paintsModulesCoordinatesAndMarker();
    void testPatternButtonsSendTheirAction_data();
    void testPatternButtonsSendTheirAction();
    void testPatternMenuShowsAndCloseEndsTheTest();
};

void PointLocateWindowTest::typedCoordinatesAreClamped_data() {
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QPoint>("point");
    QTest::newRow("X 5000 on a 1920 output, Enter") << "5000"
                                                    << "540"
                                                    << "enter" << QPoint(1919, 540);
    QTest::newRow("Y beyond 1080, Tab") << "100"
                                        << "4000"
                                        << "tab" << QPoint(100, 1079);
    QTest::newRow("negative and text become 0") << "-7"
                                                << "abc"
                                                << "enter" << QPoint(0, 0);
    QTest::newRow("leaving the X edit") << "5000" << QString() << "leave" << QPoint(1919, 480);
}

// Whichever way typed coordinates are taken, the point stays on the output, the clamped value
// goes to the processor and the drawing selects the box that holds it.
void PointLocateWindowTest::typedCoordinatesAreClamped() {
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, how);
    QFETCH(QPoint, point);
    LocateRig* shared = sharedRig();
    QVERIFY(shared != nullptr);
    LocateRig& rig = *shared;
    QVERIFY(rig.open(96));
    PointLocateWindow& w = rig.locate();
    QCOMPARE(w.point(), QPoint(960, 480)); // the box at picture 1's centre

    const std::size_t from = rig.settledMark();
    rig.type(x, y);
    if (how == QLatin1String("leave")) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(&w.xEdit(), &out);
    } else {
        QTest::keyClick(&w.xEdit(), how == QLatin1String("tab") ? Qt::Key_Tab : Qt::Key_Return);
    }
    QCOMPARE(rig.commandsSince(from), QStringList{locateFrame(point.x(), point.y(), 1)});
    QCOMPARE(w.point(), point);
    QCOMPARE(w.xEdit().text(), QString::number(point.x()));
    QCOMPARE(w.yEdit().text(), QString::number(point.y()));
    QVERIFY(rig.drawingSelects({point.x() / 96, point.y() / 96}));
}

void PointLocateWindowTest::arrowKeysStepAndClamp_data() {
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QPoint>("point");
    QTest::newRow("left at X 0 keeps 0 and still sends")
        << QPoint(0, 480) << int(Qt::Key_Left) << QPoint(0, 480);
    QTest::newRow("up at Y 0") << QPoint(500, 0) << int(Qt::Key_Up) << QPoint(500, 0);
    QTest::newRow("right at the last column")
        << QPoint(1919, 7) << int(Qt::Key_Right) << QPoint(1919, 7);
    QTest::newRow("down into the next row of boxes")
        << QPoint(10, 95) << int(Qt::Key_Down) << QPoint(10, 96);
    QTest::newRow("left into the previous column")
        << QPoint(960, 500) << int(Qt::Key_Left) << QPoint(959, 500);
}

// Arrows typed in the window pass through the frame, step from what the edits hold and send
// even when the clamp holds the point where it was.
void PointLocateWindowTest::arrowKeysStepAndClamp() {
    QFETCH(QPoint, start);
    QFETCH(int, key);
    QFETCH(QPoint, point);
    LocateRig* shared = sharedRig();
    QVERIFY(shared != nullptr);
    LocateRig& rig = *shared;
    QVERIFY(rig.open(96));
    PointLocateWindow& w = rig.locate();

    const std::size_t from = rig.settledMark();
    rig.type(QString::number(start.x()), QString::number(start.y()));
    QTest::keyClick(&w.xEdit(), Qt::Key(key));
    QCOMPARE(rig.commandsSince(from), QStringList{locateFrame(point.x(), point.y(), 1)});
    QCOMPARE(w.point(), point);
    QCOMPARE(w.yEdit().text(), QString::number(point.y()));
    QVERIFY(rig.drawingSelects({point.x() / 96, point.y() / 96}));
}

// While the window shows, the frame hands it the arrow keys, but not those of an open menu.
void PointLocateWindowTest::anOpenMenuKeepsItsArrows() {
    LocateRig rig;
    QVERIFY(rig.start());
    QVERIFY(rig.open(96));
    QMenu* tools = nullptr;
    for (QObject* o : rig.menuItem().associatedObjects()) {
        tools = tools != nullptr ? tools : qobject_cast<QMenu*>(o);
    }
    QVERIFY(tools != nullptr);
    tools->popup(rig.frame->mapToGlobal(QPoint(40, 40)));
    QVERIFY(QTest::qWaitForWindowExposed(tools));
    const std::size_t from = rig.settledMark();
    QTest::keyClick(tools, Qt::Key_Down);
    QVERIFY(tools->activeAction() != nullptr);
    tools->close();
    QCOMPARE(rig.commandsSince(from), QStringList());
    QCOMPARE(rig.locate().point(), QPoint(960, 480));
}

void PointLocateWindowTest::clickMovesInsideTheBox_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typedX");
    QTest::addColumn<QPoint>("click");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QPoint>("point");
    QTest::newRow("inside the box") << 96 << QString() << QPoint(11, 14)
                                    << QStringList{locateFrame(965, 487, 1)} << QPoint(965, 487);
    // Column 19 of 100-pixel boxes runs past the 1920-pixel output.
    QTest::newRow("beyond the output's edge")
        << 100 << "1950" << QPoint(120, 20) << QStringList{locateFrame(1919, 510, 1)}
        << QPoint(1919, 510);
    QTest::newRow("the coordinate strip names no pixel")
        << 96 << QString() << QPoint(20, 2 * 96 + 10) << QStringList() << QPoint(960, 480);
}

// A click moves the point within the shown box (two window pixels per box pixel) and leaves
// the box as it is.
void PointLocateWindowTest::clickMovesInsideTheBox() {
    QFETCH(int, box);
    QFETCH(QString, typedX);
    QFETCH(QPoint, click);
    QFETCH(QStringList, sent);
    QFETCH(QPoint, point);
    LocateRig* shared = sharedRig();
    QVERIFY(shared != nullptr);
    LocateRig& rig = *shared;
    QVERIFY(rig.open(box, 20));
    PointLocateWindow& w = rig.locate();
    if (!typedX.isNull()) {
        rig.type(typedX, QStringLiteral("500"));
        QTest::keyClick(&w.xEdit(), Qt::Key_Return);
        QVERIFY(rig.drawingSelects({typedX.toInt() / box, 500 / box}));
    }
    const qsizetype boxMessages = rig.count(FrameMessage::SelectBox);

    const std::size_t from = rig.settledMark();
    QTest::mouseClick(&w, Qt::LeftButton, {}, click);
    QCOMPARE(rig.commandsSince(from), sent);
    QCOMPARE(w.point(), point);
    QCOMPARE(w.xEdit().text(), QString::number(point.x()));
    QCoreApplication::sendPostedEvents(); // a box message the click posted is handled now
    QCOMPARE(rig.count(FrameMessage::SelectBox), boxMessages);
}

void PointLocateWindowTest::settingsAdjustOrRefuse_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("shownAfter");
    QTest::addColumn<QStringList>("informed");
    const QStringList adjusted{QStringLiteral("模组像素值已调整!")};
    const QStringList refused{outOfRangeText(1, 2048)};
    const QStringList refusedBox{outOfRangeText(48, 2048)};
    QTest::newRow("box 96 with module 20 becomes 16")
        << QStringList{"96", "96", "20", "20"} << true << QStringList{"96", "96", "16", "16"}
        << adjusted;
    QTest::newRow("modules that divide stay")
        << QStringList{"96", "80", "16", "16"} << true << QStringList{"96", "80", "16", "16"}
        << QStringList();
    QTest::newRow("only the vertical module changes")
        << QStringList{"120", "90", "20", "20"} << true << QStringList{"120", "90", "20", "18"}
        << adjusted;
    QTest::newRow("a module larger than its box becomes the box")
        << QStringList{"64", "64", "100", "16"} << true << QStringList{"64", "64", "64", "16"}
        << adjusted;
    QTest::newRow("box width 0") << QStringList{"0", "96", "16", "16"} << false
                                 << QStringList{"0", "96", "16", "16"} << refusedBox;
    QTest::newRow("a box too small for the grid and the edits")
        << QStringList{"96", "47", "16", "16"} << false << QStringList{"96", "47", "16", "16"}
        << refusedBox;
    QTest::newRow("the smallest box") << QStringList{"48", "48", "16", "16"} << true
                                      << QStringList{"48", "48", "16", "16"} << QStringList();
    QTest::newRow("negative module") << QStringList{"96", "96", "-4", "16"} << false
                                     << QStringList{"96", "96", "-4", "16"} << refused;
    QTest::newRow("module 0") << QStringList{"96", "96", "16", "0"} << false
                              << QStringList{"96", "96", "16", "0"} << refused;
    QTest::newRow("no number") << QStringList{"96", "", "16", "16"} << false
                               << QStringList{"96", "", "16", "16"} << refusedBox;
    QTest::newRow("a box too large for the window")
        << QStringList{"5000", "96", "16", "16"} << false << QStringList{"5000", "96", "16", "16"}
        << refusedBox;
}

// OK makes each module divide its box and says so; sizes the adjustment cannot divide by are
// refused with the dialog still open and the typing kept.
// On a 1280×720 work area the largest box leaves the tool window, its frame and title on the
// screen; one pixel more is refused with the range in the message.
void PointLocateWindowTest::settingsKeepTheToolOnTheScreen() {
    const QRect work(0, 0, 1280, 720);
    const QSize limit = locate::maximumBox(work);
    QCOMPARE(limit, QSize(632, 319)); // (1280 - 16) / 2; (720 - 26 - 40 - 16) / 2
    const QRect tool = locate::toolWindowRect(work, limit);
    QVERIFY(tool.top() >= work.top() + 40 && tool.left() >= work.left());
    QCOMPARE(locate::maximumBox(QRect(0, 0, 60, 60)), QSize(48, 48));
    QCOMPARE(locate::maximumBox(QRect(0, 0, 8000, 8000)), QSize(2048, 2048));

    const struct {
        QStringList typed;
        QStringList informed;
    } rows[] = {
        {{"632", "319", "8", "11"}, {}},
        {{"633", "96", "16", "16"}, {outOfRangeText(48, 632)}},
        {{"96", "320", "16", "16"}, {outOfRangeText(48, 319)}},
    };
    for (const auto& row : rows) {
        ScriptedPresenter presenter;
        LocateSettingsDialog dlg({96, 96, 16, 16}, presenter);
        dlg.setBoxLimit(limit);
        dlg.show();
        for (int f = 0; f < LocateSettingsDialog::FieldCount; ++f) {
            dlg.edit(LocateSettingsDialog::Field(f)).setText(row.typed.at(f));
        }
        dlg.accept();
        QCOMPARE(presenter.informed, row.informed);
        QCOMPARE(dlg.isVisible(), !row.informed.isEmpty());
    }
}

void PointLocateWindowTest::settingsAdjustOrRefuse() {
    QFETCH(QStringList, typed);
    QFETCH(bool, accepted);
    QFETCH(QStringList, shownAfter);
    QFETCH(QStringList, informed);
    ScriptedPresenter presenter;
    LocateSettingsDialog dlg({96, 96, 16, 16}, presenter);
    dlg.show();
    for (int f = 0; f < LocateSettingsDialog::FieldCount; ++f) {
        dlg.edit(LocateSettingsDialog::Field(f)).setText(typed.at(f));
    }
    QSignalSpy done(&dlg, &QDialog::accepted);
    dlg.accept();
    QCOMPARE(done.size(), accepted ? 1 : 0);
    QCOMPARE(dlg.isVisible(), !accepted);
    QStringList shown;
    for (int f = 0; f < LocateSettingsDialog::FieldCount; ++f) {
        shown << dlg.edit(LocateSettingsDialog::Field(f)).text();
    }
    QCOMPARE(shown, shownAfter);
    QCOMPARE(presenter.informed, informed);
    if (accepted) {
        const locate::BoxSizes s = dlg.sizes();
        QCOMPARE((QStringList{QString::number(s.boxWidth), QString::number(s.boxHeight),
                              QString::number(s.moduleWidth), QString::number(s.moduleHeight)}),
                 shownAfter);
    }
}

// Cancel changes nothing; OK stores the sizes, starts positioning, and shows the box twice as
// large in the bottom-right corner, with nothing sent until the operator moves the point.
void PointLocateWindowTest::openingPlacesTheWindowAndSendsNothing() {
    LocateRig rig;
    QVERIFY(rig.start());
    QVERIFY(rig.menuItem().isEnabled());
    std::size_t from = rig.settledMark();
    rig.runTool({});
    QCOMPARE(rig.settingsDialogs, 1);
    QVERIFY(!rig.led().positioning());
    QVERIFY(!rig.locate().isVisible());

    rig.runTool({"120", "80", "25", "16"});
    QCOMPARE(rig.settingsDialogs, 2);
    QCOMPARE(rig.presenter.informed, QStringList{QStringLiteral("模组像素值已调整!")});
    PointLocateWindow& w = rig.locate();
    QVERIFY(LocateRig::waitFor([&w] { return w.isVisible() && w.holdsImage(); }));
    QVERIFY(rig.led().positioning());
    QCOMPARE((QList<int>{rig.settings.readBoxWidth(), rig.settings.readBoxHeight(),
                         rig.settings.readModuleWidth(), rig.settings.readModuleHeight()}),
             (QList<int>{120, 80, 24, 16}));
    QCOMPARE(w.size(), QSize(240, 186));
    const QRect work = rig.frame->screen()->availableGeometry();
    QCOMPARE(w.geometry().bottomRight(), work.bottomRight());
    QCOMPARE(w.moduleSize(), QSize(24, 16));
    QCOMPARE(w.point(), QPoint(960, 480)); // picture 1's centre lies in box 8, 6
    QVERIFY(rig.menuItem().isChecked());
    QCOMPARE(rig.commandsSince(from), QStringList());
}

void PointLocateWindowTest::closingSwitchesTheMarkerOff_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("close box") << "close";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("menu item again") << "menu";
}

// However the window closes, the frame stops positioning, the marker goes off the wall, and the
// menu item asks for the sizes again.
void PointLocateWindowTest::closingSwitchesTheMarkerOff() {
    QFETCH(QString, how);
    LocateRig* shared = sharedRig();
    QVERIFY(shared != nullptr);
    LocateRig& rig = *shared;
    QVERIFY(rig.open(96));
    PointLocateWindow& w = rig.locate();
    const std::size_t from = rig.settledMark();
    if (how == QLatin1String("close")) {
        w.close();
    } else if (how == QLatin1String("escape")) {
        QTest::keyClick(&w.xEdit(), Qt::Key_Escape);
    } else {
        rig.frame->runCommand(menucmd::kPointLocate);
        QCOMPARE(rig.settingsDialogs, 1);
    }
    QVERIFY(!w.isVisible());
    QVERIFY(!w.active());
    QVERIFY(!w.holdsImage());
    QVERIFY(LocateRig::waitFor([&rig] { return !rig.led().positioning(); }));
    QCOMPARE(rig.commandsSince(from), QStringList{locateFrame(0, 0, 0)});
    QVERIFY(!rig.menuItem().isChecked());

    // Inactive, the window neither moves nor sends.
    w.arrow(1);
    QCOMPARE(rig.commandsSince(rig.settledMark()), QStringList());

    rig.runTool({});
    QCOMPARE(rig.settingsDialogs, 2);
}

// The box at twice its size with the module lines, the point's coordinates in red and the
// yellow marker.
void PointLocateWindowTest::paintsModulesCoordinatesAndMarker() {
    LocateRig rig;
    QVERIFY(rig.start());
    QVERIFY(rig.open(96, 24));
    PointLocateWindow& w = rig.locate();
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(60, 100)); // offset 30, 50
    QCOMPARE(w.point(), QPoint(990, 530));
    const QImage shot = w.grab().toImage();
    QCOMPARE(shot.pixel(48, 10), qRgb(255, 255, 255));
    QCOMPARE(shot.pixel(10, 96), qRgb(255, 255, 255));
    QCOMPARE(shot.pixel(60, 100), qRgb(255, 255, 0));
    QCOMPARE(shot.pixel(61, 101), qRgb(255, 255, 0));
    int red = 0;
    for (int y = 100; y < 115; ++y) {
        for (int x = 62; x < 120; ++x) {
            const QRgb c = shot.pixel(x, y);
            red += qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80;
        }
    }
    QVERIFY(red > 10);
}

void PointLocateWindowTest::testPatternButtonsSendTheirAction_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("action");
    QTest::newRow("1") << "pattern1" << 1;
    QTest::newRow("42, the last of the first id run") << "pattern42" << 42;
    QTest::newRow("43, the first of the second") << "pattern43" << 43;
    QTest::newRow("72") << "pattern72" << 72;
    QTest::newRow("关闭测试") << "end" << 0;
    QTest::newRow("自增测试") << "increment" << 129;
    QTest::newRow("自减测试") << "decrement" << 128;
}

void PointLocateWindowTest::testPatternButtonsSendTheirAction() {
    QFETCH(QString, button);
    QFETCH(int, action);
    PanelRig rig;
    QVERIFY(rig.connect());
    TestPatternWindow dlg(rig.context);
    QPushButton* b = button == QLatin1String("end")         ? &dlg.endButton()
                     : button == QLatin1String("increment") ? &dlg.incrementButton()
                     : button == QLatin1String("decrement") ? &dlg.decrementButton()
                                                            : dlg.findChild<QPushButton*>(button);
    QVERIFY(b != nullptr);
    QCOMPARE(b->isVisibleTo(&dlg), button.startsWith(QLatin1String("pattern")));
    const std::size_t from = rig.settledMark();
    b->click();
    QCOMPARE(rig.sentSince(from), QStringList{patternFrame(action)});
}

// "测试图卡" shows the window; closing it ends the test on the wall and only hides it.
void PointLocateWindowTest::testPatternMenuShowsAndCloseEndsTheTest() {
    LocateRig rig;
    QVERIFY(rig.start());
    QAction& item = *rig.frame->action(menucmd::kTestPattern);
    QVERIFY(item.isEnabled());
    item.trigger();
    TestPatternWindow& w = rig.patterns();
    QVERIFY(w.isVisible());
    QCOMPARE(w.parentWidget(), rig.frame.get());
    const std::size_t from = rig.settledMark();
    w.patternButton(7).click();
    w.close();
    QVERIFY(!w.isVisible());
    QCOMPARE(rig.commandsSince(from), (QStringList{patternFrame(7), patternFrame(0)}));
    item.trigger();
    QVERIFY(w.isVisible());
}

QTEST_MAIN(PointLocateWindowTest)
#include "PointLocateWindowTest.moc"
