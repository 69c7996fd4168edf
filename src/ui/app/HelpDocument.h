#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <span>

class QWidget;

namespace korvane::ui {

class MessagePresenter;

// The installed manual, relative to a data folder.
inline constexpr const char* kInstalledManual = "manual/index.html";

// The help document to open: the manual's PDF in the program directory, else the older help
// file there, else the installed manual of the first data folder that has one; empty when none
// exists.
std::filesystem::path helpDocument(const std::filesystem::path& directory,
                                   std::span<const std::filesystem::path> dataDirs);

// Opens the help document in the desktop's viewer (`open` replaces that), or says
// "帮助文件不存在!" when there is none.
void openHelpDocument(const std::filesystem::path& directory,
                      std::span<const std::filesystem::path> dataDirs, MessagePresenter& presenter,
                      QWidget* parent, const std::function<void(const QString&)>& open = {});

} // namespace korvane::ui
