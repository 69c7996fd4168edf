#include "core/link/CommLog.h"

#include "core/link/DeviceLink.h"
#include "support/MemoryTransport.h"
#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

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
            ASSERT_TRUE(log.isOpen());
            log.append(CommLog::Direction::Send, bytes);
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

TEST(CommLog, SecondWriterIsRefusedAndUnwritableFolderIsSilent) {
    test::TempFolder dir;
    CommLog first(dir.path() / CommLog::kFileName);
    EXPECT_TRUE(first.isOpen());
    CommLog second(dir.path() / CommLog::kFileName);
    EXPECT_FALSE(second.isOpen());
    const std::uint8_t b[1] = {1};
    second.append(CommLog::Direction::Send, b); // does nothing
    CommLog missing(dir.path() / "no" / "such" / CommLog::kFileName);
    EXPECT_FALSE(missing.isOpen());
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
