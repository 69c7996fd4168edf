#pragma once

#include "ui/device/MessagePresenter.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>
#include <deque>

namespace korvane::ui::test {

// Answers questions from a script (OK when it runs dry), picks files from a script (Cancel when
// it runs dry) and records every text shown and every file dialog.
class ScriptedPresenter : public MessagePresenter {
public:
    QStringList informed;
    QStringList asked;
    std::deque<bool> answers;
    std::deque<QString> files;
    QList<FileChoice> fileDialogs;
    // Whether each box was shown on the UI thread.
    QList<bool> onUiThread;

    void inform(QWidget*, const QString& text) override {
        onUiThread << (QThread::currentThread() == QCoreApplication::instance()->thread());
        informed << text;
    }
    bool confirm(QWidget*, const QString& text) override {
        onUiThread << (QThread::currentThread() == QCoreApplication::instance()->thread());
        asked << text;
        if (answers.empty()) {
            return true;
        }
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    QString chooseFile(QWidget*, const FileChoice& choice) override {
        fileDialogs << choice;
        if (files.empty()) {
            return {};
        }
        const QString f = files.front();
        files.pop_front();
        return f;
    }
};

} // namespace korvane::ui::test
