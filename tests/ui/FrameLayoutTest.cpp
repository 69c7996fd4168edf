#include "FrameRig.h"
#include "support/TempFolder.h"
#include "ui/frame/SidePaneStack.h"
#include "ui/panels/ICommPanel.h"
#include "ui/panels/InputBar.h"
#include "ui/panels/PanelFactory.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTranslator>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

// The controls an operator reads or works in `panel` (labels, edits, buttons, lists, sliders),
// each where it stands in the panel.
QList<std::pair<QWidget*, QRect>> controlsOf(QWidget* panel) {
    QList<std::pair<QWidget*, QRect>> controls;
    for (QWidget* w : panel->findChildren<QWidget*>()) {
        const bool control =
            qobject_cast<QLabel*>(w) != nullptr || qobject_cast<QLineEdit*>(w) != nullptr ||
            qobject_cast<QAbstractButton*>(w) != nullptr ||
            qobject_cast<QComboBox*>(w) != nullptr || qobject_cast<QAbstractSlider*>(w) != nullptr;
        bool inner = false; // a combo box's or spin box's own edit
        for (QWidget* up = w->parentWidget(); up != nullptr && up != panel;
             up = up->parentWidget()) {
            inner = inner || qobject_cast<QComboBox*>(up) != nullptr ||
                    qobject_cast<QAbstractSpinBox*>(up) != nullptr;
        }
        if (control && !inner && w->isVisibleTo(panel)) {
            controls.append({w, QRect(w->mapTo(panel, QPoint()), w->size())});
        }
    }
    return controls;
}

// "A over B" for every two controls of `panel` that overlap.
QStringList overlapsIn(QWidget* panel) {
    const auto controls = controlsOf(panel);
    const auto name = [](QWidget* w) {
        const auto* label = qobject_cast<QLabel*>(w);
        const auto* button = qobject_cast<QAbstractButton*>(w);
        return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') +
               (label != nullptr    ? label->text().left(12)
                : button != nullptr ? button->text()
                                    : w->objectName());
    };
    QStringList overlaps;
    for (int i = 0; i < controls.size(); ++i) {
        for (int j = i + 1; j < controls.size(); ++j) {
            if (controls[i].second.intersects(controls[j].second)) {
                overlaps << name(controls[i].first) + QStringLiteral(" over ") +
                                name(controls[j].first);
            }
        }
    }
    return overlaps;
}

// The program's English while it lives, when asked for.
struct Language {
    QTranslator ui;
    bool english;
    explicit Language(bool inEnglish) : english(inEnglish) {
        if (english && ui.load(QStringLiteral(":/i18n/korvane_en.qm"))) {
            QCoreApplication::installTranslator(&ui);
        }
    }
    ~Language() {
        if (english) {
            QCoreApplication::removeTranslator(&ui);
        }
    }
    Language(const Language&) = delete;
    Language& operator=(const Language&) = delete;
};

} // namespace

class FrameLayoutTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void frameFitsASmallScreen();
    void panesKeepTheirControlsApart_data();
    void panesKeepTheirControlsApart();
};

// On a screen smaller than the frame's own minimum (the offscreen screen is 800×600), the whole
// frame fits the screen's available area, and the communication pane's rows keep apart: the
// pane scrolls instead.
void FrameLayoutTest::frameFitsASmallScreen() {
    FrameRig rig;
    PanelFactory factory;
    rig.realPanels = &factory;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(available.width() < 960, "the screen is meant to be smaller than the frame was");
    frame.setGeometry(available);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY2(frame.width() <= available.width() && frame.height() <= available.height(),
             qPrintable(QStringLiteral("%1x%2").arg(frame.width()).arg(frame.height())));

    // The input bar's last control stays on screen: the freeze area's caption gives way first
    // and stays as the radios' tool tip.
    auto& bar = *dynamic_cast<InputBar*>(frame.panels().inputBar);
    const QRect last(bar.fullScreenRadio()->mapTo(&frame, QPoint()),
                     bar.fullScreenRadio()->sizeHint());
    QVERIFY2(frame.rect().contains(last), qPrintable(QString::number(last.right())));
    QVERIFY(bar.freezeAreaCaption()->isHidden());
    QCOMPARE(bar.partialRadio()->toolTip(), bar.freezeAreaCaption()->text());

    SidePaneStack& right = frame.stack(MainWindow::kRightStack);
    right.openPane(2);
    const QRect column(right.mapTo(&frame, QPoint()), right.size());
    QVERIFY(frame.rect().contains(column));
    QWidget* comm = frame.panels().communication->widget();
    QTRY_VERIFY(comm->isVisible());
    QVERIFY(controlsOf(comm).size() > 10);
    QCOMPARE(overlapsIn(comm), QStringList());
    // What does not fit is reached by scrolling, not squeezed.
    QVERIFY(comm->height() >= comm->minimumSizeHint().height());
}

void FrameLayoutTest::panesKeepTheirControlsApart_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("english");
    for (const QSize size : {QSize(1280, 720), QSize(1920, 1080)}) {
        for (const bool english : {false, true}) {
            const QByteArray name = QByteArray::number(size.width()) + 'x' +
                                    QByteArray::number(size.height()) +
                                    (english ? " English" : " Chinese");
            QTest::newRow(name.constData()) << size << english;
        }
    }
}

// Every side pane, opened in a frame of a common screen size, shows its controls apart (at
// 1280×720 the dual-picture pane's colour-key text once covered its effect, fade and top-layer
// rows); what does not fit scrolls.
void FrameLayoutTest::panesKeepTheirControlsApart() {
    QFETCH(QSize, size);
    QFETCH(bool, english);
    const Language language(english);
    FrameRig rig;
    PanelFactory factory;
    rig.realPanels = &factory;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    frame.setGeometry(QRect(QPoint(0, 0), size));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.size(), size);
    for (const int side : {MainWindow::kLeftStack, MainWindow::kRightStack}) {
        SidePaneStack& stack = frame.stack(side);
        for (int pane = 0; pane < stack.paneCount(); ++pane) {
            stack.openPane(pane);
            QWidget* panel = stack.panel(pane);
            QTRY_VERIFY(panel->isVisible());
            QVERIFY(!controlsOf(panel).isEmpty());
            const QStringList overlaps = overlapsIn(panel);
            QVERIFY2(overlaps.isEmpty(),
                     qPrintable(QStringLiteral("stack %1 pane %2: ").arg(side).arg(pane) +
                                overlaps.join(QStringLiteral("; "))));
            QVERIFY(panel->height() >= panel->minimumSizeHint().height());
        }
    }
}

QTEST_MAIN(FrameLayoutTest)
#include "FrameLayoutTest.moc"
