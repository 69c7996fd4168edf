#pragma once

#include <QLocale>
#include <memory>
#include <string_view>
#include <vector>

class QTranslator;

namespace korvane {
class Settings;
}

namespace korvane::ui {

class MessagePresenter;

// The user-interface language, chosen once at start-up: Chinese is built in, English comes
// from the program's own translation. A change through the menu takes effect after a restart.
class Language {
public:
    // The translations embedded in the program.
    static constexpr const char* kEnglishFiles[] = {":/i18n/korvane_en.qm",
                                                    ":/i18n/korvane_core_en.qm"};

    Language();
    ~Language();
    Language(const Language&) = delete;
    Language& operator=(const Language&) = delete;

    // "lang" CHN keeps Chinese, ENG loads English; anything else asks the system language and
    // stores the choice. Gives true when the program runs in Chinese.
    bool choose(Settings& settings, const QLocale& system, MessagePresenter& presenter);
    // Installs the English translation; false (and Chinese stays) when it cannot be loaded.
    bool loadEnglish();
    bool englishLoaded() const { return !translators_.empty() && !qtChinese_; }
    // Installs Qt's own Chinese texts (file dialogs, standard buttons) from the system's Qt
    // translations; false when they are not installed, and Qt's texts stay English.
    bool loadQtChinese();
    // Removes every installed translation.
    void unload();

    // The stored value names Chinese ("CHN", in any case).
    static bool isChinese(std::string_view lang);
    static bool isEnglish(std::string_view lang);

private:
    std::vector<std::unique_ptr<QTranslator>> translators_;
    bool qtChinese_ = false;
};

// Chinese is drawn with the Simplified Chinese glyph shapes of the CJK family when it is
// installed (fontconfig would otherwise choose Japanese shapes).
void useCjkFont();
inline constexpr const char* kCjkFamily = "Noto Sans CJK SC";

} // namespace korvane::ui
