#include "ui/app/AppRestart.h"

#include <QCoreApplication>
#include <QProcess>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

namespace korvane::ui {

QStringList argumentsForRestart(const QStringList& arguments) {
    QStringList out;
    const QString option = QStringLiteral("--") + QLatin1String(kRestartAfterOption);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == option) {
            ++i; // and its value
            continue;
        }
        if (arguments[i].startsWith(option + QLatin1Char('='))) {
            continue;
        }
        out << arguments[i];
    }
    return out;
}

bool restartDetached(const QStringList& arguments) {
    QStringList args = argumentsForRestart(arguments);
    args << QStringLiteral("--") + QLatin1String(kRestartAfterOption)
         << QString::number(QCoreApplication::applicationPid());
    return QProcess::startDetached(QCoreApplication::applicationFilePath(), args);
}

void waitForProcessEnd(long long pid, int limitMs) {
    if (pid <= 0) {
        return;
    }
    using namespace std::chrono;
    const auto end = steady_clock::now() + milliseconds(limitMs);
    while (steady_clock::now() < end) {
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            return;
        }
        std::this_thread::sleep_for(milliseconds(50));
    }
}

} // namespace korvane::ui
