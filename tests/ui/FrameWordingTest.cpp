#include "FrameRig.h"
#include "remote/RemoteSettings.h"
#include "support/TempFolder.h"
#include "ui/app/AboutDialog.h"
#include "ui/frame/FrameServices.h"
#include "ui/frame/MenuCommand.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/PanelContext.h"
#include "ui/panels/PanelFactory.h"
#include "ui/remote/RemoteHost.h"
#include "ui/schedule/ClockDialog.h"
#include "ui/schedule/PlanEditorDialog.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QTranslator>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

// The program's English while it lives.
struct English {
    QTranslator ui;
    QTranslator core;
    bool loaded = false;
    English() {
        loaded = ui.load(QStringLiteral(":/i18n/korvane_en.qm")) &&
                 core.load(QStringLiteral(":/i18n/korvane_core_en.qm"));
        QCoreApplication::installTranslator(&ui);
        QCoreApplication::installTranslator(&core);
    }
    ~English() {
        QCoreApplication::removeTranslator(&core);
        QCoreApplication::removeTranslator(&ui);
    }
    English(const English&) = delete;
    English& operator=(const English&) = delete;
};

// Notes the title of the next modal dialog of class `className` once it is the active modal
// window (after any busy dialog of its opening) and closes it.
struct ModalCloser {
    QString title;
    QTimer timer;
    explicit ModalCloser(const char* className) {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this, className] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr && dialog->inherits(className)) {
                timer.stop();
                title = dialog->windowTitle();
                dialog->reject();
            }
        });
        timer.start();
    }
};

// The remote-control item the program adds to the tools menu, as it starts (remote control off).
std::unique_ptr<RemoteHost> addRemoteItem(FrameRig& rig, PanelFactory& factory) {
    FrameServices services{rig.link,      rig.mirror, rig.facade, rig.settings,
                           rig.presenter, &rig.sink,  rig.busy,   factory,
                           [] {},         {},         {}};
    return std::make_unique<RemoteHost>(
        *rig.frame, services, std::make_unique<remote::RemoteSettings>(rig.settings.file()));
}

// What names the window an item opens: its text without mnemonic and trailing dots.
QString itemName(QString text) {
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    text.remove(QRegularExpression(QStringLiteral("(\\.\\.\\.|…)$")));
    return text;
}

const QRegularExpression kChinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));

} // namespace

class FrameWordingTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void menusHaveEnglishMnemonics();
    void itemsAndTheirWindowsAgree();
    void clockRowsAndAboutFieldsAreLabelled();
};

// In English every menu item has a mnemonic of its own within its menu, in the English manner,
// and no Chinese is left in the menus.
void FrameWordingTest::menusHaveEnglishMnemonics() {
    English english;
    QVERIFY(english.loaded);
    FrameRig rig;
    PanelFactory factory;
    rig.realPanels = &factory;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    const auto remote = addRemoteItem(rig, factory);

    QList<QWidget*> menus{frame.menuBar()};
    for (QMenu* m : frame.menuBar()->findChildren<QMenu*>()) {
        menus << m;
    }
    QVERIFY(menus.size() >= 9); // the bar, six menus, the two template submenus
    bool remoteChecked = false;
    for (QWidget* menu : menus) {
        QMap<QChar, QString> taken;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator() || !a->isVisible()) {
                continue;
            }
            const QString text = a->text();
            remoteChecked =
                remoteChecked || a->objectName() == QLatin1String("remoteControlAction");
            QVERIFY2(!text.contains(kChinese), qPrintable(text));
            const QRegularExpressionMatch m =
                QRegularExpression(QStringLiteral("(?<!&)&([^&\\s(])")).match(text);
            QVERIFY2(m.hasMatch(), qPrintable(text + QStringLiteral(": no mnemonic")));
            QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("\\(&.\\)"))),
                     qPrintable(text));
            const QChar key = m.captured(1).at(0).toLower();
            QVERIFY2(!taken.contains(key), qPrintable(text + QStringLiteral(" and ") + taken[key]));
            taken[key] = text;
        }
    }
    QVERIFY(remoteChecked);
}

// In English each menu item and button that opens a window names it as the window's title
// does: the title is the item's name, or the item's name and what part of it the window is.
void FrameWordingTest::itemsAndTheirWindowsAgree() {
    English english;
    QVERIFY(english.loaded);
    FrameRig rig;
    PanelFactory factory;
    rig.realPanels = &factory;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    frame.show();

    QStringList disagree;
    const auto compare = [&disagree](const QString& item, const QString& title) {
        if (title.isEmpty() || !title.startsWith(itemName(item))) {
            disagree << QStringLiteral("'%1' opens '%2'").arg(item, title);
        }
    };
    const struct {
        int command;
        const char* dialog;
    } menuRows[] = {
        {menucmd::kPlanEditor, "korvane::ui::PlanEditorDialog"},
        {menucmd::kScheduleRunner, "korvane::ui::ScheduleRunnerDialog"},
        {menucmd::kPointLocate, "korvane::ui::LocateSettingsDialog"},
    };
    for (const auto& row : menuRows) {
        ModalCloser closer(row.dialog);
        frame.runCommand(row.command);
        compare(frame.action(row.command)->text(), closer.title);
    }
    const auto remote = addRemoteItem(rig, factory);
    auto* remoteItem = frame.findChild<QAction*>(QStringLiteral("remoteControlAction"));
    QVERIFY(remoteItem != nullptr);
    {
        ModalCloser closer("korvane::ui::RemoteControlDialog");
        remoteItem->trigger();
        compare(remoteItem->text(), closer.title);
    }
    frame.runCommand(menucmd::kTestPattern);
    QVERIFY(frame.panels().testPattern->isVisible());
    compare(frame.action(menucmd::kTestPattern)->text(), frame.panels().testPattern->windowTitle());
    frame.panels().testPattern->close();
    AboutDialog about(rig.mirror, rig.settings);
    compare(frame.action(menucmd::kAbout)->text(), about.windowTitle());

    auto& comm = *dynamic_cast<CommunicationPanel*>(frame.panels().communication);
    for (const auto& [button, dialog] :
         {std::pair{&comm.serialSettingsButton(), "korvane::ui::SerialSettingsDialog"},
          std::pair{&comm.networkSettingsButton(), "korvane::ui::NetworkSettingsDialog"}}) {
        ModalCloser closer(dialog);
        button->click();
        compare(button->text(), closer.title);
    }

    const PanelContext context{rig.link,      rig.mirror, rig.facade, rig.settings,
                               rig.presenter, &rig.sink,  rig.busy};
    PlanEditorDialog editor(context, &frame);
    editor.show();
    QVERIFY(QTest::qWaitFor([&] { return editor.openingDone(); }));
    auto* clock = editor.findChild<QPushButton*>(QStringLiteral("clockButton"));
    ModalCloser closer("korvane::ui::ClockDialog");
    clock->click();
    compare(clock->text(), closer.title);

    QVERIFY2(disagree.isEmpty(), qPrintable(disagree.join(QStringLiteral("; "))));
}

namespace {
// The text of the label in front of `field` in its grid row (column 0).
QString labelOf(QWidget& window, const char* field) {
    auto* w = window.findChild<QWidget*>(QLatin1String(field));
    QGridLayout* grid =
        w != nullptr ? qobject_cast<QGridLayout*>(w->parentWidget()->layout()) : nullptr;
    if (grid == nullptr) {
        for (QGridLayout* g : window.findChildren<QGridLayout*>()) {
            grid = g->indexOf(w) >= 0 ? g : grid;
        }
    }
    if (grid == nullptr || grid->indexOf(w) < 0) {
        return QStringLiteral("(not in a grid)");
    }
    int row = 0;
    int column = 0;
    int rows = 0;
    int columns = 0;
    grid->getItemPosition(grid->indexOf(w), &row, &column, &rows, &columns);
    QLayoutItem* first = grid->itemAtPosition(row, 0);
    auto* label = first != nullptr ? qobject_cast<QLabel*>(first->widget()) : nullptr;
    return label != nullptr && label != w ? label->text() : QString();
}
} // namespace

// In English the clock dialog says whose time each row shows (the one to set, the PC's, the
// processor's), and the About box names its fields.
void FrameWordingTest::clockRowsAndAboutFieldsAreLabelled() {
    English english;
    QVERIFY(english.loaded);
    FrameRig rig;
    QVERIFY(rig.connect());
    const PanelContext context{rig.link,      rig.mirror, rig.facade, rig.settings,
                               rig.presenter, &rig.sink,  rig.busy};
    ClockDialog clock(context);
    QCOMPARE(labelOf(clock, "chosenDate"), QStringLiteral("Time to set:"));
    QCOMPARE(labelOf(clock, "localDate"), QStringLiteral("PC time:"));
    QCOMPARE(labelOf(clock, "deviceTime"), QStringLiteral("Processor clock:"));

    rig.mirror.deviceInfo[2] = 3;
    AboutDialog about(rig.mirror, rig.settings);
    QCOMPARE(labelOf(about, "versionValue"), QStringLiteral("Version: "));
    QCOMPARE(labelOf(about, "dateValue"), QStringLiteral("Factory year/week: "));
}

QTEST_MAIN(FrameWordingTest)
#include "FrameWordingTest.moc"
