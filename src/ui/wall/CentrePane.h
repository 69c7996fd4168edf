#pragma once

#include "ui/panels/ICentrePane.h"
#include "ui/wall/OutputSize.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

class QMenu;
class QPushButton;

namespace korvane {
class CommandFacade;
class DeviceLink;
class MessageSink;
struct ParameterMirror;
} // namespace korvane

namespace korvane::ui {

class BusyRunner;
class WallView;
class MessagePresenter;
struct PanelContext;

// The centre pane: the wall drawing sized to the output's aspect ratio, and along the bottom
// the processor's ten stored templates, recalled by a click, stored through "保存模板".
class CentrePane : public QWidget, public ICentrePane {
    Q_OBJECT
public:
    static constexpr int kTemplateCount = 10;
    // Below the drawing: the button row and its margins.
    static constexpr int kButtonRowHeight = 50;
    // The smallest picture the operator can drag, in output pixels.
    static constexpr int kMinimumPictureWidth = 64;
    static constexpr int kMinimumPictureHeight = 48;

    explicit CentrePane(const PanelContext& context, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    // Re-fits the drawing to the mirror's output resolution.
    void refreshFromMirror() override;
    void attachFrame(IFrameMessenger* frame) override { frame_ = frame; }
    ILayoutControl& layoutControl() override;
    WallView& wallView() const { return *view_; }

    // Sizes the drawing for an output resolution; an unknown code is reported and changes
    // nothing.
    bool setOutputResolution(std::uint8_t code);

    QPushButton& templateButton(int slot) const { return *templates_.at(slot - 1); }
    // Names template `slot` (the empty name clears it) and shows it on its button; false, with
    // the operator told, for a name that cannot be stored.
    bool renameTemplate(int slot, const QString& name);
    // The template button's recall, with its read-back and redraw; failures go to `presenter`.
    // False when the recall itself failed.
    bool recallTemplate(int slot, MessagePresenter& presenter);
    // The buttons show the stored template names (remote clients may rename them too).
    void showTemplateNames();
    QPushButton& storeButton() const { return *store_; }
    QMenu& storeMenu() const { return *storeMenu_; }

signals:
    // The operator moved picture 1: the output panel reloads its window edits.
    void picture1WindowChanged();
    // The operator moved picture 2: the dual-picture panel reloads its window edits.
    void picture2WindowChanged();
    // Sending picture 1's window ended its whole-area display; for the frame and the input bar.
    void picture1WholeAreaCleared();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void layOutButtons();
    void fitView();
    void recallTemplate(int slot);
    void readBackDone();
    void storeTemplate(int slot);
    void askTemplateName(int slot);

    DeviceLink& link_;
    ParameterMirror& mirror_;
    CommandFacade& facade_;
    MessagePresenter& presenter_;
    BusyRunner& busy_;
    MessageSink* messages_;
    IFrameMessenger* frame_ = nullptr;
    std::filesystem::path settingsFile_;
    std::uint8_t code_;
    OutputSize outputSize_;

    WallView* view_ = nullptr;
    std::array<QPushButton*, kTemplateCount> templates_{};
    QPushButton* store_ = nullptr;
    // The buttons' whole captions in row order; a narrow pane shows them shortened.
    std::vector<QString> captions_;
    QMenu* storeMenu_ = nullptr;
};

} // namespace korvane::ui
