#pragma once

#include "core/commands/CommandFacade.h"
#include "ui/panels/IOutputPanel.h"
#include "ui/panels/PanelNumbers.h"
#include "ui/wall/OutputSize.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace korvane {
class Settings;
}

namespace korvane::ui {

class BusyRunner;
class ILayoutControl;
class MessagePresenter;
struct PanelContext;

// "输出设置": the output resolution, from the table or a custom size, and picture 1's window
// inside it. A resolution change resets the processor's scene, so only the first one goes
// through without a question; the frame's callback sends it, waits and resynchronises.
class OutputPanel : public QWidget, public IOutputPanel {
    Q_OBJECT
public:
    enum class WindowField { X, Width, Y, Height };
    enum class CustomField { Width, Height, Refresh };
    static constexpr std::array<EvenRange, 3> kCustomRanges{{{64, 2720}, {48, 1920}, {30, 60}}};
    static constexpr int kMinimumWidth = 64;
    static constexpr int kMinimumHeight = 48;

    explicit OutputPanel(const PanelContext& context, QWidget* parent = nullptr);
    ~OutputPanel() override;

    QWidget* widget() override { return this; }
    void refreshFromMirror() override;
    void attachFrame(IFrameMessenger* frame) override { frame_ = frame; }
    void setResolutionCallback(IOutputResolutionCallback* callback) override {
        callback_ = callback;
    }
    // The wall drawing, redrawn when picture 1 moves and told the hollow tick; may stay null.
    void setLayoutControl(ILayoutControl* layout) { layout_ = layout; }
    // The four window edits from the mirror; the list stays as it is.
    void refreshWindow();

    // The output size picture 1 is placed in: the table's size, or for the custom entry the
    // custom size last sent (the last table size while none was sent). None for a code the
    // table does not know.
    std::optional<QSize> outputSize() const;
    // The code the list compares against: the frame's, or the panel's own without a frame.
    std::uint8_t currentResolution() const;

    QComboBox& resolutionList() const { return *list_; }
    QLineEdit& windowEdit(WindowField f) const { return *window_[index(f)]; }
    QLineEdit& customEdit(CustomField f) const { return *custom_[index(f)]; }
    QGroupBox& customGroup() const { return *customGroup_; }
    QPushButton& sendButton() const { return *send_; }

private:
    template <class E> static std::size_t index(E e) { return static_cast<std::size_t>(e); }
    void buildControls();
    void selectionChanged(int row);
    void sendCustom();
    void applyWindow(WindowField edited);
    void applyCustomEntry(CustomField f);
    // Asks first unless nothing was confirmed yet; false when the operator declines.
    bool changeResolution(int row, std::uint8_t code, int width, int height, int refresh);
    void setCurrentResolution(std::uint8_t code);
    void showCustomGroupFor(int row);
    std::uint8_t codeAt(int row) const;

    ParameterMirror& mirror_;
    CommandFacade& facade_;
    BusyRunner& busy_;
    MessagePresenter& presenter_;
    IFrameMessenger* frame_ = nullptr;
    IOutputResolutionCallback* callback_ = nullptr;
    ILayoutControl* layout_ = nullptr;
    // The list row last accepted; -1 until the first selection.
    int confirmed_ = -1;
    std::uint8_t ownCurrent_;
    Settings& settings_;
    mutable OutputSize outputSize_;

    QComboBox* list_ = nullptr;
    std::array<QLineEdit*, 4> window_{};
    std::array<QLineEdit*, 3> custom_{};
    QGroupBox* customGroup_ = nullptr;
    QPushButton* send_ = nullptr;
    QCheckBox* hollow_ = nullptr;
};

} // namespace korvane::ui
