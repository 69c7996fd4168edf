// Runs the built program, so that main, the serial open and its messages are covered as a
// user meets them.
#include "support/TempFolder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string err;
};

class KorvanectlBinary : public ::testing::Test {
protected:
    korvane::test::TempFolder folder;
    const fs::path& home = folder.path();

    // Standard error only; the program directory (and its log) stays in the test's folder.
    Outcome run(const std::string& args) {
        return runWith("KORVANE_HOME='" + home.string() + "'", KORVANECTL_PATH, args);
    }
    // `exe` with `environment` (NAME='value' words) in front; standard error only.
    static Outcome runWith(const std::string& environment, const std::string& exe,
                           const std::string& args) {
        const std::string command =
            "env " + environment + " '" + exe + "' " + args + " 2>&1 >/dev/null";
        Outcome o;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return o;
        }
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            o.err += buffer;
        }
        const int status = ::pclose(pipe);
        o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return o;
    }
};

TEST_F(KorvanectlBinary, MissingDeviceSaysSo) {
    const std::string path = (home / "ttyNONE").string();
    const auto o = run("--device '" + path + "' send AutoAdjust");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("no such device: " + path), std::string::npos) << o.err;
}

TEST_F(KorvanectlBinary, PlainFileIsNotASerialDevice) {
    const fs::path file = home / "plain";
    std::ofstream(file) << "x";
    const auto o = run("--device '" + file.string() + "' read 0");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("not a serial device: " + file.string()), std::string::npos) << o.err;
}

TEST_F(KorvanectlBinary, ExitStatusOfHelpAndOfAUsageError) {
    EXPECT_EQ(run("--help").status, 0);
    const auto o = run("--device /dev/null");
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("Usage: korvanectl"), std::string::npos) << o.err;
}

// Without KORVANE_HOME every program uses the user's configuration folder, unless its own folder
// already holds a settings file (a portable copy); korvanectl takes its device, baud rate,
// time-out and broadcast address from that file when the command line does not give them.
TEST_F(KorvanectlBinary, SettingsComeFromTheSharedProgramDirectory) {
    const fs::path config = home / "xdg" / "korvane";
    fs::create_directories(config);
    const std::string device = (home / "ttyFROMSETTINGS").string();
    std::ofstream(config / "korvaneapp.ini")
        << "[comm]\ncommport=0\ncommdevice=" << device
        << "\nbaudrate=19200\ntimeout=3\n[net]\nbroadcast=127.255.255.255\n";
    const std::string env = "-u KORVANE_HOME XDG_CONFIG_HOME='" + (home / "xdg").string() + "'";
    auto o = runWith(env, KORVANECTL_PATH, "--verbose send AutoAdjust");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("settings file " + (config / "korvaneapp.ini").string() + "\n"),
              std::string::npos)
        << o.err;
    EXPECT_NE(o.err.find("device " + device + " (settings file)\n"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("baud rate 19200 (settings file)\n"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("time-out 3 s (settings file)\n"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("broadcast address 127.255.255.255 (settings file)\n"), std::string::npos)
        << o.err;
    EXPECT_NE(o.err.find("no such device: " + device), std::string::npos) << o.err;

    o = runWith(env, KORVANECTL_PATH,
                "--verbose --baud 57600 --device /dev/null/x send AutoAdjust");
    EXPECT_NE(o.err.find("device /dev/null/x (command line)\n"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("baud rate 57600 (command line)\n"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("time-out 3 s (settings file)\n"), std::string::npos) << o.err;
    o = runWith(env, KORVANECTL_PATH, "--verbose=1 send AutoAdjust");
    EXPECT_EQ(o.status, 2) << o.err;

    // A copy beside its own settings file keeps to it.
    const fs::path portable = home / "portable";
    fs::create_directories(portable);
    fs::copy_file(KORVANECTL_PATH, portable / "korvanectl");
    fs::permissions(portable / "korvanectl", fs::perms::owner_all);
    std::ofstream(portable / "korvaneapp.ini") << "[comm]\ncommdevice=/dev/portable-tty\n";
    o = runWith(env, (portable / "korvanectl").string(), "--verbose send AutoAdjust");
    EXPECT_NE(o.err.find("settings file " + (portable / "korvaneapp.ini").string() + "\n"),
              std::string::npos)
        << o.err;
    EXPECT_NE(o.err.find("device /dev/portable-tty (settings file)\n"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("baud rate 9600 (settings file)\n"), std::string::npos) << o.err;
}

} // namespace
