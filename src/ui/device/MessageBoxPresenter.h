#pragma once

#include "ui/device/MessagePresenter.h"

namespace korvane::ui {

// Message boxes titled with the program's name, with translated button texts, and the file
// dialogs.
class MessageBoxPresenter : public MessagePresenter {
public:
    void inform(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
    bool confirmDestructive(QWidget* parent, const QString& text) override;
    QString chooseFile(QWidget* parent, const FileChoice& choice) override;

private:
    bool ask(QWidget* parent, const QString& text, bool cancelFirst);
};

} // namespace korvane::ui
