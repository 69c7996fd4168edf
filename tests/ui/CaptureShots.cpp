// Draws the capture panel and the centre pane offscreen, in Chinese and in English, at two
// output resolutions with both pictures shown, as PNG files to look at:
// ui_capture_shots <folder>. Not a test; nothing is checked.
#include "PanelRig.h"
#include "ShotsMain.h"
#include "core/link/InputCodes.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/panels/CapturePanel.h"
#include "ui/wall/CentrePane.h"
#include "ui/wall/WallView.h"

#include <QRadioButton>
#include <QTest>
#include <cstdio>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {
constexpr int kColumnWidth = 200;

void save(QWidget& w, QSize size, const QString& file) {
    w.resize(size);
    w.show();
    QTest::qWait(50);
    w.grab().save(file);
    std::printf("%s (narrowest %d)\n", qPrintable(file), w.minimumSizeHint().width());
}

void shoot(const QString& folder, const QString& language) {
    PanelRig rig;
    if (!rig.connect()) {
        return;
    }
    rig.facade.selectInput(Picture::One, input::kVga);
    rig.facade.selectInput(Picture::Two, input::kHdmi);
    rig.link.read(readtype::kPicture1Input);
    rig.link.read(readtype::kPicture2Input);
    rig.mirror.captureMode = 1;
    rig.mirror.pipOn = 1;
    rig.mirror.p1InWidth = 800;
    rig.mirror.p1InHeight = 600;
    rig.mirror.p2X = 400;
    rig.mirror.p2Y = 300;
    rig.mirror.p2Width = 640;
    rig.mirror.p2Height = 360;

    CapturePanel capture(rig.context);
    {
        SendSwitchOff quiet(rig.link);
        capture.refreshFromMirror();
    }
    capture.switchOff(Picture::Two).click();
    save(capture, {kColumnWidth, capture.sizeHint().height()},
         folder + QStringLiteral("/capture_%1.png").arg(language));

    CentrePane centre(rig.context);
    centre.wallView().labelPicture(Picture::One, input::kVga);
    centre.wallView().labelPicture(Picture::Two, input::kHdmi);
    for (std::uint8_t code : {std::uint8_t{11}, std::uint8_t{6}}) {
        rig.mirror.pq[pq::kOutputResolution] = code;
        {
            SendSwitchOff quiet(rig.link);
            centre.refreshFromMirror();
        }
        save(centre, {900, 560},
             folder + QStringLiteral("/centre_%1_%2.png").arg(code).arg(language));
    }
}
} // namespace

int main(int argc, char** argv) {
    return runShots(argc, argv, shoot);
}
