#include "CtlRunner.h"
#include "tools/CommandCatalogue.h"
#include "tools/HelpText.h"
#include "tools/LinkOpener.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace korvane;
using korvane::test::CtlRunner;

namespace {

struct RefusedRow {
    std::vector<std::string> args; // after the link options
    const char* message;
};

// Each is refused before the link opens.
const std::vector<RefusedRow> kRefused = {
    {{"send"}, "a command name is required"},
    {{"send", "NoSuch"}, "unknown command 'NoSuch'"},
    {{"send", "SetAudio", "1"}, "SetAudio: wrong number of arguments (1)"},
    {{"send", "AutoAdjust", "1"}, "AutoAdjust: wrong number of arguments"},
    {{"send", "SetPicture1InputWindow", "0", "0", "8", "8", "100"}, "wrong number of arguments"},
    {{"send", "SetSwitchEffect", "0", "1", "2", "3"}, "wrong number of arguments"},
    {{"send", "SetAudio", "1", "256"}, "SetAudio: VOLUME must be a number in 0..255"},
    {{"send", "SetAudio", "2", "10"}, "SetAudio: SOUNDON must be a number in 0..1"},
    {{"send", "SetFreeze", "1x"}, "SetFreeze: ON must be"},
    {{"send", "SetFreeze", "-1"}, "SetFreeze: ON must be"},
    {{"send", "SetFreeze", ""}, "SetFreeze: ON must be"},
    {{"send", "TemplateSlot", "1", "0"}, "TemplateSlot: SLOT must be a number in 1..10"},
    {{"send", "TemplateSlot", "1", "11"}, "TemplateSlot: SLOT"},
    {{"send", "SetOutputResolution", "128"}, "SetOutputResolution: CODE"},
    {{"send", "SetOutputResolution", "20"}, "SetOutputResolution: CODE"},
    {{"send", "SetOutputResolutionCustom", "0", "768", "60"}, "SetOutputResolutionCustom: W"},
    {{"send", "SetPicture1OutputWindow", "0", "0", "65536", "1"}, "SetPicture1OutputWindow: W"},
    {{"send", "LocatePoint", "0", "0x10000", "1"}, "LocatePoint: B"},
    {{"send", "SetPictureQuality", "Sharpnes", "1"}, "SetPictureQuality: ITEM"},
    {{"send", "SetPictureQuality", "12", "1"}, "SetPictureQuality: ITEM"},
    {{"send", "SetPictureQuality", "Brightness", "256"}, "SetPictureQuality: VALUE"},
    {{"send", "SelectInput", "3", "HDMI"}, "SelectInput: PICTURE must be a number in 1..2"},
    {{"send", "SelectInput", "1", "SDI"}, "SelectInput: INPUT"},
    {{"send", "SelectInput", "1", "256"}, "SelectInput: INPUT"},
    {{"send", "SetClock", "2014-02-29 00:00:00"}, "SetClock: DATETIME"},
    {{"send", "SetClock", "2012-12-31 23:59:59"}, "SetClock: DATETIME"},
    {{"send", "SetClock", "2269-01-01 00:00:00"}, "SetClock: DATETIME"},
    {{"send", "SetClock", "2014-03-05 24:00:00"}, "SetClock: DATETIME"},
    {{"send", "SetClock", "2014-03-05"}, "SetClock: DATETIME"},
    {{"send", "SetClock", "2014-03-05 06:07:08x"}, "SetClock: DATETIME"},
    {{"send", "SetSwitchEffect", "0", "1", "6"}, "SetSwitchEffect: FADE"},
    {{"send", "WritePlanEntry", "64", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
     "WritePlanEntry: INDEX"},
    {{"send", "WritePlanEntry", "0", "16", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
     "WritePlanEntry: F1"},
    {{"send", "WritePlanEntry", "0", "0", "0", "0", "0", "0", "0", "0x20", "0", "0", "0", "0"},
     "WritePlanEntry: F7"},
    {{"read"}, "read: wrong number of arguments"},
    {{"read", "15", "0"}, "read: wrong number of arguments"},
    {{"read", "256"}, "read: TYPE"},
    {{"read", "9", "0", "1"}, "FIRST and LAST go only with type 15"},
    {{"read", "15", "0", "64"}, "read: LAST must be a number in 0..63"},
    {{"read", "15", "64", "64"}, "read: FIRST"},
    {{"read", "15", "5", "4"}, "LAST must not be below FIRST"},
};

TEST(CommandLine, BadOperandsAreRefusedWithoutTouchingTheDevice) {
    for (const auto& row : kRefused) {
        std::vector<std::string> args = {"--device", "/dev/ttyTEST"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        SCOPED_TRACE(row.message);
        CtlRunner ctl;
        const auto r = ctl.run(args);
        EXPECT_EQ(r.status, 2) << "a usage error";
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        EXPECT_EQ(ctl.wire->opens, 0);
        EXPECT_TRUE(r.out.empty());
    }
}

struct UsageRow {
    std::vector<std::string> args;
    const char* message;
};

const std::vector<UsageRow> kUsage = {
    {{}, "a command is required"},
    {{"--device", "/dev/ttyS0"}, "a command is required"},
    {{"send", "AutoAdjust"}, "--device PATH or --udp HOST:PORT is required"},
    {{"--device"}, "--device needs a value"},
    {{"--device="}, "--device needs a path"},
    {{"--device", "/dev/ttyS0", "--baud", "1200", "read", "0"}, "--baud must be one of"},
    {{"--device", "/dev/ttyS0", "--baud=fast", "read", "0"}, "--baud must be one of"},
    {{"--device", "/dev/ttyS0", "--timeout", "0", "read", "0"}, "--timeout must be 1..60"},
    {{"--device", "/dev/ttyS0", "--timeout", "61", "read", "0"}, "--timeout must be 1..60"},
    {{"--speed", "1"}, "unknown option '--speed'"},
    {{"--device", "/dev/ttyS0", "frobnicate"}, "unknown command 'frobnicate'"},
    {{"--udp", "127.0.0.2", "read", "0"}, "--udp must be HOST:PORT"},
    {{"--udp", "localhost:5000", "read", "0"}, "--udp must be HOST:PORT"},
    {{"--udp", "127.0.0.2:0", "read", "0"}, "--udp must be HOST:PORT"},
    {{"--udp=127.0.0.2:65536", "read", "0"}, "--udp must be HOST:PORT"},
    {{"--udp", "127.0.0.2:", "read", "0"}, "--udp must be HOST:PORT"},
    {{"--broadcast", "127.255.255", "discover", "--port", "1"}, "--broadcast must be"},
    {{"--device", "/dev/ttyS0", "--udp", "127.0.0.2:5000", "read", "0"},
     "--device and --udp cannot be given together"},
    {{"--broadcast", "127.255.255.255", "read", "0"},
     "--device PATH or --udp HOST:PORT is required"},
};

TEST(CommandLine, UsageErrorsExitTwoWithTheShortUsage) {
    for (const auto& row : kUsage) {
        SCOPED_TRACE(row.message);
        CtlRunner ctl;
        const auto r = ctl.run(row.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(ctl::shortUsage()), std::string::npos);
        EXPECT_EQ(ctl.wire->opens, 0);
    }
}

TEST(CommandLine, LinkOptionsReachTheLink) {
    CtlRunner ctl;
    const auto r =
        ctl.run({"--device=/dev/ttyUSB3", "--baud", "9600", "--timeout=60", "send", "AutoAdjust"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ctl.lastOptions.serial.devicePath, "/dev/ttyUSB3");
    EXPECT_EQ(ctl.lastOptions.serial.baudRate, 9600);
    EXPECT_EQ(ctl.lastOptions.serial.timeout, 60);
}

TEST(CommandLine, UdpOptionReachesTheLink) {
    CtlRunner ctl;
    const auto r = ctl.run({"--udp", "127.0.0.2:49001", "send", "AutoAdjust"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(ctl.lastOptions.network.has_value());
    EXPECT_EQ(ctl.lastOptions.network->ip, "127.0.0.2");
    EXPECT_EQ(ctl.lastOptions.network->port, 49001);
    EXPECT_TRUE(ctl.lastOptions.serial.devicePath.empty());
}

TEST(CommandLine, HelpListsEveryCommandWithItsArguments) {
    CtlRunner ctl;
    const auto r = ctl.run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(ctl.wire->opens, 0);
    for (const auto& entry : ctl::catalogue()) {
        EXPECT_NE(r.out.find("  " + ctl::usageLine(entry) + "\n"), std::string::npos) << entry.name;
    }
    EXPECT_NE(r.out.find("SetPicture1InputWindow X Y W H [HLIMIT VLIMIT]\n"), std::string::npos);
    EXPECT_NE(r.out.find("prints the stored entries"), std::string::npos);
    EXPECT_NE(r.out.find("all 64 entries go out, those not in the file empty"), std::string::npos);
}

TEST(CommandLine, VersionWinsOverTheRestOfTheLineAndOpensNothing) {
    CtlRunner ctl;
    const auto r = ctl.run({"--device", "/dev/ttyS9", "--version", "send", "AutoAdjust"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "korvanectl 3.0.0\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ctl.wire->opens, 0);
}

TEST(CommandLine, OpenFailuresNameTheCauseAndThePath) {
    const struct {
        int error;
        const char* text;
    } rows[] = {
        {ENOENT, "no such device: /dev/ttyS9"},
        {EACCES, "permission denied: /dev/ttyS9"},
        {EBUSY, "device busy: /dev/ttyS9"},
        {ENOTTY, "not a serial device: /dev/ttyS9"},
        {EPERM, "permission denied: /dev/ttyS9"},
        {EIO, "cannot open /dev/ttyS9: "},
        {0, "cannot open /dev/ttyS9"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ctl::openErrorText("/dev/ttyS9", row.error).rfind(row.text, 0), 0u) << row.text;
    }
}

} // namespace
