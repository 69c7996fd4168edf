#pragma once

#include <QDialog>

class QLabel;

namespace korvane {
class CKorvaneSettings;
struct ParameterMirror;
} // namespace korvane

namespace korvane::ui {

// "关于 Korvane Controller": the program's icon, name, and the processor's version and
// factory date.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const ParameterMirror& mirror, const CKorvaneSettings& settings,
              QWidget* parent = nullptr);
    QString versionText() const;
    QString dateText() const;

private:
    QLabel* version_;
    QLabel* date_;
};

} // namespace korvane::ui
