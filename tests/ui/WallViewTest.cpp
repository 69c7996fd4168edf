#include "WallRig.h"
#include "core/link/CommandCodes.h"
#include "sim/SimPtyServer.h"
#include "support/TempFolder.h"
#include "ui/wall/IPointLocateView.h"
#include "ui/wall/LayoutGeometry.h"
#include "ui/widgets/CaptionButton.h"

#include <QDir>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;
using wall::Scale;

Q_DECLARE_METATYPE(korvane::Rect)

namespace {

constexpr Scale kScale{1920.0 / 800, 1080.0 / 450};
const QSize kClient(800, 450);
// The picture a test expects selected: 0 picture 1, 1 picture 2, -1 none.
constexpr int kPicture1 = 0;
constexpr int kPicture2 = 1;
int selectedIndex(const WallView& c) {
    const std::optional<Picture> p = c.selectedPicture();
    return p ? static_cast<int>(*p) : -1;
}

// x, y, width, height as a window command carries them.
QList<int> windowOf(const frame::CommandFrame& f) {
    QList<int> v;
    for (std::size_t i = 0; i < 8; i += 2) {
        v << (f[frame::kDataOffset + i] << 8 | f[frame::kDataOffset + i + 1]);
    }
    return v;
}

QList<int> edges(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Records what the point-locate tool was handed.
struct LocateProbe : IPointLocateView {
    QStringList calls;
    QImage surface;
    void takeBox(const QImage& s, const QRect& cell, int column, int row, int bw, int bh) override {
        surface = s;
        calls << QStringLiteral("box %1,%2 %3x%4 cell %5,%6 %7x%8")
                     .arg(column)
                     .arg(row)
                     .arg(bw)
                     .arg(bh)
                     .arg(cell.x())
                     .arg(cell.y())
                     .arg(cell.width())
                     .arg(cell.height());
    }
    void takeBoxImage(const QImage& s, const QRect& cell) override {
        surface = s;
        calls << QStringLiteral("image cell %1,%2").arg(cell.x()).arg(cell.y());
    }
};

bool isRed(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

} // namespace

class WallViewTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void outputToControl_data();
    void outputToControl();
    void controlToOutput_data();
    void controlToOutput();
    void dragSendsOneWindow_data();
    void dragSendsOneWindow();
    void picture1DragSendsItsWindow_data();
    void picture1DragSendsItsWindow();
    void dragsThatSendNothing_data();
    void dragsThatSendNothing();
    void dragStopsAtTheEdge_data();
    void dragStopsAtTheEdge();
    void resizeStopsAtTheMinimum_data();
    void resizeStopsAtTheMinimum();
    void clickOnTheOverlapSelectsTheTopPicture_data();
    void clickOnTheOverlapSelectsTheTopPicture();
    void picturesPaintImageFillOrNothing_data();
    void picturesPaintImageFillOrNothing();
    void redrawFollowsTheMirror();
    void positioningHandsBoxesToTheLocateTool();
    void gridOfBoxes_data();
    void gridOfBoxes();
    void paneSizesTheDrawing_data();
    void paneSizesTheDrawing();
    void buttonRowFitsThePane_data();
    void buttonRowFitsThePane();
    void renamedCaptionSurvivesResizing();
    void storeTemplateOnlyOnceWired();
    void templateButtonRecallsThenReadsBack();
    void dragReachesTheSimulator();
};

void WallViewTest::outputToControl_data() {
    QTest::addColumn<Rect>("output");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QList<int>>("control");
    const auto row = [](const char* name, Rect output, QSize client) -> QTestData& {
        return QTest::newRow(name) << output << client;
    };
    row("whole output fills the control", {0, 0, 1920, 1080}, kClient) << QList{0, 0, 800, 450};
    row("left and top of 1 count as 0", {1, 1, 961, 541}, kClient) << QList{0, 0, 400, 226};
    row("odd left and top go down, odd right and bottom up", {494, 276, 1454, 816}, kClient)
        << QList{204, 114, 604, 340};
    row("within a pixel of an odd edge snaps to it", {0, 0, 1920, 1076}, {800, 449})
        << QList{0, 0, 800, 449};
    row("beyond the output stops at the edge", {960, 540, 3000, 2000}, kClient)
        << QList{400, 224, 800, 450};
    row("negative left counts as 0", {-100, -50, 500, 300}, kClient) << QList{0, 0, 250, 146};
}

// Output window to the drawing at 2.4 output pixels per control pixel.
void WallViewTest::outputToControl() {
    QFETCH(Rect, output);
    QFETCH(QSize, client);
    QFETCH(QList<int>, control);
    QCOMPARE(edges(wall::outputToControl(output, kScale, client)), control);
}

void WallViewTest::controlToOutput_data() {
    QTest::addColumn<Rect>("control");
    QTest::addColumn<int>("outputWidth");
    QTest::addColumn<int>("outputHeight");
    QTest::addColumn<QList<int>>("output");
    QTest::newRow("whole control")
        << Rect{0, 0, 800, 450} << 1920 << 1080 << QList{0, 0, 1920, 1080};
    QTest::newRow("left of 1 counts as 0")
        << Rect{1, 1, 401, 226} << 1920 << 1080 << QList{0, 0, 960, 540};
    QTest::newRow("odd edges made even")
        << Rect{101, 63, 600, 338} << 1920 << 1080 << QList{242, 150, 1440, 810};
    QTest::newRow("right and bottom clamped to an odd output")
        << Rect{400, 225, 800, 450} << 1919 << 1079 << QList{960, 540, 1919, 1079};
}

void WallViewTest::controlToOutput() {
    QFETCH(Rect, control);
    QFETCH(int, outputWidth);
    QFETCH(int, outputHeight);
    QFETCH(QList<int>, output);
    QCOMPARE(edges(wall::controlToOutput(control, kScale, outputWidth, outputHeight)), output);
}

void WallViewTest::dragSendsOneWindow_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<bool>("wholeArea");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QList<int>>("window");
    const auto row = [](const char* name, QPoint from, QPoint to, Qt::CursorShape c) -> QTestData& {
        return QTest::newRow(name) << from << to << false << int(c);
    };
    row("interior moves", {400, 225}, {440, 245}, Qt::PointingHandCursor)
        << QList{576, 316, 960, 542};
    QTest::newRow("interior moves over a whole-area picture 1")
        << QPoint(400, 225) << QPoint(440, 245) << true << int(Qt::PointingHandCursor)
        << QList{576, 316, 960, 542};
    row("left edge", {202, 225}, {162, 225}, Qt::SizeHorCursor) << QList{388, 268, 1052, 542};
    row("top edge", {400, 114}, {400, 94}, Qt::SizeVerCursor) << QList{480, 224, 960, 586};
    row("right edge", {598, 225}, {700, 225}, Qt::SizeHorCursor) << QList{480, 268, 1200, 542};
    row("bottom edge", {400, 336}, {400, 400}, Qt::SizeVerCursor) << QList{480, 268, 960, 692};
    row("top-left corner", {201, 113}, {101, 63}, Qt::SizeFDiagCursor)
        << QList{242, 150, 1198, 660};
    row("bottom-left corner", {201, 337}, {151, 387}, Qt::SizeBDiagCursor)
        << QList{362, 268, 1078, 660};
    row("top-right corner", {599, 113}, {649, 63}, Qt::SizeBDiagCursor)
        << QList{480, 150, 1078, 660};
    row("bottom-right corner", {599, 337}, {699, 437}, Qt::SizeFDiagCursor)
        << QList{480, 268, 1198, 780};
}

// Each zone of picture 2 drags its edges; the release sends one window, in output pixels.
void WallViewTest::dragSendsOneWindow() {
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(bool, wholeArea);
    QFETCH(int, cursor);
    QFETCH(QList<int>, window);
    WallRig rig;
    WallView& c = rig.show();
    c.setPicture1WholeArea(wholeArea);
    QSignalSpy sent(&c, &WallView::windowSent);
    QSignalSpy relayed(rig.pane.get(), &CentrePane::picture2WindowChanged);

    QTest::mousePress(&c, Qt::LeftButton, {}, from);
    QTest::mouseMove(&c, to);
    QCOMPARE(int(c.cursor().shape()), cursor);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, to);

    QCOMPARE(rig.line->frames().size(), 1u);
    const auto f = rig.line->frames().front();
    QCOMPARE(f[frame::kCodeOffset], std::uint8_t(CommandCode::SetPicture2OutputWindow));
    QCOMPARE(windowOf(f), window);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.front().front().value<Picture>(), Picture::Two);
    QTRY_COMPARE(relayed.size(), 1);
}

void WallViewTest::picture1DragSendsItsWindow_data() {
    QTest::addColumn<bool>("wholeAreaMidDrag");
    QTest::newRow("picture 1 moved") << false;
    QTest::newRow("whole-area display set while dragging") << true;
}

// Picture 1's window goes out as its own command; when the whole-area display came on during
// the drag, sending ends it and the pane hears that instead of a moved window.
void WallViewTest::picture1DragSendsItsWindow() {
    QFETCH(bool, wholeAreaMidDrag);
    WallRig rig;
    rig.mirror.p1OutWidth = 960;
    rig.mirror.p1OutHeight = 540;
    WallView& c = rig.show();
    QSignalSpy moved(rig.pane.get(), &CentrePane::picture1WindowChanged);
    QSignalSpy cleared(rig.pane.get(), &CentrePane::picture1WholeAreaCleared);
    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(100, 180));
    QTest::mouseMove(&c, QPoint(150, 200));
    c.setPicture1WholeArea(wholeAreaMidDrag);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(150, 200));

    QCOMPARE(rig.line->frames().size(), 1u);
    const auto f = rig.line->frames().front();
    QCOMPARE(f[frame::kCodeOffset], std::uint8_t(CommandCode::SetPicture1OutputWindow));
    QCOMPARE(windowOf(f), (QList{120, 48, 960, 542}));
    QTRY_COMPARE(moved.size() + cleared.size(), 1);
    QCOMPARE(cleared.size(), wholeAreaMidDrag ? 1 : 0);
    // The flag is gone: picture 1 can be selected again.
    QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(700, 400));
    QCOMPARE(selectedIndex(c), -1);
    QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(100, 180));
    QCOMPARE(selectedIndex(c), kPicture1);
}

void WallViewTest::dragsThatSendNothing_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("selected");
    QTest::newRow("press and release at one point")
        << 0 << QPoint(400, 225) << QPoint(400, 225) << kPicture2;
    QTest::newRow("picture 1 showing the whole area")
        << 1 << QPoint(100, 100) << QPoint(150, 150) << -1;
    QTest::newRow("positioning mode") << 2 << QPoint(400, 225) << QPoint(440, 245) << -1;
}

void WallViewTest::dragsThatSendNothing() {
    QFETCH(int, mode);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(int, selected);
    WallRig rig;
    WallView& c = rig.show();
    c.setPicture1WholeArea(mode == 1);
    if (mode == 2) {
        c.startPositioning(96, 96, 16, 16);
    }
    const auto one = c.pictureRect(Picture::One);
    const auto two = c.pictureRect(Picture::Two);
    QSignalSpy sent(&c, &WallView::windowSent);
    rig.drag(from, to);
    QVERIFY(rig.line->writes.empty());
    QCOMPARE(sent.size(), 0);
    QCOMPARE(edges(*c.pictureRect(Picture::One)), edges(*one));
    QCOMPARE(edges(*c.pictureRect(Picture::Two)), edges(*two));
    QCOMPARE(selectedIndex(c), selected);
}

void WallViewTest::dragStopsAtTheEdge_data() {
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<int>>("control");
    QTest::addColumn<QList<int>>("window");
    QTest::newRow("far right and down")
        << QPoint(5000, 5000) << QList{400, 224, 800, 450} << QList{960, 536, 960, 542};
    QTest::newRow("far left and up")
        << QPoint(-5000, -5000) << QList{0, 0, 400, 226} << QList{0, 0, 960, 542};
    QTest::newRow("only to the right")
        << QPoint(700, 225) << QList{400, 112, 800, 338} << QList{960, 268, 960, 542};
}

// The pointer is held where the whole picture stays inside the drawing.
void WallViewTest::dragStopsAtTheEdge() {
    QFETCH(QPoint, to);
    QFETCH(QList<int>, control);
    QFETCH(QList<int>, window);
    WallRig rig;
    WallView& c = rig.show();
    rig.drag({400, 225}, to);
    QCOMPARE(edges(*c.pictureRect(Picture::Two)), control);
    QCOMPARE(rig.line->frames().size(), 1u);
    QCOMPARE(windowOf(rig.line->frames().front()), window);
}

void WallViewTest::resizeStopsAtTheMinimum_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<int>>("window");
    QTest::newRow("bottom-right corner")
        << QPoint(599, 337) << QPoint(210, 120) << QList{480, 268, 64, 48};
    QTest::newRow("right edge") << QPoint(598, 225) << QPoint(205, 225) << QList{480, 268, 64, 542};
    QTest::newRow("bottom edge") << QPoint(400, 336) << QPoint(400, 115)
                                 << QList{480, 268, 960, 48};
}

// The pane sets the minimum from 64 × 48 output pixels; a picture never goes below it.
void WallViewTest::resizeStopsAtTheMinimum() {
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QList<int>, window);
    WallRig rig;
    rig.show();
    rig.drag(from, to);
    QCOMPARE(rig.line->frames().size(), 1u);
    QCOMPARE(windowOf(rig.line->frames().front()), window);
}

void WallViewTest::clickOnTheOverlapSelectsTheTopPicture_data() {
    QTest::addColumn<int>("picture1OnTop");
    QTest::addColumn<int>("selected");
    QTest::newRow("picture 1 on top") << 1 << kPicture1;
    QTest::newRow("picture 2 on top") << 0 << kPicture2;
}

void WallViewTest::clickOnTheOverlapSelectsTheTopPicture() {
    QFETCH(int, picture1OnTop);
    QFETCH(int, selected);
    WallRig rig;
    WallView& c = rig.show();
    c.setPicture1OnTop(picture1OnTop != 0);
    QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(400, 225));
    QCOMPARE(selectedIndex(c), selected);
    QVERIFY(rig.line->writes.empty());
}

void WallViewTest::picturesPaintImageFillOrNothing_data() {
    QTest::addColumn<bool>("ownImage");
    QTest::addColumn<bool>("shippedImage");
    QTest::addColumn<bool>("hollow");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("fill colour without an image") << false << false << false << qRgb(0, 128, 192);
    QTest::newRow("screen.bmp beside the settings") << true << false << false << qRgb(200, 40, 90);
    QTest::newRow("screen.bmp of the data folder") << false << true << false << qRgb(30, 160, 60);
    QTest::newRow("the user's own copy wins") << true << true << false << qRgb(200, 40, 90);
    QTest::newRow("hollow") << true << true << true << qRgb(0, 0, 0);
}

void WallViewTest::picturesPaintImageFillOrNothing() {
    QFETCH(bool, ownImage);
    QFETCH(bool, shippedImage);
    QFETCH(bool, hollow);
    QFETCH(QRgb, colour);
    // The installed data folders of this machine stay out of the picture.
    QTemporaryDir share;
    QVERIFY(QDir(share.path()).mkpath(QStringLiteral("korvane")));
    const QByteArray previous = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", share.path().toUtf8());
    const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_DIRS", previous); });
    WallRig rig;
    const auto saveBmp = [](const QString& file, QRgb fill) {
        QImage bmp(8, 8, QImage::Format_RGB32);
        bmp.fill(fill);
        return bmp.save(file, "BMP");
    };
    if (ownImage) {
        QVERIFY(saveBmp(rig.home.filePath(QStringLiteral("screen.bmp")), qRgb(200, 40, 90)));
    }
    if (shippedImage) {
        QVERIFY(saveBmp(share.filePath(QStringLiteral("korvane/screen.bmp")), qRgb(30, 160, 60)));
    }
    WallView& c = rig.show();
    c.setHollow(Picture::One, hollow);
    QCOMPARE(c.grab().toImage().pixel(50, 400), colour);
}

// Panels that send a window themselves ask for a redraw; a drag in progress keeps its picture.
void WallViewTest::redrawFollowsTheMirror() {
    WallRig rig;
    WallView& c = rig.show();
    rig.mirror.p2X = 0;
    rig.mirror.p2Y = 0;
    c.redraw();
    QCOMPARE(edges(*c.pictureRect(Picture::Two)), (QList{0, 0, 400, 226}));
    rig.mirror.pipOn = 0;
    c.redraw();
    QVERIFY(!c.pictureShown(Picture::Two));

    rig.mirror.pipOn = 1;
    c.redraw();
    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(200, 100));
    QTest::mouseMove(&c, QPoint(300, 150));
    const auto dragged = edges(*c.pictureRect(Picture::Two));
    rig.mirror.p2X = 960;
    c.redraw();
    QCOMPARE(edges(*c.pictureRect(Picture::Two)), dragged);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(300, 150));
}

// Positioning: a click picks the box under it, the tool picks a box by number, and stopping
// takes the processor's marker away.
void WallViewTest::positioningHandsBoxesToTheLocateTool() {
    WallRig rig;
    WallView& c = rig.show();
    LocateProbe probe;
    c.setPointLocateView(&probe);
    c.startPositioning(120, 80, 20, 10);
    QCOMPARE(rig.settings.readBoxWidth(), 120);
    QCOMPARE(rig.settings.readBoxHeight(), 80);
    QCOMPARE(rig.settings.readModuleWidth(), 20);
    QCOMPARE(rig.settings.readModuleHeight(), 10);

    QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(130, 90));
    c.repaint();
    c.selectBox(5, 1);
    c.repaint();
    c.selectBoxAtPicture1Centre();
    c.repaint();
    QCOMPARE(probe.calls, (QStringList{"box 2,2 120x80 cell 101,67 48x31", "image cell 251,34",
                                       "box 8,6 120x80 cell 401,199 48x31"}));
    QCOMPARE(probe.surface.pixel(50, 300), qRgb(255, 255, 255));
    QVERIFY(rig.line->writes.empty());

    c.stopPositioning();
    QVERIFY(!c.positioning());
    QCOMPARE(rig.line->frames().size(), 1u);
    const auto f = rig.line->frames().front();
    QCOMPARE(f[frame::kCodeOffset], std::uint8_t(CommandCode::LocatePoint));
    for (std::size_t i = 0; i < 5; ++i) {
        QCOMPARE(f[frame::kDataOffset + i], std::uint8_t(0));
    }
}

void WallViewTest::gridOfBoxes_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<bool>("lineAt40");
    QTest::addColumn<QPoint>("cellEdge");
    QTest::newRow("boxes of 40 control pixels") << 96 << true << QPoint(121, 100);
    QTest::newRow("boxes smaller than a control pixel") << 1 << false << QPoint(131, 91);
}

// Boxes narrower than a control pixel must still draw (no endless grid loop), with the
// selected cell marked.
void WallViewTest::gridOfBoxes() {
    QFETCH(int, box);
    QFETCH(bool, lineAt40);
    QFETCH(QPoint, cellEdge);
    WallRig rig;
    WallView& c = rig.show();
    c.startPositioning(box, box, 16, 16);
    QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(130, 90));
    const QImage shot = c.grab().toImage();
    QCOMPARE(shot.pixel(40, 420) == qRgb(255, 255, 255), lineAt40);
    QVERIFY(isRed(shot.pixel(cellEdge)));
}

void WallViewTest::paneSizesTheDrawing_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QSize>("pane");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<QStringList>("shown");
    const QStringList none;
    QTest::newRow("1920×1080, width-bound") << 11 << QSize(800, 500) << QSize(800, 450) << none;
    QTest::newRow("odd pane width loses a pixel")
        << 11 << QSize(801, 500) << QSize(800, 450) << none;
    QTest::newRow("1920×1080, height-bound") << 11 << QSize(1000, 400) << QSize(1000, 350) << none;
    QTest::newRow("1024×1280 keeps the full width")
        << 18 << QSize(800, 500) << QSize(800, 450) << none;
    QTest::newRow("unknown code changes nothing")
        << 99 << QSize(800, 500) << QSize(800, 450) << QStringList{"不支持的分辨率!"};
}

void WallViewTest::paneSizesTheDrawing() {
    QFETCH(int, code);
    QFETCH(QSize, pane);
    QFETCH(QSize, view);
    QFETCH(QStringList, shown);
    WallRig rig;
    WallView& c = rig.show(pane);
    rig.pane->setOutputResolution(std::uint8_t(code));
    QCOMPARE(c.geometry(), QRect(QPoint(0, 0), view));
    QCOMPARE(rig.presenter.informed, shown);
}

void WallViewTest::buttonRowFitsThePane_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("natural");
    QTest::newRow("wide pane") << 1400 << true;
    QTest::newRow("pane of a 1000-pixel frame") << 462 << false;
    QTest::newRow("pane of an 800-pixel frame") << 262 << false;
}

// The eleven buttons stand in one row 4 pixels above the bottom edge, each 1 pixel after the
// previous; in a narrow pane the slot buttons shrink alike while "保存模板" keeps its width as
// long as it can. No caption is cut by the button's margins: what does not fit shows as the
// slot number alone or the caption's start and an ellipsis, whole in the tool tip.
void WallViewTest::buttonRowFitsThePane() {
    QFETCH(int, width);
    QFETCH(bool, natural);
    WallRig rig;
    rig.show({width, 500});
    QList<QPushButton*> row;
    for (int n = 1; n <= CentrePane::kTemplateCount; ++n) {
        row << &rig.pane->templateButton(n);
    }
    row << &rig.pane->storeButton();
    int x = 0;
    for (int i = 0; i < row.size(); ++i) {
        const QPushButton* b = row[i];
        const QRect g = b->geometry();
        QCOMPARE(g.left(), x);
        QCOMPARE(g.bottom(), 500 - 4 - 1);
        QVERIFY(g.width() > 0);
        QCOMPARE(g.width() == b->sizeHint().width(),
                 natural || (i == row.size() - 1 && width >= 400));
        const QString full = b->toolTip().isEmpty() ? b->text() : b->toolTip();
        const QString number = QString::number(i + 1);
        QCOMPARE(full, i == row.size() - 1 ? QStringLiteral("保存模板")
                                           : QStringLiteral("模板") + number);
        const QString shown = b->text();
        QVERIFY2(shown == full || shown == number ||
                     (shown.size() >= 2 && shown.endsWith(QChar(0x2026)) &&
                      full.startsWith(shown.chopped(1))),
                 qPrintable(shown));
        // The button draws its caption within the room captionRoom names.
        QVERIFY(qobject_cast<const CaptionButton*>(b) != nullptr);
        QVERIFY2(b->fontMetrics().horizontalAdvance(shown) <= CaptionButton::captionRoom(g.width()),
                 qPrintable(shown));
        x = g.right() + 2;
    }
    QVERIFY(x - 1 <= width);
    if (width >= 400) {
        QCOMPARE(rig.pane->storeButton().text(), QStringLiteral("保存模板"));
    }
}

// A renamed slot keeps its new caption through a narrow pane and back: the row is fitted from
// the captions the buttons carry now, not those they had when the pane was made.
void WallViewTest::renamedCaptionSurvivesResizing() {
    WallRig rig;
    rig.show({1400, 500});
    QVERIFY(rig.pane->renameTemplate(3, QStringLiteral("开场")));
    QPushButton& third = rig.pane->templateButton(3);
    QCOMPARE(third.text(), QStringLiteral("3 开场"));
    rig.pane->resize(300, 500);
    QTRY_COMPARE(third.toolTip(), QStringLiteral("3 开场"));
    QVERIFY(third.text() != QStringLiteral("模板3"));
    rig.pane->resize(1400, 500);
    QTRY_COMPARE(third.text(), QStringLiteral("3 开场"));
    QCOMPARE(third.toolTip(), QString());
}

// "保存模板" offers the ten slots; a choice stores, but only once the frame has wired the pane.
void WallViewTest::storeTemplateOnlyOnceWired() {
    WallRig rig;
    rig.show();
    QAction* third = rig.pane->storeMenu().actions().at(2);
    QCOMPARE(third->text(), QStringLiteral("模板3"));
    third->trigger();
    QVERIFY(rig.line->writes.empty());

    RecordingMessenger frame;
    rig.pane->attachFrame(&frame);
    QTest::mouseClick(&rig.pane->storeButton(), Qt::LeftButton);
    QTRY_VERIFY(rig.pane->storeMenu().isVisible());
    third->trigger();
    QCOMPARE(rig.line->frames().size(), 1u);
    const auto f = rig.line->frames().front();
    QCOMPARE(f[frame::kCodeOffset], std::uint8_t(CommandCode::TemplateSlot));
    QCOMPARE(f[frame::kDataOffset], std::uint8_t(0));
    QCOMPARE(f[frame::kDataOffset + 1], std::uint8_t(3));
    QVERIFY(frame.numbers.empty());
}

// A template button: the processor recalls the slot and everything is read back; the frame
// redraws every panel, hears both pictures' inputs and, the freeze area being partial, picture
// 1's whole-area display.
void WallViewTest::templateButtonRecallsThenReadsBack() {
    sim::SimPtyServer server;
    server.start();
    WallRig rig(true);
    QCOMPARE(rig.link.configureSerialAndOpen({server.devicePath(), 1, 1, 115200}), 1);
    rig.facade.setVolume(55);
    rig.facade.setFreezeArea(0);
    rig.facade.templateSlot(0, 4);
    rig.facade.setVolume(90);
    rig.facade.setFreezeArea(1);
    QTRY_COMPARE(server.receivedFrames().size(), 5u);
    rig.show();
    RecordingMessenger frame;
    rig.pane->attachFrame(&frame);

    QTest::mouseClick(&rig.pane->templateButton(4), Qt::LeftButton);
    const auto frames = server.receivedFrames();
    QVERIFY(frames.size() > 6);
    QCOMPARE(frames[5][frame::kCodeOffset], std::uint8_t(CommandCode::TemplateSlot));
    QCOMPARE(frames[5][frame::kDataOffset], std::uint8_t(1));
    QCOMPARE(frames[5][frame::kDataOffset + 1], std::uint8_t(4));
    QCOMPARE(frames[6][frame::kCodeOffset], std::uint8_t(0)); // the read-back has begun
    QCOMPARE(int(rig.mirror.volume), 55);
    QCOMPARE(int(rig.mirror.freezeArea), 0);
    QCOMPARE(frame.numbers, (std::vector<int>{messageNumber(FrameMessage::RefreshAllWithSends),
                                              messageNumber(FrameMessage::PictureInput),
                                              messageNumber(FrameMessage::PictureInput),
                                              messageNumber(FrameMessage::Picture1WholeArea)}));
    QCOMPARE(int(frame.resolution), int(rig.mirror.pq[pq::kOutputResolution]));
    QCOMPARE(rig.link.sendSwitch(), 1);
    QVERIFY(rig.presenter.informed.isEmpty());
    rig.link.close();
    server.stop();
}

// End to end: the window of a dragged picture reaches the simulated processor over a real
// pseudo-terminal.
void WallViewTest::dragReachesTheSimulator() {
    sim::SimPtyServer server;
    server.start();
    WallRig rig(true);
    QCOMPARE(rig.link.configureSerialAndOpen({server.devicePath(), 1, 1, 115200}), 1);
    WallView& c = rig.show();
    rig.drag({400, 225}, {440, 245});
    QCOMPARE(edges(*c.pictureRect(Picture::Two)), (QList{240, 132, 640, 358}));
    QTRY_COMPARE(server.state().mirror.p2X, 576);
    const auto m = server.state().mirror;
    QCOMPARE((QList{m.p2X, m.p2Y, m.p2Width, m.p2Height}), (QList{576, 316, 960, 542}));
    rig.link.close();
    server.stop();
}

QTEST_MAIN(WallViewTest)
#include "WallViewTest.moc"
