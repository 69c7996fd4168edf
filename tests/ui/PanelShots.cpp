// Draws the output, sound, communication and dual-picture panels offscreen, in Chinese and in
// English, as PNG files to look at: ui_panel_shots <folder>. Not a test; nothing is checked.
#include "PanelRig.h"
#include "ShotsMain.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/DualPicturePanel.h"
#include "ui/panels/OutputPanel.h"
#include "ui/panels/SoundPanel.h"

#include <QRadioButton>
#include <QTest>
#include <cstdio>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {
// The side columns start at this width.
constexpr int kColumnWidth = 200;

void save(QWidget& w, const QString& file) {
    w.resize(kColumnWidth, w.sizeHint().height());
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
    SerialSettings s = rig.serialSettings();
    s.portNumber = 0;
    rig.settings.writeSerialSettings(s);
    NetworkSettings net;
    net.port = 5000;
    net.ip = "192.168.1.88";
    net.username = "admin";
    net.password = "admin";
    rig.settings.writeNetworkSettings(net);

    OutputPanel output(rig.context);
    SoundPanel sound(rig.context);
    CommunicationPanel comm(rig.context);
    {
        SendSwitchOff quiet(rig.link);
        output.refreshFromMirror();
        sound.refreshFromMirror();
    }
    save(output, folder + QStringLiteral("/output_%1.png").arg(language));
    save(sound, folder + QStringLiteral("/sound_%1.png").arg(language));
    save(comm, folder + QStringLiteral("/comm_%1.png").arg(language));
    rig.mirror.pq[pq::kOutputResolution] = kCustomResolution;
    {
        SendSwitchOff quiet(rig.link);
        output.refreshFromMirror();
    }
    save(output, folder + QStringLiteral("/output_custom_%1.png").arg(language));
    comm.closeRadio().click();
    save(comm, folder + QStringLiteral("/comm_closed_%1.png").arg(language));

    DualPicturePanel dual(rig.context);
    rig.mirror.pq[pq::kOutputResolution] = kDefaultResolution;
    for (int pipOn : {1, 0}) {
        rig.mirror.pipOn = static_cast<std::uint8_t>(pipOn);
        {
            SendSwitchOff quiet(rig.link);
            dual.refreshFromMirror();
        }
        save(dual, folder + QStringLiteral("/dual_%1_%2.png").arg(pipOn ? "on" : "off", language));
    }
}
} // namespace

int main(int argc, char** argv) {
    return runShots(argc, argv, shoot);
}
