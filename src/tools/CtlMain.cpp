#include "CtlMain.h"

#include "DeviceWait.h"
#include "HelpText.h"
#include "StreamMessageSink.h"
#include "SubCommand.h"
#include "core/base/Version.h"
#include "core/commands/CommandFacade.h"
#include "core/link/CommLog.h"
#include "core/link/DeviceLink.h"
#include "core/link/ResolutionTable.h"
#include "core/store/Settings.h"

namespace korvane::ctl {

namespace {
int usageError(std::ostream& err, const std::string& message) {
    err << "korvanectl: " << message << '\n' << shortUsage();
    return kExitUsage;
}
} // namespace

int runCtl(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const CtlEnvironment& env) {
    CommandLine line = parseCommandLine(args);
    if (line.help) {
        out << helpText();
        return kExitOk;
    }
    if (line.version) {
        out << versionLine("korvanectl");
        return kExitOk;
    }
    if (!line.error.empty()) {
        return usageError(err, line.error);
    }
    const SubCommand* sub = findSubCommand(line.subCommand);
    if (sub == nullptr) {
        return usageError(err, "unknown command '" + line.subCommand + "'");
    }
    const Prepared prepared = sub->prepare(line.operands, env.now);
    if (!prepared.error.empty()) {
        err << "korvanectl: " << prepared.error << '\n';
        return prepared.refusalStatus;
    }
    completeFromSettings(line.link, Settings(), err);
    if (prepared.offline) {
        OfflineSession session{line.link, out, err};
        return prepared.offline(session);
    }
    if (const auto missing = missingLinkTarget(line.link)) {
        return usageError(err, *missing);
    }

    StreamMessageSink messages(err);
    std::string openError;
    const auto link = openWaitingForDevice(env.openLink, line.link, messages, openError);
    if (!link) {
        err << "korvanectl: " << openError << '\n';
        return kExitFailure;
    }
    // The state the desktop program starts from.
    ParameterMirror mirror{};
    applyMirrorDefaults(mirror, kDefaultResolution);
    link->setSendSwitch(1);
    CommandFacade commands(*link, mirror);
    Session session{*link, mirror, commands, messages, out, err, env.schedule};
    // A log that cannot be written is said once and changes no result.
    CommLog::instance().setFailureHandler([&err](const std::string& why) {
        err << "korvanectl: " << messageText(MessageId::LogWriteFailed) << ": " << why << '\n';
    });
    const int status = prepared.action(session);
    CommLog::instance().setFailureHandler({});
    return status;
}

} // namespace korvane::ctl
