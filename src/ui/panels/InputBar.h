#pragma once

#include "ui/frame/FrameMessage.h"
#include "ui/panels/IInputBar.h"
#include "ui/panels/InputButtonTable.h"
#include "ui/panels/PanelContext.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace korvane::ui {

class IAutoUpdateQuery;

// The strip across the top of the main frame: picture 1's input, one button per input, the
// freeze buttons and the freeze area. With "自动更新" ticked an input change is followed by
// reads, so that the panels show what the processor actually did.
class InputBar : public QWidget, public IInputBar {
    Q_OBJECT
public:
    static constexpr int kFreezeDelayMs = 100;
    static constexpr int kAutoUpdateWaitMs = 1500;
    static constexpr int kStackPauseMs = 100;
    static constexpr int kReadPauseMs = 50;
    static constexpr int kSeamlessSettleMs = 1000;
    // What a freeze button keeps beside its caption at its narrowest.
    static constexpr int kCompactButtonPadding = 24;

    explicit InputBar(const PanelContext& context, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    void refreshFromMirror() override { refreshInputs(false); }
    void attachFrame(IFrameMessenger* frame) override { frame_ = frame; }
    void selectPicture1Input(std::uint8_t code, bool quiet) override;
    void refreshInputs(bool quiet) override;
    void setSeamlessCheck(bool available) override;
    void hideExtendedInput() override;

    // The communication panel's "自动更新" box; wired by the panel factory, may stay unset.
    void setAutoUpdateQuery(IAutoUpdateQuery* query) { autoUpdate_ = query; }

    std::uint8_t currentInput() const { return current_; }
    QToolButton* inputButton(std::size_t row) const { return buttons_[row]; }
    QCheckBox* seamlessBox() const { return seamless_; }
    QPushButton* freezeOnButton() const { return freezeOn_; }
    QPushButton* freezeOffButton() const { return freezeOff_; }
    QRadioButton* partialRadio() const { return partial_; }
    QRadioButton* fullScreenRadio() const { return fullScreen_; }
    QLabel* freezeAreaCaption() const { return areaCaption_; }

signals:
    // Picture 2 was read back after an input change; sent with the send switch off.
    void picture2ReadBack();
    // The seamless switch and picture 2 exclude each other: picture 2's on/off choice is
    // offered only while seamless switching is off, and ticking it shows picture 2 off.
    void picture2SwitchAllowed(bool allowed);
    void picture2ForcedOff();
    // After an input button's channel-switch follow-up.
    void picture1InputChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void showFreezeSent();
    // Select input; true when its SelectInput really went out.
    bool selectInput(std::uint8_t code, bool quiet);
    void inputPressed(std::size_t row);
    void channelSwitchFollowUp(bool switchSent);
    void seamlessClicked();
    void applySeamlessValue(bool available);
    void freezeFired(bool on);
    void freezeAreaClicked(std::uint8_t fullScreen);
    void showFreezeArea(std::uint8_t area);
    void reannounceBothStacks();
    bool autoUpdate() const;
    // `pauseMs` then one read on a worker; the reply's payload, or none when it failed. The
    // pause is left out when the request cannot go out (sending off, link closed).
    std::optional<std::vector<std::uint8_t>> readUnseen(std::uint8_t type, int pauseMs, bool purge);
    // A pause for the processor, left out while no frame can go out.
    void pauseUnseen(int ms);

    PanelContext c_;
    IFrameMessenger* frame_ = nullptr;
    IAutoUpdateQuery* autoUpdate_ = nullptr;
    std::uint8_t current_ = 0;
    bool freezeOnPending_ = false;
    bool freezeOffPending_ = false;
    QTimer freezeOnTimer_;
    QTimer freezeOffTimer_;
    std::array<QToolButton*, kInputButtonCount> buttons_{};
    QCheckBox* seamless_ = nullptr;
    // The freeze state last sent; none before the first.
    std::optional<bool> freezeSent_;
    QPushButton* freezeOn_ = nullptr;
    QPushButton* freezeOff_ = nullptr;
    QRadioButton* partial_ = nullptr;
    QRadioButton* fullScreen_ = nullptr;
    QLabel* areaCaption_ = nullptr;
};

} // namespace korvane::ui
