#pragma once

#include <QString>
#include <filesystem>
#include <functional>

class QWidget;

namespace korvane::ui {

class MessagePresenter;

// Opens the help document of the program directory (the manual, else the older help file);
// "帮助文件不存在!" when neither is there. `open` shows a file (the desktop's viewer).
void openHelpDocument(const std::filesystem::path& directory, MessagePresenter& presenter,
                      QWidget* parent, const std::function<void(const QString&)>& open = {});

} // namespace korvane::ui
