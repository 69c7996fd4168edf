#pragma once

#include <QString>

namespace korvane::ui {

// What a file dialog asks for: the program shows a file dialog, tests answer from a script.
struct FileChoice {
    enum class Mode {
        Open, // the file and its folder must exist
        Save, // the folder must exist; the dialog asks before overwriting
    };
    Mode mode = Mode::Open;
    // "Name(*.ext)".
    QString filter;
    // Added to a name typed without an extension.
    QString defaultSuffix;
    // Where the dialog starts; empty for the current folder.
    QString folder;
};

// The folder part of a chosen path (what the next dialog starts in).
inline QString folderOfChoice(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash >= 0 ? path.left(slash) : QString();
}

} // namespace korvane::ui
