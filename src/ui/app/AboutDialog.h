#pragma once

#include <QDialog>

namespace korvane {
class Settings;
struct ParameterMirror;
} // namespace korvane

namespace korvane::ui {

// "关于 Korvane Controller": the program's icon, name, and the processor's version and
// factory date.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const ParameterMirror& mirror, const Settings& settings, QWidget* parent = nullptr);
};

} // namespace korvane::ui
