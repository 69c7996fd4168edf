// Pictures for the user manual: starts the program as --demo does (the simulated processor on
// a pseudo-terminal, the real main window and panels), in English, and saves one picture per
// main area and window: korvane-manual-shots <folder>. Not a test; nothing is checked.
#include "support/TempFolder.h"
#include "ui/app/ControllerApp.h"
#include "ui/device/BusyDialog.h"
#include "ui/frame/FrameMessage.h"
#include "ui/frame/MainWindow.h"
#include "ui/frame/MenuCommand.h"
#include "ui/frame/SidePaneStack.h"
#include "ui/i18n/Language.h"
#include "ui/locate/PointLocateWindow.h"
#include "ui/locate/TestPatternWindow.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/schedule/PlanEditorDialog.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>

using namespace korvane;
using namespace korvane::ui;

namespace {

QString folder;

void save(QWidget& w, const QString& name) {
    const QString file = folder + QLatin1Char('/') + name;
    if (w.grab().save(file)) {
        std::printf("%s\n", qPrintable(file));
    } else {
        std::fprintf(stderr, "could not save %s\n", qPrintable(file));
    }
}

// Runs `open`, which shows a modal window and returns once it is closed. Meanwhile waits until
// that window has been up for half a second with no busy dialog over it, runs `inside` on it
// (nested windows), saves its picture and closes it with `accept` or reject.
void shootModal(const std::function<void()>& open, const QString& name,
                const std::function<void(QWidget&)>& inside = {}, bool accept = false) {
    QWidget* before = QApplication::activeModalWidget();
    int steady = 0;
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (w == nullptr || w == before || qobject_cast<BusyDialog*>(w) != nullptr) {
            steady = 0;
            return;
        }
        if (++steady < 5) {
            return;
        }
        poll.stop();
        if (inside) {
            inside(*w);
        }
        save(*w, name);
        if (auto* dialog = qobject_cast<QDialog*>(w)) {
            accept ? dialog->accept() : dialog->reject();
        } else {
            w->close();
        }
    });
    poll.start();
    open();
}

template <class T> T* findWidget() {
    for (QWidget* w : QApplication::allWidgets()) {
        if (auto* found = qobject_cast<T*>(w)) {
            return found;
        }
    }
    return nullptr;
}

QPushButton* buttonWithText(QWidget& parent, const QString& text) {
    for (auto* b : parent.findChildren<QPushButton*>()) {
        if (b->text().remove(QLatin1Char('&')).startsWith(text)) {
            return b;
        }
    }
    return nullptr;
}

void shoot(MainWindow& frame) {
    save(frame, QStringLiteral("main-window.png"));
    const struct {
        int stack;
        int pane;
        const char* name;
    } panes[] = {
        {MainWindow::kLeftStack, 0, "pane-picture-quality.png"},
        {MainWindow::kLeftStack, 1, "pane-capture.png"},
        {MainWindow::kLeftStack, 2, "pane-sound.png"},
        {MainWindow::kRightStack, 0, "pane-output.png"},
        {MainWindow::kRightStack, 1, "pane-dual-picture.png"},
        {MainWindow::kRightStack, 2, "pane-communication.png"},
    };
    for (const auto& p : panes) {
        frame.openPane(p.stack, p.pane);
        QTest::qWait(1500); // the reads the opened pane asks for
        save(frame.stack(p.stack), QString::fromLatin1(p.name));
    }

    if (auto* comm = findWidget<CommunicationPanel>()) {
        shootModal([comm] { comm->serialSettingsButton().click(); },
                   QStringLiteral("serial-settings.png"));
        shootModal([comm] { comm->networkSettingsButton().click(); },
                   QStringLiteral("network-settings.png"));
    }
    shootModal([&] { frame.runCommand(menucmd::kPlanEditor); }, QStringLiteral("plan-editor.png"),
               [](QWidget& editor) {
                   if (QPushButton* clock = buttonWithText(editor, QStringLiteral("Clock"))) {
                       shootModal([clock] { clock->click(); }, QStringLiteral("clock.png"));
                   }
               });
    shootModal(
        [&] {
            frame.post(FrameMessage::OpenScheduleRunner);
            QTest::qWait(3000);
        },
        QStringLiteral("schedule-runner.png"));
    shootModal([&] { frame.runCommand(menucmd::kAbout); }, QStringLiteral("about.png"));

    frame.runCommand(menucmd::kTestPattern);
    QTest::qWait(500);
    if (auto* pattern = findWidget<TestPatternWindow>()) {
        save(*pattern, QStringLiteral("test-pattern.png"));
        pattern->close();
    }
    shootModal([&] { frame.runCommand(menucmd::kPointLocate); },
               QStringLiteral("locate-settings.png"), {}, true);
    QTest::qWait(1000);
    if (auto* locate = findWidget<PointLocateWindow>()) {
        save(*locate, QStringLiteral("point-locate.png"));
        save(frame, QStringLiteral("point-locate-wall.png"));
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    korvane::test::ProgramHome home;
    folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);
    {
        QFile ini(qEnvironmentVariable("KORVANE_HOME") + QStringLiteral("/korvaneapp.ini"));
        if (!ini.open(QIODevice::WriteOnly)) {
            return 1;
        }
        ini.write("[app]\r\nlang=ENG\r\n");
    }
    useCjkFont();
    AppOptions options;
    options.demo = true;
    ControllerApp controller(options);
    if (!controller.initInstance() || controller.mainWindow() == nullptr) {
        return 1;
    }
    MainWindow& frame = *controller.mainWindow();
    // The offscreen screen is small; the pictures show the window at a desktop's size.
    frame.showNormal();
    frame.setGeometry(0, 0, 1400, 900);
    bool synchronised = false;
    QObject::connect(&frame, &MainWindow::messageHandled, [&](int number, int) {
        synchronised = synchronised || number == messageNumber(FrameMessage::Synchronise);
    });
    QDeadlineTimer deadline(60000);
    while (!synchronised && !deadline.hasExpired()) {
        QTest::qWait(50);
    }
    QTest::qWait(500);
    shoot(frame);
    return 0;
}
