#pragma once

#include "remote/RemoteSettings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace korvane::ui {

// "远程控制": switches the remote server on or off, sets its ports and listen address, shows the
// token and the web page's address as a link and as a QR code for the tablet.
class RemoteControlDialog : public QDialog {
    Q_OBJECT
public:
    RemoteControlDialog(remote::RemoteSettings& settings, QWidget* parent = nullptr);

    // What the operator set; stored by accept().
    remote::RemoteConfig config() const;
    // The address the page is shown at (the listen address, or this computer's own address when
    // the server listens on every interface).
    static QString pageHost(const QString& listen);

    QLabel& addressLabel() const { return *address_; }
    QLabel& qrLabel() const { return *qr_; }

public slots:
    void accept() override;

private:
    void showAddress();

    remote::RemoteSettings& settings_;
    QCheckBox* enabled_;
    QSpinBox* httpPort_;
    QSpinBox* oscPort_;
    QLineEdit* listen_;
    QLineEdit* token_;
    QLabel* address_;
    QLabel* qr_;
    QLabel* error_;
};

} // namespace korvane::ui
