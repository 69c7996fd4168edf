#include "DeviceReadCommand.h"

#include "MirrorText.h"
#include "core/link/DeviceLink.h"

#include <algorithm>
#include <vector>

namespace korvane::ctl {

namespace {
struct ReadRow {
    ReadBackKind kind;
    std::string_view name;
    std::vector<MirrorGroup> groups;
    // What is printed when the operation fails without a message of its own.
    std::string_view silentFailure;
};

const std::vector<ReadRow>& readRows() {
    using enum MirrorGroup;
    static const std::vector<ReadRow> rows = {
        {ReadBackKind::Picture2, "picture2", {Picture2}, {}},
        {ReadBackKind::PictureQuality, "picture-quality", {PictureQuality}, {}},
        {ReadBackKind::Gains, "gains", {Gains}, {}},
        {ReadBackKind::Picture1Input, "picture1-input", {Picture1Input}, {}},
        {ReadBackKind::Picture2Input, "picture2-input", {Picture2Input}, {}},
        {ReadBackKind::PlanHeader, "plan header", {PlanHeader}, {}},
        {ReadBackKind::Clock, "clock read", {Clock}, {}},
        {ReadBackKind::SwitchQuery, "switch-query", {SwitchState}, {}},
        {ReadBackKind::SwitchQueryLongWait, "switch-query", {SwitchState}, {}},
        {ReadBackKind::InputSettings, "input-settings", {InputSettings}, {}},
        {ReadBackKind::DeviceInfo, "device-info", {DeviceInfo}, "no valid reply"},
        {ReadBackKind::Identity, "identity", {Identity}, "no valid reply"},
    };
    return rows;
}

const ReadRow& rowOf(ReadBackKind kind) {
    const auto& rows = readRows();
    return *std::ranges::find(rows, kind, &ReadRow::kind);
}

int runDeviceRead(ReadBackKind kind, Session& s) {
    const ReadRow& row = rowOf(kind);
    // The operation's own message (or, for the silent ones, the line below) says why.
    if (ReadBack(s.context(), kind).run() == 0) {
        if (!row.silentFailure.empty() && s.link.isOpen() != 0) {
            s.err << "korvanectl: " << row.name << ": " << row.silentFailure << '\n';
        }
        return kExitFailure;
    }
    for (const MirrorGroup g : row.groups) {
        printGroup(s.out, g, s.mirror, s.link);
    }
    return kExitOk;
}
} // namespace

Prepared deviceReadAction(ReadBackKind kind) {
    return {[kind](Session& s) { return runDeviceRead(kind, s); }, {}, {}};
}

template <ReadBackKind Kind>
Prepared prepareDeviceRead(std::span<const std::string> operands, LocalTime) {
    const ReadRow& row = rowOf(Kind);
    if (Kind == ReadBackKind::SwitchQuery && operands.size() == 1 && operands[0] == "--long-wait") {
        return deviceReadAction(ReadBackKind::SwitchQueryLongWait);
    }
    if (!operands.empty()) {
        return Kind == ReadBackKind::SwitchQuery ? wrongArity(row.name, "[--long-wait]")
                                                 : wrongArity(row.name, "");
    }
    return deviceReadAction(Kind);
}

template Prepared prepareDeviceRead<ReadBackKind::Picture2>(std::span<const std::string>,
                                                            LocalTime);
template Prepared prepareDeviceRead<ReadBackKind::PictureQuality>(std::span<const std::string>,
                                                                  LocalTime);
template Prepared prepareDeviceRead<ReadBackKind::Gains>(std::span<const std::string>, LocalTime);
template Prepared prepareDeviceRead<ReadBackKind::Picture1Input>(std::span<const std::string>,
                                                                 LocalTime);
template Prepared prepareDeviceRead<ReadBackKind::Picture2Input>(std::span<const std::string>,
                                                                 LocalTime);
template Prepared prepareDeviceRead<ReadBackKind::SwitchQuery>(std::span<const std::string>,
                                                               LocalTime);
template Prepared prepareDeviceRead<ReadBackKind::InputSettings>(std::span<const std::string>,
                                                                 LocalTime);
template Prepared prepareDeviceRead<ReadBackKind::DeviceInfo>(std::span<const std::string>,
                                                              LocalTime);
template Prepared prepareDeviceRead<ReadBackKind::Identity>(std::span<const std::string>,
                                                            LocalTime);

} // namespace korvane::ctl
