#include "OperatorTable.h"

#include "core/link/CommandCodes.h"
#include "core/link/ReadTypes.h"
#include "core/link/ResolutionTable.h"
#include "ui/device/BusyDialog.h"
#include "ui/frame/FrameCallbacks.h"
#include "ui/frame/MainWindow.h"
#include "ui/frame/MenuCommand.h"
#include "ui/panels/CapturePanel.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/OutputPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace korvane::bench {

using ui::test::FrameRig;

namespace {
constexpr std::uint8_t kReadCode = 0x00;
constexpr std::size_t kCodeByte = 3;
constexpr std::size_t kTypeByte = 4;
constexpr int kSampleMs = 5;

bool indicatorShown() {
    const QCursor* c = QApplication::overrideCursor();
    if (c != nullptr && c->shape() == Qt::WaitCursor) {
        return true;
    }
    const auto widgets = QApplication::topLevelWidgets();
    return std::any_of(widgets.begin(), widgets.end(), [](QWidget* w) {
        return w->isVisible() && qobject_cast<ui::BusyDialog*>(w) != nullptr;
    });
}

// The frames since `from` as read types ("r8") and command codes ("11").
std::string frameCodes(const FrameRig& rig, std::size_t from) {
    std::string codes;
    const auto frames = rig.sent();
    for (std::size_t i = from; i < frames.size(); ++i) {
        const bool read = frames[i][kCodeByte] == kReadCode;
        char item[8];
        std::snprintf(item, sizeof item, read ? " r%u" : " %02x",
                      static_cast<unsigned>(frames[i][read ? kTypeByte : kCodeByte]));
        codes += item;
    }
    return codes;
}

void chooseNext(QComboBox& box) {
    box.setCurrentIndex((box.currentIndex() + 1) % box.count());
    emit box.activated(box.currentIndex());
}
} // namespace

void sessionFailed(const char* what) {
    std::fprintf(stderr, "session failed: %s\n", what);
    std::exit(1);
}

HiddenHoldProbe::HiddenHoldProbe(const ui::DeviceGate& gate) : gate_(gate) {
    timer_.setInterval(kSampleMs);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { sample(); });
}

void HiddenHoldProbe::start() {
    since_ = -1;
    worst_ = 0;
    clock_.start();
    timer_.start();
}

qint64 HiddenHoldProbe::stop() {
    sample();
    timer_.stop();
    return worst_;
}

void HiddenHoldProbe::sample() {
    const qint64 now = clock_.elapsed();
    if (gate_.busy() && !indicatorShown()) {
        if (since_ < 0) {
            since_ = now;
        }
        worst_ = std::max(worst_, now - since_);
    } else {
        since_ = -1;
    }
}

OperatorSession::OperatorSession(OperatorTable& table, StepWatch* watch)
    : table_(table), watch_(watch) {}

template <class W> W& OperatorSession::child(const char* name) {
    W* w = name != nullptr ? frame_->findChild<W*>(QLatin1String(name)) : frame_->findChild<W*>();
    if (w == nullptr) {
        sessionFailed("a control is missing");
    }
    return *w;
}

void OperatorSession::step(const std::string& name, const std::function<void()>& action) {
    const std::size_t before = rig_.framesSoFar();
    QElapsedTimer clock;
    clock.start();
    if (watch_ != nullptr) {
        watch_->begin();
    }
    hidden_.start();
    action();
    lastActiveMs_ = waitQuiet(clock);
    lastHiddenMs_ = hidden_.stop();
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    const std::string watched = watch_ != nullptr ? watch_->end(name, seconds) : std::string();
    if (rig_.framesSoFar() == before) {
        sessionFailed(name.c_str()); // the step never reached the processor
    }
    std::printf("  %-44s %6.2f s  %s(%zu frames:%s)\n", name.c_str(), seconds, watched.c_str(),
                rig_.framesSoFar() - before, frameCodes(rig_, before).c_str());
}

// Done when the device is free, nothing waits for it and the line stayed silent a while.
qint64 OperatorSession::waitQuiet(const QElapsedTimer& since) {
    constexpr int kQuietMs = 400;
    QDeadlineTimer deadline(60000);
    std::size_t frames = rig_.framesSoFar();
    QElapsedTimer quiet;
    quiet.start();
    qint64 lastActive = since.elapsed();
    while (!deadline.hasExpired()) {
        // Fine-grained, so that the last activity of a short operation is not rounded up.
        QTest::qWait(1);
        if (rig_.gate.busy() || rig_.gate.waiting() > 0 || rig_.framesSoFar() != frames) {
            frames = rig_.framesSoFar();
            quiet.restart();
            lastActive = since.elapsed();
        } else if (quiet.elapsed() >= kQuietMs) {
            return lastActive;
        }
    }
    sessionFailed("the program never came to rest");
}

// Each read request that went out waits its fixed time (the simulator always answers, so no
// read deadline is owed); each owed pause counts once, when its frame went out.
double OperatorSession::floorMs(std::size_t fromFrame, const std::vector<Owed>& owed) const {
    const auto frames = rig_.sent();
    double ms = 0;
    std::vector<bool> paid(owed.size(), false);
    for (std::size_t i = fromFrame; i < frames.size(); ++i) {
        const auto& f = frames[i];
        if (f.size() <= kTypeByte) {
            continue;
        }
        if (f[kCodeByte] == kReadCode) {
            if (const auto info = readTypeInfo(f[kTypeByte])) {
                ms += static_cast<double>(kReadWait.count() + info->extraWait.count());
            }
        }
        // A frame pays the first of its entries still open; a later frame of the same kind
        // the next one.
        for (std::size_t k = 0; k < owed.size(); ++k) {
            if (!paid[k] && f[kCodeByte] == owed[k].code &&
                (owed[k].type < 0 || f[kTypeByte] == owed[k].type)) {
                paid[k] = true;
                ms += owed[k].ms;
                break;
            }
        }
    }
    return ms;
}

void OperatorSession::operation(const std::string& name, const std::vector<Owed>& owed,
                                const std::function<void()>& action) {
    const std::size_t from = rig_.framesSoFar();
    step(name, action);
    const double floor = floorMs(from, owed);
    auto it =
        std::find_if(table_.begin(), table_.end(), [&](const auto& r) { return r.first == name; });
    if (it == table_.end()) {
        it = table_.insert(table_.end(), {name, {}});
    }
    it->second.push_back({static_cast<double>(lastActiveMs_), floor, lastHiddenMs_});
}

void OperatorSession::runOperations() {
    using ui::FrameMessage;
    rig_.realPanels = &panels_;
    // The processor's own pauses, uncut, as the operator's program waits them.
    rig_.link.setSleeper([](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); });
    if (!rig_.connect()) {
        sessionFailed("cannot open the simulator's terminal");
    }
    {
        // Fonts and styles load on first use; that is start-up work, not a wait on the device.
        QLabel warmUp(QStringLiteral("画质调整 Korvane"));
        warmUp.show();
        if (!QTest::qWaitForWindowExposed(&warmUp)) {
            sessionFailed("no window");
        }
    }
    frame_ = &rig_.makeFrame(false);
    frame_->resize(1200, 800);

    // 50 ms before the identity read, 100 ms before the device information read; the
    // synchronisation's closing identity read has no pause. Then the communication panel's
    // status query: its identity probe waits 200 ms in place of a read's 80 ms, and its device
    // information read again 100 ms before the request.
    const auto probeExtra = static_cast<double>((kProbeWait - kReadWait).count());
    operation("start-up synchronisation",
              {{kReadCode, readtype::kIdentity, 50},
               {kReadCode, readtype::kDeviceInfo, 100},
               {kReadCode, readtype::kIdentity, 0},
               {kReadCode, readtype::kIdentity, probeExtra},
               {kReadCode, readtype::kDeviceInfo, 100}},
              [&] {
                  frame_->show();
                  if (!rig_.waitHandled(ui::messageNumber(FrameMessage::Synchronise))) {
                      sessionFailed("no start-up synchronisation");
                  }
              });
    QCheckBox& autoUpdate = child<ui::CommunicationPanel>().autoUpdateBox();
    if (!autoUpdate.isChecked()) {
        sessionFailed("自动更新 is not ticked");
    }
    using C = CommandCode;
    const auto code = [](C c) { return static_cast<std::uint8_t>(c); };
    // After a SelectInput with "自动更新": 1500 ms before the picture-2 read, the 2000 ms
    // channel switch, 100 ms between the stacks' re-announces, 50 ms before each of two reads.
    const std::vector<Owed> autoSwitch = {{code(C::SelectInput), -1, 1500 + 2000 + 100 + 50 + 50}};
    operation("input switch HDMI, auto-update", autoSwitch,
              [&] { child<QToolButton>("inputHDMI").click(); });
    operation("input switch DVI, auto-update", autoSwitch,
              [&] { child<QToolButton>("inputDVI").click(); });
    autoUpdate.setChecked(false);
    operation("input switch HDMI, no auto-update", {},
              [&] { child<QToolButton>("inputHDMI").click(); });
    autoUpdate.setChecked(true);

    // The switch query waits 200 ms for the processor to act on the SelectInput.
    operation("picture 2 source change, auto-update", {{code(C::SelectInput), -1, 200}},
              [&] { chooseNext(child<QComboBox>("picture2Source")); });

    QWidget& quality = child<QWidget>("pictureQuality");
    for (const char* box : {"imageMode", "colourTemperature"}) {
        auto* list = quality.findChild<QComboBox*>(QLatin1String(box));
        if (list == nullptr) {
            sessionFailed(box);
        }
        // The read-back waits 100 ms before its read of the main parameters.
        operation(std::string("picture quality ") + box + " + read-back",
                  {{kReadCode, readtype::kMain, 100}}, [&] { chooseNext(*list); });
    }

    // The processor settles 2000 ms after a mode change; the synchronisation that follows
    // waits 50 ms before its identity read and 100 ms before the device information read.
    operation("output resolution change",
              {{code(C::SetOutputResolution), -1, 2000},
               {kReadCode, readtype::kIdentity, 50},
               {kReadCode, readtype::kDeviceInfo, 100}},
              [&] {
                  QComboBox& list = child<ui::OutputPanel>().resolutionList();
                  int row = list.currentIndex();
                  do {
                      row = (row + 1) % list.count();
                  } while (list.itemData(row).toUInt() == kCustomResolution);
                  list.setCurrentIndex(row);
                  emit list.activated(row);
              });

    // The reset needs picture 1's capture switched on and its input size read.
    {
        auto& capture = child<ui::CapturePanel>();
        if (!capture.switchOn(Picture::One).isChecked()) {
            capture.switchOn(Picture::One).click();
            QElapsedTimer since;
            since.start();
            waitQuiet(since);
        }
    }
    // The input window's reset, then its read-back 500 ms later.
    operation("reset (picture 1 input window)", {{kReadCode, readtype::kPicture1Input, 500}},
              [&] { child<ui::CapturePanel>().resetButton(Picture::One).click(); });

    // Send-all settles 2000 ms after its last frame; the read-back first waits 2000 ms.
    const std::vector<Owed> settleAndReadBack = {{code(C::SetOutputResolution), -1, 2000},
                                                 {kReadCode, readtype::kMain, 2000}};
    frame_->send(FrameMessage::SaveSlotTemplate, 0, 2);
    operation("template file load", settleAndReadBack,
              [&] { frame_->send(FrameMessage::LoadSlotTemplate, 0, 2); });
    // 100 ms before the recall, 2000 ms after it, 2000 ms before the read-back.
    operation("device template recall",
              {{code(C::TemplateSlot), -1, 100 + 2000}, {kReadCode, readtype::kMain, 2000}},
              [&] { frame_->runCommand(ui::menucmd::kRecallTemplateFirst + 2); });
    // The processor takes 6000 ms to reset itself; then the synchronisation as above.
    operation("factory reset",
              {{code(C::FactoryReset), -1, 6000},
               {kReadCode, readtype::kIdentity, 50},
               {kReadCode, readtype::kDeviceInfo, 100}},
              [&] { frame_->runCommand(ui::menucmd::kFactoryReset); });

    // One task every day at midnight, always the latest so far: the first tick runs it.
    const std::string script = rig_.home.filePath(QStringLiteral("session.kss")).toStdString();
    std::ofstream(script) << "2026,1,1,0,0,0,0,0,0,0,0,0,0,0,1,12,\r\n";
    operation("schedule tick (input switch DP)", {}, [&] {
        const std::size_t from = rig_.framesSoFar();
        if (frame_->callbacks().start(script) != 1) {
            sessionFailed("the schedule does not load");
        }
        QDeadlineTimer deadline(10000);
        auto ran = [&] {
            const auto codes = rig_.codesSince(from);
            return std::find(codes.begin(), codes.end(), code(C::SelectInput)) != codes.end();
        };
        while (!ran() && !deadline.hasExpired()) {
            QTest::qWait(10);
        }
        frame_->callbacks().stop();
        if (!ran()) {
            sessionFailed("the schedule tick switched nothing");
        }
    });
}

void printOperatorTable(OperatorTable& table, int sessions) {
    std::printf("operator operations, median over %d sessions (wall time to rest, floor of the "
                "waits its sent frames require,\nratio, longest input hold without busy dialog or "
                "wait cursor in any session; aim: ratio <= %.2f, hold <= %lld ms):\n",
                sessions, kRatioAim, static_cast<long long>(kHiddenHoldAimMs));
    std::printf("  %-46s %9s %9s %7s %9s\n", "operation", "wall ms", "floor ms", "ratio",
                "hidden ms");
    for (auto& [name, rows] : table) {
        std::sort(rows.begin(), rows.end(),
                  [](const auto& a, const auto& b) { return a.wallMs < b.wallMs; });
        const OperationFigures& m = rows[rows.size() / 2];
        qint64 hidden = 0;
        for (const auto& r : rows) {
            hidden = std::max(hidden, r.hiddenMs);
        }
        char ratio[16] = "      -"; // nothing owed: no ratio
        if (m.floorMs > 0) {
            std::snprintf(ratio, sizeof ratio, "%7.3f", m.wallMs / m.floorMs);
        }
        std::printf("  %-46s %9.0f %9.0f %s %9lld\n", name.c_str(), m.wallMs, m.floorMs, ratio,
                    static_cast<long long>(hidden));
    }
}

} // namespace korvane::bench
