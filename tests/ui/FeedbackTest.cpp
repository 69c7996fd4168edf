#include "FrameRig.h"
#include "core/link/ReadTypes.h"
#include "core/store/Settings.h"
#include "support/TempFolder.h"
#include "ui/device/MessageBoxPresenter.h"
#include "ui/dialogs/NetworkSettingsDialog.h"
#include "ui/frame/MenuCommand.h"
#include "ui/i18n/Language.h"
#include "ui/panels/InputBar.h"
#include "ui/panels/PanelContext.h"
#include "ui/panels/PanelFactory.h"
#include "ui/schedule/ClockDialog.h"
#include "ui/schedule/PlanEditorDialog.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

// Presses Enter in the next message box and notes its default button's text.
struct EnterPresser {
    QString defaultText;
    QTimer timer;
    EnterPresser() {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            timer.stop();
            defaultText =
                box->defaultButton() != nullptr ? box->defaultButton()->text() : QString();
            QTest::keyClick(box, Qt::Key_Return);
        });
        timer.start();
    }
};

} // namespace

class FeedbackTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void destructiveQuestionsDefaultToCancel();
    void qtTextsFollowChinese();
    void checkedMenuItemsShowTheirCheck();
    void oneShotActionsSayWhatTheyDid();
    void dialogsReachTheStatusBarHoweverOpened();
    void networkDialogSaysWhatItNeeds();
};

// Enter on a destructive question cancels it; on an ordinary one it confirms.
void FeedbackTest::destructiveQuestionsDefaultToCancel() {
    MessageBoxPresenter presenter;
    {
        EnterPresser enter;
        QVERIFY(!presenter.confirmDestructive(nullptr,
                                              QStringLiteral("请确认是否要恢复出厂默认设置?")));
        QCOMPARE(enter.defaultText, QStringLiteral("取消"));
    }
    {
        EnterPresser enter;
        QVERIFY(presenter.confirm(nullptr, QStringLiteral("是否需要读取脱机计划列表?")));
        QCOMPARE(enter.defaultText, QStringLiteral("确定"));
    }
}

// In Chinese, Qt's own texts (file dialogs, standard buttons) are Chinese too.
void FeedbackTest::qtTextsFollowChinese() {
    QTemporaryDir dir;
    Settings settings(std::filesystem::path(dir.path().toStdString()) / "korvaneapp.ini");
    settings.writeLanguage(true);
    ScriptedPresenter presenter;
    Language language;
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    QVERIFY(language.choose(settings, QLocale(QLocale::English), presenter));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Open"), QStringLiteral("打开"));
    QVERIFY(!language.englishLoaded());
    language.unload();
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

// A checkable item's icon would take the place of its check mark.
void FeedbackTest::checkedMenuItemsShowTheirCheck() {
    FrameRig rig;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    int checkable = 0;
    for (QAction* a : frame.findChildren<QAction*>()) {
        if (a->isCheckable() && !a->text().isEmpty()) {
            ++checkable;
            QVERIFY2(a->icon().isNull(), qPrintable(a->text()));
        }
    }
    QCOMPARE(checkable, 5); // the two hollow items, point locate, the two languages
}

// Auto adjust, a store to a processor template, the freeze buttons and a clock set say in the
// status bar what went out; the freeze buttons keep showing the state last sent.
void FeedbackTest::oneShotActionsSayWhatTheyDid() {
    FrameRig rig;
    PanelFactory factory;
    rig.realPanels = &factory;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    const auto shown = [&frame] { return frame.statusBar()->currentMessage(); };

    frame.runCommand(menucmd::kAutoAdjust);
    QCOMPARE(shown(), QStringLiteral("已发送自动调整"));
    frame.runCommand(menucmd::kStoreTemplateFirst + 2);
    QCOMPARE(shown(), QStringLiteral("已保存到处理器模板3"));

    auto& bar = *dynamic_cast<InputBar*>(frame.panels().inputBar);
    QPushButton* on = bar.freezeOnButton();
    QPushButton* off = bar.freezeOffButton();
    QVERIFY(!on->isChecked() && !off->isChecked());
    on->click();
    QVERIFY(!on->isChecked()); // pressed is not yet sent
    QTRY_COMPARE(shown(), QStringLiteral("已发送图像静止：开"));
    QVERIFY(on->isChecked() && !off->isChecked());
    off->click();
    QTRY_COMPARE(shown(), QStringLiteral("已发送图像静止：关"));
    QVERIFY(!on->isChecked() && off->isChecked());

    const PanelContext context{rig.link,      rig.mirror, rig.facade, rig.settings,
                               rig.presenter, &rig.sink,  rig.busy};
    ClockDialog clock(context, &frame);
    clock.show();
    QVERIFY(QTest::qWaitFor([&] { return clock.openingDone(); }));
    QTest::mouseClick(clock.findChild<QPushButton*>(QStringLiteral("sendLocalButton")),
                      Qt::LeftButton);
    QVERIFY2(shown().startsWith(QStringLiteral("处理器时间已设为 20")), qPrintable(shown()));

    // Nothing went out with the link closed, so nothing is said.
    frame.statusBar()->clearMessage();
    rig.link.close();
    frame.runCommand(menucmd::kAutoAdjust);
    QCOMPARE(shown(), QString());
}

// A plan send and a clock set reach the frame's status bar whether their dialog has the frame
// above it, no parent at all, or a parentless plan editor above it.
void FeedbackTest::dialogsReachTheStatusBarHoweverOpened() {
    FrameRig rig;
    PanelFactory factory;
    rig.realPanels = &factory;
    QVERIFY(rig.connect());
    MainWindow& frame = rig.makeFrame();
    frame.show();
    const auto shown = [&frame] { return frame.statusBar()->currentMessage(); };
    const PanelContext context{rig.link,      rig.mirror, rig.facade, rig.settings,
                               rig.presenter, &rig.sink,  rig.busy};

    for (const bool underFrame : {true, false}) {
        const QByteArray row = underFrame ? "editor under the frame" : "editor without parent";
        frame.statusBar()->clearMessage();
        PlanEditorDialog editor(context, underFrame ? &frame : nullptr);
        editor.show();
        QVERIFY2(QTest::qWaitFor([&] { return editor.openingDone(); }), row);
        const std::size_t from = rig.framesSoFar();
        QTest::mouseClick(editor.findChild<QPushButton*>(QStringLiteral("sendButton")),
                          Qt::LeftButton);
        QVERIFY2(rig.framesSoFar() > from, row);
        QCOMPARE(shown(), QStringLiteral("脱机计划已发送"));

        for (QWidget* parent : {static_cast<QWidget*>(&editor), static_cast<QWidget*>(nullptr)}) {
            frame.statusBar()->clearMessage();
            ClockDialog clock(context, parent);
            clock.show();
            QVERIFY2(QTest::qWaitFor([&] { return clock.openingDone(); }), row);
            QTest::mouseClick(clock.findChild<QPushButton*>(QStringLiteral("sendLocalButton")),
                              Qt::LeftButton);
            QVERIFY2(shown().startsWith(QStringLiteral("处理器时间已设为 20")),
                     qPrintable(row + ": " + shown()));
        }
    }
    QCOMPARE(rig.presenter.informed, QStringList{});
}

// OK with the user name or password empty keeps the dialog open and says why.
void FeedbackTest::networkDialogSaysWhatItNeeds() {
    QTemporaryDir dir;
    Settings settings(std::filesystem::path(dir.path().toStdString()) / "korvaneapp.ini");
    NetworkSettingsDialog dlg(settings, NetworkSettingsDialog::Mode::Normal);
    dlg.show();
    dlg.ipEdit().setText(QStringLiteral("127.0.0.2"));
    dlg.portEdit().setText(QStringLiteral("5000"));
    dlg.userEdit().clear();
    dlg.passwordEdit().setText(QStringLiteral("secret"));
    dlg.okButton().click();
    QVERIFY(dlg.isVisible());
    QVERIFY(dlg.searchNote().isVisibleTo(&dlg));
    QCOMPARE(dlg.searchNote().text(), QStringLiteral("请填写用户名和密码。"));
    dlg.userEdit().setText(QStringLiteral("admin"));
    dlg.okButton().click();
    QVERIFY(!dlg.isVisible());
    QCOMPARE(settings.readNetworkSettings().username, std::string("admin"));
}

QTEST_MAIN(FeedbackTest)
#include "FeedbackTest.moc"
