#pragma once

#include "core/link/Discovery.h"

#include <QDialog>
#include <QTimer>
#include <chrono>
#include <thread>
#include <vector>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace korvane {
class Settings;
}

namespace korvane::ui {

// "网络设置": the processor's address, port, user name and password, with a broadcast search
// for processors on the network. The search runs on a worker with its own socket.
class NetworkSettingsDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Normal, Panel }; // the panel's dialog has no "退出"
    static constexpr int kSkip = 0;
    static constexpr int kOk = 1;
    static constexpr int kExit = 2;
    static constexpr int kProgressStepMs = 80;
    static constexpr int kProgressCeiling = 90;

    NetworkSettingsDialog(Settings& settings, Mode mode, QWidget* parent = nullptr);
    ~NetworkSettingsDialog() override;
    // How long the search waits for each further answer.
    void setAnswerWait(std::chrono::milliseconds wait) { answerWait_ = wait; }
    bool searching() const { return searching_; }

    QLineEdit& ipEdit() const { return *ip_; }
    QLineEdit& portEdit() const { return *port_; }
    QLineEdit& userEdit() const { return *user_; }
    QLineEdit& passwordEdit() const { return *password_; }
    QTreeWidget& resultList() const { return *list_; }
    QProgressBar& progress() const { return *progress_; }
    QLabel& searchNote() const { return *note_; }
    QPushButton& okButton() const { return *ok_; }
    QPushButton& searchButton() const { return *search_; }

signals:
    void searchFinished();

public slots:
    void reject() override; // "退出"; nothing while a search runs

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    static QString translatedReason(const QString& error);
    void startSearch();
    void searchDone(int count, std::vector<DiscoveryResult> found, QString error);
    void setControlsEnabled(bool on);
    void confirm();

    Settings& settings_;
    std::string broadcastAddress_;
    std::chrono::milliseconds answerWait_ = kDiscoveryAnswerWait;
    QLineEdit* ip_;
    QLineEdit* port_;
    QLineEdit* user_;
    QLineEdit* password_;
    QTreeWidget* list_;
    QProgressBar* progress_;
    QLabel* note_;
    QPushButton* ok_;
    QPushButton* exit_;
    QPushButton* skip_;
    QPushButton* search_;
    QTimer progressTimer_;
    std::thread worker_;
    bool searching_ = false;
};

} // namespace korvane::ui
