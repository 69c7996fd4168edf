#pragma once

#include "ui/panels/IAutoUpdateQuery.h"
#include "ui/panels/ICommPanel.h"

#include <QWidget>
#include <chrono>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace korvane {
class Settings;
class CommandFacade;
class DeviceLink;
class MessageSink;
struct ParameterMirror;
struct NetworkSettings;
struct SerialSettings;
} // namespace korvane

namespace korvane::ui {

class BusyRunner;
class MessagePresenter;
struct PanelContext;

// "通讯设置": how the program reaches the processor (serial port or network), whether the link
// is open and whether the processor answers. It owns no settings; it shows the settings file
// and acts on the frame layer. Device work runs on a worker through the busy runner.
class CommunicationPanel : public QWidget, public ICommPanel, public IAutoUpdateQuery {
    Q_OBJECT
public:
    // The processor's settling time after a link was opened.
    static constexpr std::chrono::milliseconds kOpenSettle{100};

    explicit CommunicationPanel(const PanelContext& context, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    void refreshFromMirror() override {} // nothing here comes from the mirror
    void attachFrame(IFrameMessenger* frame) override { frame_ = frame; }
    void setOnlineIndicator(bool answering) override;
    bool autoUpdate() override;
    // Probes the processor when the link is open and shows the answer; an answer is followed
    // by the device information read in the busy dialog.
    void queryStatus();
    // Whether the picture says the processor answers.
    bool answeringShown() const { return answering_; }

    QRadioButton& openRadio() const { return *open_; }
    QRadioButton& closeRadio() const { return *close_; }
    QRadioButton& serialModeRadio() const { return *serialMode_; }
    QRadioButton& networkModeRadio() const { return *networkMode_; }
    QPushButton& serialSettingsButton() const { return *serialSettings_; }
    QPushButton& networkSettingsButton() const { return *networkSettings_; }
    QPushButton& synchroniseButton() const { return *synchronise_; }
    QPushButton& queryButton() const { return *query_; }
    QCheckBox& autoUpdateBox() const { return *autoUpdate_; }
    QLineEdit& portText() const { return *port_; }
    QLineEdit& baudText() const { return *baud_; }
    QLineEdit& timeoutText() const { return *timeout_; }
    QLineEdit& ipText() const { return *ip_; }
    QLineEdit& networkPortText() const { return *netPort_; }
    QLineEdit& userText() const { return *user_; }
    QLineEdit& passwordText() const { return *password_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void loadSerialTexts();
    void loadNetworkTexts();
    // The radios from the frame layer: "开" only for an open link in serial mode.
    void showLinkState();
    void openSerial();
    void closeLink();
    void runSerialSettings();
    void runNetworkSettings();
    void switchToSerial();
    void switchToNetwork();
    void synchronise();
    // Opens on a worker and lets the processor settle; true when the link is open.
    bool openSerialLink(const SerialSettings& s);
    bool openNetworkLink(const NetworkSettings& s);

    DeviceLink& link_;
    ParameterMirror& mirror_;
    CommandFacade& facade_;
    Settings& settings_;
    MessagePresenter& presenter_;
    MessageSink* messages_;
    BusyRunner& busy_;
    IFrameMessenger* frame_ = nullptr;
    bool shownOnce_ = false;
    bool answering_ = false;

    QRadioButton* open_ = nullptr;
    QRadioButton* close_ = nullptr;
    QLineEdit* port_ = nullptr;
    QLineEdit* baud_ = nullptr;
    QLineEdit* timeout_ = nullptr;
    QPushButton* serialSettings_ = nullptr;
    QLineEdit* ip_ = nullptr;
    QLineEdit* netPort_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QPushButton* networkSettings_ = nullptr;
    QRadioButton* serialMode_ = nullptr;
    QRadioButton* networkMode_ = nullptr;
    QPushButton* synchronise_ = nullptr;
    QCheckBox* autoUpdate_ = nullptr;
    QPushButton* query_ = nullptr;
    QLabel* picture_ = nullptr;
};

} // namespace korvane::ui
