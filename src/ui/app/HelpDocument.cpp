#include "ui/app/HelpDocument.h"

#include "core/store/Settings.h"
#include "ui/device/MessagePresenter.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

namespace korvane::ui {

std::filesystem::path helpDocument(const std::filesystem::path& directory,
                                   std::span<const std::filesystem::path> dataDirs) {
    // The manual's name is a translatable text: a translation may point to its own manual.
    const QString manual =
        QCoreApplication::translate("korvane::ui::HelpDocument", "TRS TX-45使用说明书.pdf");
    for (const std::filesystem::path& file :
         {directory / manual.toStdString(), directory / "TRS TX-40 Help.pdf"}) {
        if (Settings::fileExists(file)) {
            return file;
        }
    }
    for (const auto& dir : dataDirs) {
        if (const auto file = dir / kInstalledManual; Settings::fileExists(file)) {
            return file;
        }
    }
    return {};
}

void openHelpDocument(const std::filesystem::path& directory,
                      std::span<const std::filesystem::path> dataDirs, MessagePresenter& presenter,
                      QWidget* parent, const std::function<void(const QString&)>& open) {
    const std::filesystem::path file = helpDocument(directory, dataDirs);
    if (file.empty()) {
        presenter.inform(
            parent, QCoreApplication::translate("korvane::ui::HelpDocument", "帮助文件不存在!"));
        return;
    }
    const QString path = QString::fromStdString(file.string());
    if (open) {
        open(path);
    } else {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
}

} // namespace korvane::ui
