#include "ui/app/AppRestart.h"
#include "ui/app/ControllerApp.h"
#include "ui/i18n/Language.h"

#include <QApplication>
#include <QCommandLineParser>

using namespace korvane::ui;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvane-controller"));
    QApplication::setApplicationVersion(QStringLiteral("3.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Korvane Controller: controls an LED-wall video processor."));
    parser.addHelpOption();
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Run a simulated processor inside the program "
                                                 "and connect to it over a pseudo-terminal."));
    QCommandLineOption restartAfter(QString::fromLatin1(kRestartAfterOption),
                                    QStringLiteral("Wait for this process to end first."),
                                    QStringLiteral("pid"));
    restartAfter.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(demo);
    parser.addOption(restartAfter);
    parser.process(app);

    // After a language change the old process still holds the serial port for a moment.
    if (parser.isSet(restartAfter)) {
        waitForProcessEnd(parser.value(restartAfter).toLongLong(), 15000);
    }
    useCjkFont();

    AppOptions options;
    options.demo = parser.isSet(demo);
    ControllerApp controller(options);
    if (!controller.initInstance()) {
        return 0;
    }
    return QApplication::exec();
}
