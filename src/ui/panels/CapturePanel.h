#pragma once

#include "core/link/CommandCodes.h"
#include "ui/panels/CaptureRules.h"
#include "ui/panels/ICapturePanel.h"
#include "ui/panels/PanelContext.h"

#include <QWidget>
#include <array>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace korvane::ui {

// "图像截取": which part of each picture's incoming frame is used, bounded by the input
// resolution the processor reported last ("输入信号"). Edits are only corrected when left; the
// window goes out with "发送" and back to the whole input with "参数复位".
class CapturePanel : public QWidget, public ICapturePanel {
    Q_OBJECT
public:
    using Field = capture::Field;

    explicit CapturePanel(const PanelContext& context, QWidget* parent = nullptr);
    ~CapturePanel() override;

    QWidget* widget() override { return this; }
    // Edits, switches and input texts from the mirror and the last replies; the capture mode
    // goes out again unless the send switch is off.
    void refreshFromMirror() override;
    void runRefreshOperation() override { refreshFromMirror(); }

    QLineEdit& edit(Picture p, Field f) const { return *group(p).edits[capture::at(f)]; }
    QLineEdit& inputSignal(Picture p) const { return *group(p).signal; }
    QRadioButton& switchOn(Picture p) const { return *group(p).on; }
    QRadioButton& switchOff(Picture p) const { return *group(p).off; }
    QPushButton& sendButton(Picture p) const { return *group(p).send; }
    QPushButton& resetButton(Picture p) const { return *group(p).reset; }

signals:
    // Picture 2's window was read back from the processor; sent with the send switch off.
    void picture2WindowReadBack();

private:
    struct Group {
        QGroupBox* box = nullptr;
        QRadioButton* on = nullptr;
        QRadioButton* off = nullptr;
        std::array<QLineEdit*, capture::kFieldCount> edits{};
        QLineEdit* signal = nullptr;
        QPushButton* send = nullptr;
        QPushButton* reset = nullptr;
    };

    static std::size_t index(Picture p) { return static_cast<std::size_t>(p); }
    const Group& group(Picture p) const { return groups_[index(p)]; }
    Group& group(Picture p) { return groups_[index(p)]; }

    QGroupBox* buildGroup(Picture p, const QString& title);
    void checkEdit(Picture p, Field f);
    void sendWindow(Picture p);
    void resetWindow(Picture p);
    void switchClicked(Picture p, bool on);
    void applyEnableRule(Picture p);
    void sendCaptureMode(std::uint8_t picture1, std::uint8_t picture2);
    void showWindow(Picture p, const capture::Window& w);
    void showMirrorWindow(Picture p);
    void showInputSignal(Picture p);
    capture::Window mirrorWindow(Picture p) const;
    capture::Window shownWindow(Picture p) const;
    capture::InputSize lastInputSize(Picture p) const;
    std::uint8_t switchState(Picture p) const;

    PanelContext c_;
    std::array<Group, 2> groups_{};
};

} // namespace korvane::ui
