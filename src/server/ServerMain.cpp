#include "server/ServerMain.h"

#include "core/base/StopSignalSet.h"
#include "core/commands/CommandFacade.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/DeviceLink.h"
#include "core/link/LinkWatcher.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "core/schedule/ScheduleExecutor.h"
#include "core/schedule/ScheduleFileReader.h"
#include "core/store/Settings.h"
#include "remote/CoreDevice.h"
#include "remote/RemoteServer.h"
#include "remote/RemoteSettings.h"
#include "server/ServerOptions.h"
#include "tools/CtlScheduleActions.h"
#include "tools/DeviceWait.h"
#include "tools/LinkOpener.h"
#include "tools/StreamMessageSink.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace korvane::server {

namespace {
constexpr char kName[] = "korvane-server: ";

int stopPipe[2] = {-1, -1};

void onStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(stopPipe[1], &byte, 1);
}

// The stop signals (SIGINT, SIGTERM, SIGHUP) end the event loop; the handler only writes a byte
// into a pipe. The link watcher's thread blocks them, so they land on a thread of the program.
std::unique_ptr<QSocketNotifier> catchStopSignals() {
    if (stopPipe[0] < 0 && ::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return nullptr;
    }
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    for (const int signal : kStopSignals) {
        ::sigaction(signal, &sa, nullptr);
    }
    auto notifier = std::make_unique<QSocketNotifier>(stopPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [] {
        char drain[16];
        while (::read(stopPipe[0], drain, sizeof drain) > 0) {
        }
        QCoreApplication::quit();
    });
    return notifier;
}
} // namespace

int runServer(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const ServerOptions o = parseServerOptions(args);
    if (o.help) {
        out << serverHelp();
        return kExitOk;
    }
    if (o.version) {
        out << serverVersion();
        return kExitOk;
    }
    if (!o.error.empty()) {
        err << kName << o.error << "\nTry 'korvane-server --help'.\n";
        return kExitUsage;
    }
    std::vector<ScheduleTask> tasks;
    if (!o.schedule.empty()) {
        auto read = readScheduleFile(o.schedule);
        if (!read) {
            err << kName << "cannot read the schedule file " << o.schedule << '\n';
            return kExitFailure;
        }
        tasks = std::move(*read);
    }

    ctl::StreamMessageSink messages(err);
    std::string openError;
    const auto link = ctl::openWaitingForDevice(ctl::openDeviceLink, o.link, messages, openError);
    if (!link) {
        err << kName << openError << '\n';
        return kExitFailure;
    }
    ParameterMirror mirror{};
    applyMirrorDefaults(mirror, kDefaultResolution);
    link->setSendSwitch(1);
    CommandFacade commands(*link, mirror);
    const OperationContext ctx{*link, mirror, commands, &messages};
    remote::RemoteSettings settings;
    // The line may go and come back while the server runs: the watcher notices and reconnects,
    // and the device runner reads the processor again when it is back.
    LinkWatcher::Timing health = LinkWatcher::kDefaultTiming;
    health.keepAlive = std::chrono::seconds{Settings(settings.file()).readKeepAlive()};
    LinkWatcher watcher(*link, health);
    remote::CoreDevice device(ctx, &messages);

    // The state remote clients see starts from the processor, as the desktop program's does.
    device.post([ctx] { return SynchroniseAll(ctx, false).run(); },
                [&device](int) { emit device.changed(); });

    remote::RemoteServer server(device, settings);
    if (!server.start(QString::fromStdString(o.listen), o.httpPort, o.oscPort)) {
        err << kName << server.lastError().toStdString() << '\n';
        return kExitFailure;
    }
    out << kName << "HTTP " << o.listen << ':' << server.httpPort() << '\n'
        << kName << "OSC " << o.listen << ':' << server.oscPort() << '\n'
        << kName << "page http://" << o.listen << ':' << server.httpPort() << "/\n"
        << kName << "token in " << settings.file().string() << '\n'
        << std::flush;

    // One line when the link is lost and one when it is back, as `korvanectl schedule run` says.
    bool lost = link->linkStatus().lost();
    QObject::connect(&device, &remote::RemoteDevice::linkChanged, [&](const LinkStatus& s) {
        if (s.lost() && !lost) {
            out << kName << "link lost: " << s.where << " (" << lossReasonName(s.reason) << ")\n"
                << std::flush;
        } else if (s.state == LinkState::Connected && lost) {
            out << kName << "link back: " << s.where << '\n' << std::flush;
        }
        lost = s.lost();
    });

    // The schedule ticks on the device runner, between remote actions, never across one.
    const ctl::ScheduleTiming timing;
    ctl::Session session{*link, mirror, commands, messages, out, err, timing};
    ctl::CtlScheduleActions actions(session);
    ScheduleExecutor executor(actions);
    QTimer tick;
    if (!tasks.empty()) {
        executor.start(tasks);
        tick.setInterval(kScheduleTickPeriod);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            // The next tick comes soon enough; a task that falls due while nothing can be sent
            // runs once the link is back.
            if (device.busy() || link->linkStatus().state != LinkState::Connected) {
                return;
            }
            auto ran = std::make_shared<bool>(false);
            device.post(
                [&executor, ran] {
                    *ran = executor.tick().outcome == TickOutcome::Ran;
                    return 1;
                },
                [&device, ran](int) {
                    if (*ran) {
                        emit device.changed();
                    }
                });
        });
        tick.start();
    }

    const auto stop = catchStopSignals();
    QCoreApplication::exec();
    tick.stop();
    executor.stop();
    server.stop();
    return kExitOk;
}

} // namespace korvane::server
