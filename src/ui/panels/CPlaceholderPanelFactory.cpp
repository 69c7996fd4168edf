#include "ui/panels/CPlaceholderPanelFactory.h"

#include "core/link/InputCodes.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "ui/panels/CPlaceholderCentrePane.h"
#include "ui/panels/CPlaceholderPanel.h"
#include "ui/panels/PanelContext.h"

namespace korvane::ui {

namespace {
using M = ParameterMirror;

QString utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString input(std::uint8_t code) {
    const auto name = inputName(code);
    return name ? utf8(*name) : QStringLiteral("#%1").arg(code);
}

QString window(int x, int y, int w, int h) {
    return QStringLiteral("%1, %2  %3 × %4").arg(x).arg(y).arg(w).arg(h);
}

QString number(int v) {
    return QString::number(v);
}
} // namespace

PanelSet CPlaceholderPanelFactory::create(const PanelContext& context) {
    const ParameterMirror& m = context.mirror;
    const QString on = tr("开");
    const QString off = tr("关");
    const auto onOff = [on, off](int v) { return v != 0 ? on : off; };
    const auto make = [&m](Qt::Orientation o) { return new CPlaceholderPanel(m, o); };

    auto* bar = make(Qt::Horizontal);
    bar->addRow(tr("画面1输入"), [](const M& x) { return input(x.pq[pq::kPicture1Source]); });
    bar->addRow(tr("画面2输入"), [](const M& x) { return input(x.p2Source); });
    bar->addRow(tr("无缝切换"), [onOff](const M& x) { return onOff(x.seamless); });
    const QString part = tr("部分");
    const QString full = tr("全屏");
    bar->addRow(tr("冻结区域"),
                [part, full](const M& x) { return x.freezeArea == 0 ? part : full; });

    auto* quality = make(Qt::Vertical);
    quality->addRow(tr("亮度"), [](const M& x) { return number(x.pq[pq::kBrightness]); });
    quality->addRow(tr("对比度"), [](const M& x) { return number(x.pq[pq::kContrast]); });
    quality->addRow(tr("色度"), [](const M& x) { return number(x.pq[pq::kColour]); });
    quality->addRow(tr("清晰度"), [](const M& x) { return number(x.pq[pq::kSharpness]); });
    quality->addRow(tr("伽马"), [](const M& x) { return number(x.pq[pq::kGamma]); });

    auto* capture = make(Qt::Vertical);
    capture->addRow(tr("画面1截取"),
                    [](const M& x) { return window(x.p1InX, x.p1InY, x.p1InWidth, x.p1InHeight); });
    capture->addRow(tr("画面2截取"),
                    [](const M& x) { return window(x.p2InX, x.p2InY, x.p2InWidth, x.p2InHeight); });

    auto* sound = make(Qt::Vertical);
    sound->addRow(tr("声音"), [onOff](const M& x) { return onOff(x.soundOn); });
    sound->addRow(tr("音量"), [](const M& x) { return number(x.volume); });

    auto* output = make(Qt::Vertical);
    output->addRow(tr("输出分辨率"), [](const M& x) {
        const auto r = findResolution(x.pq[pq::kOutputResolution]);
        return r ? utf8(r->name) : number(x.pq[pq::kOutputResolution]);
    });
    output->addRow(tr("画面1窗口"), [](const M& x) {
        return window(x.p1OutX, x.p1OutY, x.p1OutWidth, x.p1OutHeight);
    });

    auto* dual = make(Qt::Vertical);
    dual->addRow(tr("双画面"), [onOff](const M& x) { return onOff(x.pipOn); });
    dual->addRow(tr("画面2输入"), [](const M& x) { return input(x.p2Source); });
    dual->addRow(tr("画面2窗口"),
                 [](const M& x) { return window(x.p2X, x.p2Y, x.p2Width, x.p2Height); });

    auto* comm = make(Qt::Vertical);
    comm->setOnlineIndicator(0);

    PanelSet set;
    set.inputBar = bar;
    set.pictureQuality = quality;
    set.capture = capture;
    set.sound = sound;
    set.output = output;
    set.dualPicture = dual;
    set.communication = comm;
    set.centre = new CPlaceholderCentrePane(m);
    return set;
}

} // namespace korvane::ui
