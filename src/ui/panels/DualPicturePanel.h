#pragma once

#include "ui/frame/FrameMessage.h"
#include "ui/panels/DualPictureForm.h"
#include "ui/panels/IDualPicturePanel.h"
#include "ui/panels/PanelContext.h"
#include "ui/panels/Picture2Window.h"

#include <QSize>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace korvane {
enum class ReadBackKind;
}

namespace korvane::ui {

class IAutoUpdateQuery;
class ILayoutControl;

// "双画面": picture 2 (on/off, source, window, transparency, automatic switching), the colour-key
// overlay, the effect used when the two pictures swap, the swap itself and the top picture.
// Every change goes to the processor at once; the swap and source changes are read back so
// that the panel shows what the processor did.
class DualPicturePanel : public QWidget, public IDualPicturePanel {
    Q_OBJECT
public:
    using Pair = dualform::Pair;
    using Threshold = dualform::Threshold;

    explicit DualPicturePanel(const PanelContext& context, QWidget* parent = nullptr);
    ~DualPicturePanel() override;

    QWidget* widget() override { return this; }
    // The frame's redraw after synchronisation, template loads and input changes.
    void refreshFromMirror() override { refresh(false); }
    void attachFrame(IFrameMessenger* frame) override { frame_ = frame; }
    void selectPicture2Input(std::uint8_t code) override;
    bool choosePicture2Input(std::uint8_t code) override;
    // Redraws from the mirror. `full` (after the capture panel read picture 2 back) leaves
    // picture 2's on/off state with the processor; otherwise the redraw also applies it, which
    // sends only while the send switch is on.
    void refresh(bool full);
    // The operator moved or resized picture 2 on the wall drawing: the window edits show the
    // mirror's window again.
    void windowChanged();

    // What the input bar tells: picture 2's on/off choice is offered only while seamless
    // switching is off; seamless switching was ticked, so picture 2's switch shows off without
    // a command; picture 1's input changed, and the processor may have changed picture 2 with it.
    void enablePicture2Switch(bool enable);
    void forcePicture2Off();
    void picture1InputChanged();

    // Wired by the panel factory; each may stay unset.
    void setAutoUpdateQuery(IAutoUpdateQuery* query) { autoUpdate_ = query; }
    void setLayoutControl(ILayoutControl* layout) { layout_ = layout; }
    // The output picture 2 is placed in. Unset, the resolution table's size of the mirror's
    // code, which the custom entry lacks.
    void setOutputSizeSource(std::function<std::optional<QSize>()> source) {
        outputSize_ = std::move(source);
    }

    QRadioButton& radio(Pair p, int index) const { return *f_.radios[p][index != 0 ? 1 : 0]; }
    QComboBox& sourceList() const { return *f_.source; }
    QComboBox& autoSwitchList() const { return *f_.autoSwitch; }
    QComboBox& transparencyList() const { return *f_.transparency; }
    QComboBox& fadeList() const { return *f_.fade; }
    QLineEdit& windowEdit(Picture2Field f) const { return *f_.window[static_cast<std::size_t>(f)]; }
    QLineEdit& thresholdEdit(Threshold t) const { return *f_.thresholdEdits[t]; }
    QSlider& thresholdSlider(Threshold t) const { return *f_.sliders[t]; }
    QLabel& conditionLabel() const { return *f_.condition; }
    QPushButton& switchButton() const { return *f_.switchButton; }
    QGroupBox& overlayGroup() const { return *f_.group; }
    // Every control enabled only while picture 2 is on, beside its source, window and
    // transparency.
    const std::vector<QWidget*>& overlayControls() const { return f_.overlayControls; }

private:
    void buildControls();
    void pushMembers();
    void pullMembers();
    void setPairIndex(Pair p, int index);
    int pairIndex(Pair p) const;

    void pairClicked(Pair p);
    // Picture 2's on/off state to the controls; `all` also to the overlay and effect controls
    // and to the processor.
    void applySwitchState(bool all);
    void sourceChosen(int row);
    // `switchSent`: the SelectInput went out, so the processor is owed its time to act on it.
    void queryAfterSourceChange(bool switchSent);
    void readBackAfterSourceChange();
    void tellPicture1Input(std::uint8_t code);
    void applyWindow(Picture2Field edited);
    std::optional<QSize> outputSize() const;
    void transparencyChosen(int row);
    void autoSwitchChosen(int row);
    void normaliseThresholds();
    void storeOverlay();
    void runOverlay(bool afterStateClick);
    void updateConditionText();
    void sliderMoved(Threshold t, int position);
    void sliderReleased(Threshold t);
    void thresholdEntered(Threshold t);
    void effectClicked();
    void switchPictures();
    void notifyLayoutFlags();
    void loadWindowTexts();
    int thresholdValue(Threshold t) const;
    std::int32_t& mirrorThreshold(Threshold t);
    void send(const std::function<void()>& command);
    bool readBack(ReadBackKind kind, const QString& caption);
    bool autoUpdate() const;

    PanelContext c_;
    IFrameMessenger* frame_ = nullptr;
    IAutoUpdateQuery* autoUpdate_ = nullptr;
    ILayoutControl* layout_ = nullptr;
    std::function<std::optional<QSize>()> outputSize_;
    // A source change waits for the processor's switch state; another one waits its turn.
    bool querying_ = false;

    // The members the controls are pushed from and pulled into: -1 for a pair without a choice.
    std::array<int, dualform::kPairCount> picked_{};
    std::array<QString, 4> windowTexts_;
    std::array<QString, dualform::kThresholdCount> thresholdTexts_;

    DualPictureForm f_;
};

} // namespace korvane::ui
