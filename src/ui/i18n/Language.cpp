#include "ui/i18n/Language.h"

#include "core/store/Settings.h"
#include "ui/device/MessagePresenter.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>
#include <cctype>

namespace korvane::ui {

namespace {
bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}
} // namespace

Language::Language() = default;

Language::~Language() {
    unload();
}

bool Language::isChinese(std::string_view lang) {
    return equalsIgnoringCase(lang, "CHN");
}

bool Language::isEnglish(std::string_view lang) {
    return equalsIgnoringCase(lang, "ENG");
}

bool Language::choose(Settings& settings, const QLocale& system, MessagePresenter& presenter) {
    const std::string lang = settings.readLanguage();
    if (isChinese(lang)) {
        loadQtChinese();
        return true;
    }
    if (!isEnglish(lang)) {
        if (system.language() == QLocale::Chinese) {
            settings.writeLanguage(true);
            loadQtChinese();
            return true;
        }
        // Stored even when the translation then fails to load.
        settings.writeLanguage(false);
    }
    if (!loadEnglish()) {
        presenter.inform(nullptr, QStringLiteral("Can not load resource library(LangEng.dll)!"));
        return true;
    }
    return false;
}

bool Language::loadEnglish() {
    if (englishLoaded()) {
        return true;
    }
    std::vector<std::unique_ptr<QTranslator>> loaded;
    for (const char* file : kEnglishFiles) {
        auto t = std::make_unique<QTranslator>();
        if (!t->load(QString::fromLatin1(file))) {
            return false;
        }
        loaded.push_back(std::move(t));
    }
    for (auto& t : loaded) {
        QCoreApplication::installTranslator(t.get());
        translators_.push_back(std::move(t));
    }
    return true;
}

bool Language::loadQtChinese() {
    if (qtChinese_) {
        return true;
    }
    auto t = std::make_unique<QTranslator>();
    if (!t->load(QStringLiteral("qtbase_zh_CN"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(t.get());
    translators_.push_back(std::move(t));
    qtChinese_ = true;
    return true;
}

void Language::unload() {
    for (auto& t : translators_) {
        QCoreApplication::removeTranslator(t.get());
    }
    translators_.clear();
    qtChinese_ = false;
}

void useCjkFont() {
    const QString family = QString::fromLatin1(kCjkFamily);
    if (!QFontDatabase::families().contains(family)) {
        return;
    }
    QFont f = QApplication::font();
    f.setFamilies({family});
    QApplication::setFont(f);
}

} // namespace korvane::ui
