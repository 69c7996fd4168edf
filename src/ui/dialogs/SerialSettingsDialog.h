#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korvane {
class Settings;
class DeviceLink;
} // namespace korvane

namespace korvane::ui {

class BusyRunner;
class MessagePresenter;

// "串口设置": chooses port, baud rate and timeout, stores them and opens the serial link.
class SerialSettingsDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Normal, Panel }; // the panel's dialog has no "退出"
    // Dialog results.
    static constexpr int kSkip = 0;
    static constexpr int kOk = 1;
    static constexpr int kExit = 2;
    static constexpr int kBaudRates[] = {9600, 19200, 38400, 57600, 115200};

    SerialSettingsDialog(DeviceLink& link, Settings& settings, MessagePresenter& presenter,
                         BusyRunner& busy, Mode mode, QWidget* parent = nullptr);
    // A line saying how to try the program without a processor.
    void showDemoHint(bool show);
    // A line saying which device failed to open and why (empty: none).
    void showOpenFailure(const QString& why);
    QString openFailureText() const;

    QComboBox& portBox() const { return *port_; }
    QComboBox& baudBox() const { return *baud_; }
    QLineEdit& timeoutEdit() const { return *timeout_; }
    QPushButton& okButton() const { return *ok_; }
    QPushButton& exitButton() const { return *exit_; }
    QPushButton& skipButton() const { return *skip_; }

public slots:
    void reject() override; // Escape is "退出"

private:
    void updateOk();
    void confirm();

    DeviceLink& link_;
    Settings& settings_;
    MessagePresenter& presenter_;
    BusyRunner& busy_;
    QComboBox* port_;
    QComboBox* baud_;
    QLineEdit* timeout_;
    QPushButton* ok_;
    QPushButton* exit_;
    QPushButton* skip_;
    QLabel* demoHint_;
    QLabel* openFailure_;
};

} // namespace korvane::ui
