#include "core/link/CommLog.h"

#include "core/link/DeviceLink.h"
#include "support/MemoryTransport.h"
#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <system_error>
#include <vector>

using namespace korvane;

namespace {
std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
} // namespace

TEST(CommLog, EntryText) {
    std::tm when{};
    when.tm_year = 2014 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 5;
    when.tm_hour = 6;
    when.tm_min = 7;
    when.tm_sec = 8;
    const std::uint8_t reply[9] = {0xED, 0xCB, 0x00, 0x00, 0x03, 0x54, 0x52, 0x53, 0xFC};
    EXPECT_EQ(CommLog::formatEntry(CommLog::Direction::Receive, reply, when),
              "\r\nRecv:2014-03-05 06:07:08\r\n 0xED 0xCB 0x00 0x00 0x03 0x54 0x52 0x53 0xFC");
    const std::uint8_t sent[2] = {0x0a, 0xff};
    EXPECT_EQ(CommLog::formatEntry(CommLog::Direction::Send, sent, when),
              "\r\nSend:2014-03-05 06:07:08\r\n 0x0A 0xFF");
}

TEST(CommLog, SizeRuleAppliesWhenOpening) {
    test::TempFolder dir;
    const auto path = dir.path() / CommLog::kFileName;
    const std::uint8_t bytes[3] = {1, 2, 3};
    for (const std::uintmax_t size : {CommLog::kMaxSizeAtOpen, CommLog::kMaxSizeAtOpen + 1}) {
        std::filesystem::remove(path);
        { std::ofstream(path, std::ios::binary) << std::string(size, 'x'); }
        {
            CommLog log(path);
            EXPECT_EQ(std::filesystem::file_size(path), size) << "untouched before an entry";
            log.append(CommLog::Direction::Send, bytes);
            ASSERT_TRUE(log.isOpen());
        }
        const std::string text = slurp(path);
        const std::string entryTail = " 0x01 0x02 0x03";
        ASSERT_GE(text.size(), entryTail.size());
        EXPECT_EQ(text.substr(text.size() - entryTail.size()), entryTail);
        if (size == CommLog::kMaxSizeAtOpen) {
            EXPECT_EQ(text.substr(0, size), std::string(size, 'x')) << "kept and appended to";
        } else {
            EXPECT_EQ(text.rfind("\r\nSend:", 0), 0u) << "emptied before the first entry";
        }
    }
}

TEST(CommLog, SecondWriterIsSilentAndAnUnwritablePathIsToldOnce) {
    test::TempFolder dir;
    std::vector<std::string> told;
    const auto tell = [&told](const std::string& why) { told.push_back(why); };
    const std::uint8_t b[1] = {1};
    CommLog first(dir.path() / CommLog::kFileName);
    first.append(CommLog::Direction::Send, b);
    EXPECT_TRUE(first.isOpen());
    CommLog second(dir.path() / CommLog::kFileName);
    second.setFailureHandler(tell);
    second.append(CommLog::Direction::Send, b);
    EXPECT_FALSE(second.isOpen());
    EXPECT_FALSE(second.failed());
    EXPECT_TRUE(told.empty()) << "another instance's log is not an error";
    CommLog missing(dir.path() / "no" / "such" / CommLog::kFileName);
    missing.setFailureHandler(tell);
    missing.append(CommLog::Direction::Send, b);
    missing.append(CommLog::Direction::Receive, b);
    EXPECT_TRUE(missing.failed());
    EXPECT_EQ(told, std::vector<std::string>{std::generic_category().message(ENOENT)});
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "no"));
}

// Nothing is created before the first logged frame: not by making the log, not by a send the
// switch drops, not by a read whose reply is missing.
TEST(CommLog, TheFileAppearsWithTheFirstFrame) {
    test::TempFolder dir;
    const auto path = dir.path() / CommLog::kFileName;
    CommLog log(path);
    auto wire = std::make_shared<test::MemoryLine>();
    DeviceLink link(std::make_unique<test::MemoryTransport>(wire), &log, nullptr);
    link.setSleeper([](std::chrono::milliseconds) {});
    EXPECT_EQ(link.write(CommandCode::SetFreeze, frame::padData()), 1);
    wire->failWrites = true;
    link.setSendSwitch(1);
    EXPECT_EQ(link.read(readtype::kClock), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
    wire->failWrites = false;
    EXPECT_EQ(link.write(CommandCode::SetFreeze, frame::padData()), 1);
    EXPECT_TRUE(std::filesystem::exists(path));
}

// A log that cannot be written (here a device that is always full) never decides an exchange:
// the frames go out, the reply is taken, the failure is told once and logging stops.
TEST(CommLog, AFullLogNeverFailsAnExchange) {
    test::TempFolder dir;
    const auto path = dir.path() / CommLog::kFileName;
    std::filesystem::create_symlink("/dev/full", path);
    CommLog log(path);
    std::vector<std::string> told;
    log.setFailureHandler([&told](const std::string& why) { told.push_back(why); });
    auto wire = std::make_shared<test::MemoryLine>();
    DeviceLink link(std::make_unique<test::MemoryTransport>(wire), &log, nullptr);
    link.setSleeper([](std::chrono::milliseconds) {});
    link.setSendSwitch(1);
    EXPECT_EQ(link.write(CommandCode::SetFreeze, frame::padData()), 1);
    const std::uint8_t reply[9] = {0xED, 0xCB, 0x00, 0x00, 0x03, 'T', 'R', 'S', 0xFC};
    wire->incoming.assign(std::begin(reply), std::end(reply));
    EXPECT_EQ(link.read(readtype::kIdentity), 1);
    wire->incoming.assign(std::begin(reply), std::end(reply));
    EXPECT_EQ(link.probeIdentity(), ProbeOutcome::Answered);
    EXPECT_EQ(wire->writes.size(), 3u);
    EXPECT_EQ(told, std::vector<std::string>{std::generic_category().message(ENOSPC)});
    EXPECT_TRUE(log.failed());
    // Pointing the log elsewhere starts afresh.
    log.relocate(dir.path() / "other.log");
    EXPECT_FALSE(log.failed());
    EXPECT_EQ(link.write(CommandCode::SetFreeze, frame::padData()), 1);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "other.log"));
    EXPECT_EQ(told.size(), 1u);
}

TEST(CommLog, WhatTheLinkLogs) {
    test::TempFolder dir;
    const auto path = dir.path() / CommLog::kFileName;
    CommLog log(path);
    auto wire = std::make_shared<test::MemoryLine>();
    DeviceLink link(std::make_unique<test::MemoryTransport>(wire), &log, nullptr);
    link.setSleeper([](std::chrono::milliseconds) {});

    // Send switch off: nothing sent, nothing logged.
    EXPECT_EQ(link.write(CommandCode::SetFreeze, frame::padData()), 1);
    EXPECT_TRUE(slurp(path).empty());

    link.setSendSwitch(1);
    wire->failWrites = true;
    EXPECT_EQ(link.write(CommandCode::SetFreeze, frame::padData()), 0);
    EXPECT_TRUE(slurp(path).empty()) << "a failed send is not logged";
    wire->failWrites = false;

    // A 0x88 reply is accepted but not logged; an ordinary one is.
    const std::uint8_t unlogged[9] = {0xED, 0xCB, 0x00, 0x88, 0x03, 'T', 'R', 'S', 0x84};
    wire->incoming.assign(std::begin(unlogged), std::end(unlogged));
    EXPECT_EQ(link.read(readtype::kIdentity), 1);
    std::string text = slurp(path);
    EXPECT_EQ(text.find("Recv:"), std::string::npos);
    EXPECT_NE(text.find("Send:"), std::string::npos);

    const std::uint8_t logged[9] = {0xED, 0xCB, 0x00, 0x00, 0x03, 'T', 'R', 'S', 0xFC};
    wire->incoming.assign(std::begin(logged), std::end(logged));
    EXPECT_EQ(link.read(readtype::kIdentity), 1);
    text = slurp(path);
    EXPECT_NE(text.find("Recv:"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 45), " 0xED 0xCB 0x00 0x00 0x03 0x54 0x52 0x53 0xFC");
}
