#pragma once

#include "support/TempFolder.h"
#include "ui/i18n/Language.h"

#include <QApplication>
#include <QDir>
#include <QString>

namespace korvane::ui::test {

// The start the picture programs share: offscreen, a temporary program folder and the Chinese
// font; `shoot(folder, language)` draws once in Chinese and once in English. The folder is the
// first argument, else the current one.
inline int runShots(int argc, char** argv, void (*shoot)(const QString&, const QString&)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    korvane::test::ProgramHome home;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    useCjkFont();
    shoot(folder, QStringLiteral("zh"));
    Language language;
    if (!language.loadEnglish()) {
        return 1;
    }
    shoot(folder, QStringLiteral("en"));
    return 0;
}

} // namespace korvane::ui::test
