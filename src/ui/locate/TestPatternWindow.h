#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QPushButton;

namespace korvane {
class CommandFacade;
}

namespace korvane::ui {

class BusyRunner;
struct PanelContext;

// "测试图卡": one button per built-in test pattern of the processor. Closing the window ends
// the test on the wall.
class TestPatternWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPatternCount = 72;
    static constexpr int kColumns = 12;
    // The pattern actions besides 1 .. 72.
    static constexpr std::uint8_t kEndTest = 0;
    static constexpr std::uint8_t kAutoIncrement = 129;
    static constexpr std::uint8_t kAutoDecrement = 128;

    explicit TestPatternWindow(const PanelContext& context, QWidget* parent = nullptr);

    // Pattern 1 .. 72.
    QPushButton& patternButton(int pattern) const;
    // The hidden "关闭测试", "自增测试" and "自减测试".
    QPushButton& endButton() const { return *end_; }
    QPushButton& incrementButton() const { return *increment_; }
    QPushButton& decrementButton() const { return *decrement_; }

public slots:
    void reject() override; // Escape closes like the close box

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void send(std::uint8_t action);

    CommandFacade& facade_;
    BusyRunner& busy_;
    std::array<QPushButton*, kPatternCount> patterns_{};
    QPushButton* end_;
    QPushButton* increment_;
    QPushButton* decrement_;
};

} // namespace korvane::ui
