#pragma once

#include "CallLog.h"
#include "ui/panels/IAutoUpdateQuery.h"
#include "ui/panels/ICapturePanel.h"
#include "ui/panels/ICentrePane.h"
#include "ui/panels/ICommPanel.h"
#include "ui/panels/IDualPicturePanel.h"
#include "ui/panels/IInputBar.h"
#include "ui/panels/ILayoutControl.h"
#include "ui/panels/IOutputPanel.h"
#include "ui/panels/IPanelFactory.h"
#include "ui/panels/IPictureQualityPanel.h"
#include "ui/panels/IPointLocateWindow.h"

#include <QWidget>

namespace korvane {
class DeviceLink;
}

namespace korvane::ui::test {

// A panel of any kind that records each call, and the send switch at every redraw.
class FakePanel : public QWidget,
                  public IInputBar,
                  public IPictureQualityPanel,
                  public ICapturePanel,
                  public IOutputPanel,
                  public IDualPicturePanel,
                  public ICommPanel {
public:
    FakePanel(QString name, CallLog& log, const DeviceLink& link)
        : name_(std::move(name)), log_(log), link_(link) {}

    QWidget* widget() override { return this; }
    void refreshFromMirror() override;
    void attachFrame(IFrameMessenger* frame) override;
    void selectPicture1Input(std::uint8_t code, bool quiet) override;
    void refreshInputs(bool quiet) override;
    void setSeamlessCheck(bool available) override;
    void hideExtendedInput() override;
    void setInputKind(bool notVga) override;
    void runRefreshOperation() override;
    void setResolutionCallback(IOutputResolutionCallback* callback) override;
    void selectPicture2Input(std::uint8_t code) override;
    bool choosePicture2Input(std::uint8_t code) override;
    void setOnlineIndicator(bool answering) override;

private:
    void add(const QString& what) { log_.add(name_ + QLatin1Char('.') + what); }
    QString name_;
    CallLog& log_;
    const DeviceLink& link_;
};

class FakeCentre : public QWidget, public ICentrePane, public ILayoutControl {
public:
    FakeCentre(CallLog& log, const DeviceLink& link) : log_(log), link_(link) {}

    QWidget* widget() override { return this; }
    void refreshFromMirror() override;
    void attachFrame(IFrameMessenger* frame) override;
    ILayoutControl& layoutControl() override { return *this; }
    void setPicture1OnTop(bool onTop) override;
    void setHollow(Picture picture, bool hollow) override;
    void setPicture1WholeArea(bool wholeArea) override;
    void labelPicture(Picture picture, std::uint8_t code) override;
    void stopPositioning() override;
    void selectBox(int column, int row) override;
    void setBoxSizes(int boxWidth, int boxHeight, int moduleWidth, int moduleHeight) override;
    void clearItems() override;
    void redraw() override;

private:
    CallLog& log_;
    const DeviceLink& link_;
};

// The communication panel's "自动更新" box, as far as the input bar and the dual-picture panel ask.
class AutoUpdateBox : public IAutoUpdateQuery {
public:
    bool ticked = false;
    bool autoUpdate() override { return ticked; }
};

class FakePointLocate : public IPointLocateWindow {
public:
    bool shown = false;
    QList<int> arrows;
    bool isShown() const override { return shown; }
    void arrow(int direction) override { arrows << direction; }
    QWidget* widget() override { return nullptr; }
    void attachFrame(IFrameMessenger*) override {}
    void runTool() override {}
};

// Makes recording panels; the schedule runner and the plan windows are recorded, not opened.
class FakePanelFactory : public IPanelFactory {
public:
    explicit FakePanelFactory(CallLog& log) : log_(log) {}
    PanelSet create(const PanelContext& context) override;
    bool runScheduleRunner(QWidget* parent, IScheduleTimerCallback& timer, bool autoStart,
                           ScheduleRunnerDialog*& openRunner) override;
    void runPlanEditor(QWidget* parent) override;
    void runPlanDialog(QWidget* parent) override;
    FakePointLocate pointLocate;
    bool withPointLocate = false;

private:
    CallLog& log_;
};

} // namespace korvane::ui::test
