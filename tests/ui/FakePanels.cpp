#include "FakePanels.h"

#include "core/link/DeviceLink.h"
#include "ui/panels/PanelContext.h"

namespace korvane::ui::test {

namespace {
QString flag(bool b) {
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

int number(Picture p) {
    return p == Picture::One ? 1 : 2;
}
} // namespace

void FakePanel::refreshFromMirror() {
    add(QStringLiteral("refresh sw=%1").arg(link_.sendSwitch()));
}
void FakePanel::attachFrame(IFrameMessenger*) {
    add(QStringLiteral("attach"));
}
void FakePanel::selectPicture1Input(std::uint8_t code, bool quiet) {
    add(QStringLiteral("select %1 quiet=%2").arg(code).arg(flag(quiet)));
}
void FakePanel::refreshInputs(bool quiet) {
    add(QStringLiteral("refresh quiet=%1 sw=%2").arg(flag(quiet)).arg(link_.sendSwitch()));
}
void FakePanel::setSeamlessCheck(bool available) {
    add(QStringLiteral("seamless %1").arg(flag(available)));
}
void FakePanel::hideExtendedInput() {
    add(QStringLiteral("hideExtended"));
}
void FakePanel::setInputKind(bool notVga) {
    add(QStringLiteral("inputKind %1").arg(flag(notVga)));
}
void FakePanel::runRefreshOperation() {
    add(QStringLiteral("refreshOperation"));
}
void FakePanel::setResolutionCallback(IOutputResolutionCallback* callback) {
    add(QStringLiteral("callback %1").arg(flag(callback != nullptr)));
}
void FakePanel::selectPicture2Input(std::uint8_t code) {
    add(QStringLiteral("select %1").arg(code));
}
bool FakePanel::choosePicture2Input(std::uint8_t code) {
    add(QStringLiteral("choose %1").arg(code));
    return true;
}
void FakePanel::setOnlineIndicator(bool answering) {
    add(QStringLiteral("online %1").arg(flag(answering)));
}

void FakeCentre::refreshFromMirror() {
    log_.add(QStringLiteral("centre.refresh sw=%1").arg(link_.sendSwitch()));
}
void FakeCentre::attachFrame(IFrameMessenger*) {
    log_.add(QStringLiteral("centre.attach"));
}
void FakeCentre::setPicture1OnTop(bool onTop) {
    log_.add(QStringLiteral("layout.onTop %1").arg(flag(onTop)));
}
void FakeCentre::setHollow(Picture picture, bool hollow) {
    log_.add(QStringLiteral("layout.hollow %1 %2").arg(number(picture)).arg(flag(hollow)));
}
void FakeCentre::setPicture1WholeArea(bool wholeArea) {
    log_.add(QStringLiteral("layout.wholeArea %1").arg(flag(wholeArea)));
}
void FakeCentre::labelPicture(Picture picture, std::uint8_t code) {
    log_.add(QStringLiteral("layout.label %1 %2").arg(number(picture)).arg(code));
}
void FakeCentre::stopPositioning() {
    log_.add(QStringLiteral("layout.stopPositioning"));
}
void FakeCentre::selectBox(int column, int row) {
    log_.add(QStringLiteral("layout.selectBox %1 %2").arg(column).arg(row));
}
void FakeCentre::setBoxSizes(int boxWidth, int boxHeight, int moduleWidth, int moduleHeight) {
    log_.add(QStringLiteral("layout.boxSizes %1 %2 %3 %4")
                 .arg(boxWidth)
                 .arg(boxHeight)
                 .arg(moduleWidth)
                 .arg(moduleHeight));
}
void FakeCentre::clearItems() {
    log_.add(QStringLiteral("layout.clear"));
}
void FakeCentre::redraw() {
    log_.add(QStringLiteral("layout.redraw"));
}

PanelSet FakePanelFactory::create(const PanelContext& context) {
    const DeviceLink& link = context.link;
    const auto make = [this, &link](const char* name) {
        return new FakePanel(QString::fromLatin1(name), log_, link);
    };
    PanelSet set;
    set.inputBar = make("inputBar");
    set.pictureQuality = make("quality");
    set.capture = make("capture");
    set.sound = make("sound");
    set.output = make("output");
    set.dualPicture = make("dual");
    set.communication = make("comm");
    set.centre = new FakeCentre(log_, link);
    if (withPointLocate) {
        set.pointLocate = &pointLocate;
    }
    return set;
}

bool FakePanelFactory::runScheduleRunner(QWidget*, IScheduleTimerCallback&, bool autoStart,
                                         ScheduleRunnerDialog*&) {
    log_.add(QStringLiteral("runner auto=%1").arg(flag(autoStart)));
    return false;
}

void FakePanelFactory::runPlanEditor(QWidget*) {
    log_.add(QStringLiteral("planEditor"));
}

void FakePanelFactory::runPlanDialog(QWidget*) {
    log_.add(QStringLiteral("planDialog"));
}

} // namespace korvane::ui::test
