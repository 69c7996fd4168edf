#include "TemplateCommand.h"

#include "CtlLoadHost.h"
#include "HexText.h"
#include "MirrorText.h"
#include "core/commands/CommandFacade.h"
#include "core/commands/DeviceOperation.h"
#include "core/commands/SendAll.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/DeviceLink.h"
#include "core/store/Settings.h"
#include "core/store/TemplateFile.h"
#include "core/store/TemplateLoader.h"

namespace korvane::ctl {

namespace {
constexpr ArgRule kSlot = numberArg("N", SendAll::kFirstSlot, SendAll::kLastSlot);
constexpr std::string_view kSaveOption = "--save";
constexpr std::uint8_t kStoreAction = 0;

int runSync(Session& s, const std::string& saveTo) {
    if (SynchroniseAll(s.context(), false).run() == 0) {
        return kExitFailure;
    }
    if (!saveTo.empty()) {
        Settings settings;
        if (saveTemplateFile(saveTo, s.mirror, settings) != SaveResult::Saved) {
            s.err << "korvanectl: " << templateText(TemplateText::SaveFailed) << '\n';
            return kExitFailure;
        }
    }
    printSynchronised(s);
    return kExitOk;
}

int printFrame(Session& s) {
    s.out << hexBytes(s.link.commandFrame()) << '\n';
    return kExitOk;
}

int runRecall(Session& s, int slot) {
    if (SendAll(s.context(), SendAll::Mode::RecallSlot, slot).run() == 0) {
        return kExitFailure;
    }
    return printFrame(s);
}

int runStore(Session& s, int slot) {
    if (s.commands.templateSlot(kStoreAction, static_cast<std::uint8_t>(slot)) == 0) {
        s.err << "korvanectl: store: sending failed\n";
        return kExitFailure;
    }
    return printFrame(s);
}

std::optional<int> slotOperand(std::string_view command, std::span<const std::string> operands,
                               LocalTime now, std::string& error) {
    if (operands.size() != 1) {
        error = wrongArity(command, "N").error;
        return std::nullopt;
    }
    ArgValues v;
    if (!takeOperand(command, kSlot, operands[0], now, v, error)) {
        return std::nullopt;
    }
    return v[0];
}
} // namespace

void printSynchronised(Session& s) {
    using enum MirrorGroup;
    for (const auto g : {Main, Picture1Input, Picture2Input, Picture1Output, Picture2, Overlay,
                         Fade, SwitchState, InputSettings, AudioPorts}) {
        printGroup(s.out, g, s.mirror, s.link);
    }
}

int loadTemplate(Session& s, const std::string& path) {
    Settings settings;
    CtlLoadHost host(s.err);
    switch (TemplateLoader(s.context(), settings, host).load(path)) {
    case LoadResult::Loaded:
        // The processor was sent the file, but what it holds now is not known.
        return host.readBackFailed() ? kExitFailure : kExitOk;
    case LoadResult::Failed:
        if (!host.reported()) {
            host.report(TemplateText::LoadFailed);
        }
        return kExitFailure;
    case LoadResult::SendFailed:
    case LoadResult::FileMissing:
    case LoadResult::Unreadable:
        return kExitFailure;
    }
    return kExitFailure;
}

Prepared prepareSync(std::span<const std::string> operands, LocalTime) {
    std::string saveTo;
    if (operands.size() == 2 && operands[0] == kSaveOption) {
        saveTo = operands[1];
    } else if (operands.size() == 1 && operands[0].starts_with(std::string(kSaveOption) + "=")) {
        saveTo = operands[0].substr(kSaveOption.size() + 1);
    } else if (!operands.empty()) {
        return wrongArity("sync", "[--save FILE.kvt]");
    }
    if (operands.size() > 0 && saveTo.empty()) {
        return refuse("sync", "--save needs a file name");
    }
    return {[saveTo](Session& s) { return runSync(s, saveTo); }, {}, {}};
}

Prepared prepareLoad(std::span<const std::string> operands, LocalTime) {
    if (operands.size() != 1) {
        return wrongArity("load", "FILE.kvt");
    }
    const std::string path = operands[0];
    if (!Settings::fileExists(path)) {
        return refuseFile("load",
                          path + ": " + std::string(templateText(TemplateText::FileMissing)));
    }
    // A file that is no template is refused before anything is sent.
    std::vector<std::uint8_t> bytes;
    if (const auto ec = readTemplateFile(path, bytes)) {
        return refuseFile(
            "load", path + ": " +
                        std::string(templateText(templateRefused(ec) ? TemplateText::OpenFailed
                                                                     : TemplateText::FileError)) +
                        " (" + templateFileErrorText(ec) + ")");
    }
    return {[path](Session& s) {
                // Best effort, as at the desktop program's start: a failure is reported and the
                // load goes on with what the mirror holds.
                SynchroniseAll(s.context(), false).run();
                return loadTemplate(s, path);
            },
            {},
            {}};
}

Prepared prepareRecall(std::span<const std::string> operands, LocalTime now) {
    std::string error;
    const auto slot = slotOperand("recall", operands, now, error);
    if (!slot) {
        return {{}, {}, error};
    }
    return {[n = *slot](Session& s) { return runRecall(s, n); }, {}, {}};
}

Prepared prepareStore(std::span<const std::string> operands, LocalTime now) {
    std::string error;
    const auto slot = slotOperand("store", operands, now, error);
    if (!slot) {
        return {{}, {}, error};
    }
    return {[n = *slot](Session& s) { return runStore(s, n); }, {}, {}};
}

} // namespace korvane::ctl
