// Writes the pictures installed with the program: the desktop icons, the window icon file and
// the wall drawing's backgrounds. Run by the build; not installed.

#include "ui/widgets/ProgramArtwork.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <cstdio>

using namespace korvane::ui;

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int kWindowIconSize = 64;

bool save(const QImage& image, const QString& file, const char* format) {
    QDir().mkpath(QFileInfo(file).path());
    QImageWriter writer(file, format);
    if (!writer.write(image)) {
        std::fprintf(stderr, "korvane-artwork: %s: %s\n", qPrintable(file),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fputs("usage: korvane-artwork SHAREDIR ICONNAME\n", stderr);
        return 2;
    }
    const QString share = args[1];
    const QString name = args[2];
    bool ok = true;
    for (const int size : kIconSizes) {
        ok =
            save(
                artwork::programIcon(size),
                QStringLiteral("%1/icons/hicolor/%2x%2/apps/%3.png").arg(share).arg(size).arg(name),
                "png") &&
            ok;
    }
    const QString svgFile =
        QStringLiteral("%1/icons/hicolor/scalable/apps/%2.svg").arg(share, name);
    QDir().mkpath(QFileInfo(svgFile).path());
    QFile svg(svgFile);
    ok = svg.open(QIODevice::WriteOnly) && svg.write(artwork::programIconSvg()) > 0 && ok;
    const QString data = share + QStringLiteral("/korvane/");
    ok =
        save(artwork::programIcon(kWindowIconSize), data + QStringLiteral("main.ico"), "ico") && ok;
    ok = save(artwork::wallBackground(1), data + QStringLiteral("screen.bmp"), "bmp") && ok;
    ok = save(artwork::wallBackground(2), data + QStringLiteral("pip.bmp"), "bmp") && ok;
    return ok ? 0 : 1;
}
