#pragma once

#include "ui/device/FileChoice.h"

class QString;
class QWidget;

namespace korvane::ui {

// Shows operator messages, asks OK/Cancel questions and lets the operator pick files. The program
// uses message boxes and file dialogs; tests answer automatically and record what was shown.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // An information box with an OK button. A null parent means the active modal window.
    virtual void inform(QWidget* parent, const QString& text) = 0;
    // An OK/Cancel question; true only for OK.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // The same for a step that cannot be undone: Cancel is the default button, so that Enter
    // pressed twice does not carry it out.
    virtual bool confirmDestructive(QWidget* parent, const QString& text) {
        return confirm(parent, text);
    }
    // A file dialog; the chosen path, or empty when the operator cancels.
    virtual QString chooseFile(QWidget* parent, const FileChoice& choice) = 0;
};

} // namespace korvane::ui
