#include "FrameRig.h"
#include "TestHome.h"
#include "ui/frame/SidePaneStack.h"
#include "ui/panels/ICommPanel.h"
#include "ui/panels/InputBar.h"
#include "ui/panels/PanelFactory.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

class FrameLayoutTest : public QObject {
    Q_OBJECT
    TestHome home_;

private slots:
    void frameFitsASmallScreen();
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
    QList<QWidget*> rows;
    for (QWidget* w : comm->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QLabel*>(w) != nullptr ||
                             qobject_cast<QLineEdit*>(w) != nullptr ||
                             qobject_cast<QAbstractButton*>(w) != nullptr;
        if (control && w->isVisibleTo(comm) && w->parentWidget() == comm) {
            rows << w;
        }
    }
    QVERIFY(rows.size() > 10);
    for (int i = 0; i < rows.size(); ++i) {
        for (int j = i + 1; j < rows.size(); ++j) {
            QVERIFY2(!rows[i]->geometry().intersects(rows[j]->geometry()),
                     qPrintable(rows[i]->objectName() + QLatin1Char('/') +
                                rows[i]->metaObject()->className() + QStringLiteral(" over ") +
                                rows[j]->metaObject()->className()));
        }
    }
    // What does not fit is reached by scrolling, not squeezed.
    QVERIFY(comm->height() >= comm->minimumSizeHint().height());
}

QTEST_MAIN(FrameLayoutTest)
#include "FrameLayoutTest.moc"
