#include "core/base/Version.h"
#include "ui/app/AppRestart.h"
#include "ui/app/ControllerApp.h"
#include "ui/i18n/Language.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

using namespace korvane::ui;

namespace {

struct ProgramOptions {
    QCommandLineOption demo{QStringLiteral("demo"),
                            QStringLiteral("Run a simulated processor inside the program and "
                                           "connect to it over a pseudo-terminal.")};
    QCommandLineOption restartAfter{QString::fromLatin1(kRestartAfterOption),
                                    QStringLiteral("Wait for this process to end first."),
                                    QStringLiteral("pid")};

    explicit ProgramOptions(QCommandLineParser& parser) {
        parser.setApplicationDescription(
            QStringLiteral("Korvane Controller: controls an LED-wall video processor over a "
                           "serial line or UDP."));
        parser.addHelpOption();
        parser.addVersionOption();
        restartAfter.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(demo);
        parser.addOption(restartAfter);
    }
};

bool asksOnlyForText(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        for (const char* text : {"--help", "-h", "-?", "--help-all", "--version", "-v"}) {
            if (std::strcmp(argv[i], text) == 0) {
                return true;
            }
        }
    }
    return false;
}

// Help and version need no display, so they are answered before the window system is opened
// (which aborts without one).
int printText(int argc, char* argv[]) {
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    const ProgramOptions options(parser);
    parser.parse(args);
    if (parser.isSet(QStringLiteral("version"))) {
        std::fputs(korvane::versionLine("korvane-controller").c_str(), stdout);
    } else {
        // Without an application object the parser does not know the program's name.
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QCoreApplication::applicationName());
        std::fputs(text.toLocal8Bit().constData(), stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("korvane-controller"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(korvane::kVersion));
    if (asksOnlyForText(argc, argv)) {
        return printText(argc, argv);
    }
    QApplication app(argc, argv);
    // Lets the desktop match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.korvane.Controller"));

    QCommandLineParser parser;
    const ProgramOptions options(parser);
    parser.process(app);

    // After a language change the old process still holds the serial port for a moment.
    if (parser.isSet(options.restartAfter)) {
        waitForProcessEnd(parser.value(options.restartAfter).toLongLong(), 15000);
    }
    useCjkFont();

    AppOptions appOptions;
    appOptions.demo = parser.isSet(options.demo);
    ControllerApp controller(appOptions);
    if (!controller.initInstance()) {
        return 0;
    }
    return QApplication::exec();
}
