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
        const std::string command = "KORVANE_HOME='" + home.string() + "' '" KORVANECTL_PATH "' " +
                                    args + " 2>&1 >/dev/null";
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

} // namespace
