#pragma once

class QString;
class QWidget;

namespace korvane::ui {

// Shows operator messages and asks OK/Cancel questions. The program uses message boxes; tests
// answer automatically and record what was shown.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // An information box with an OK button. A null parent means the active modal window.
    virtual void inform(QWidget* parent, const QString& text) = 0;
    // An OK/Cancel question; true only for OK.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
};

} // namespace korvane::ui
