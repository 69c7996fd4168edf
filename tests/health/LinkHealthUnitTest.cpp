#include "LinkHealthSupport.h"
#include "core/link/DeviceLink.h"
#include "core/link/SerialPortList.h"
#include "support/MemoryTransport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace korvane::healthtest {
namespace {

using test::MemoryTransport;

struct MemoryLink {
    std::shared_ptr<test::MemoryLine> wire = std::make_shared<test::MemoryLine>();
    DeviceLink link{std::make_unique<MemoryTransport>(wire), nullptr, nullptr};
    std::vector<LinkStatus> seen;

    explicit MemoryLink(bool health) {
        link.setHealthEnabled(health);
        link.addLinkListener([this](const LinkStatus& s) { seen.push_back(s); });
        link.setSleeper([](std::chrono::milliseconds) {});
        link.setSendSwitch(1);
        EXPECT_EQ(link.open(), 1);
    }
};

TEST(LinkHealthWrites, AFailedWriteIsALossAndLaterCommandsStayHome) {
    MemoryLink m(true);
    ASSERT_EQ(m.seen.size(), 1u);
    EXPECT_EQ(m.seen[0].state, LinkState::Connected);
    m.wire->failWrites = true;
    EXPECT_EQ(m.link.write(CommandCode::SetAudio, frame::padData()), 0);
    ASSERT_EQ(m.seen.size(), 2u);
    EXPECT_EQ(m.seen[1].state, LinkState::Lost);
    EXPECT_EQ(m.seen[1].reason, LossReason::WriteFailed);
    EXPECT_EQ(m.seen[1].refused, 0u);

    m.wire->failWrites = false;
    EXPECT_EQ(m.link.write(CommandCode::SetAudio, frame::padData()), 0);
    EXPECT_EQ(m.link.write(CommandCode::SetAudio, frame::padData()), 0);
    EXPECT_EQ(m.link.read(0), 0);
    EXPECT_TRUE(m.wire->writes.empty()) << "sent while lost";
    ASSERT_EQ(m.seen.size(), 3u) << "one notice for the first refused command only";
    EXPECT_EQ(m.seen[2].refused, 1u);
    EXPECT_EQ(m.link.linkStatus().refused, 3u);

    // The send switch off still drops sends as sent, lost or not.
    m.link.setSendSwitch(0);
    EXPECT_EQ(m.link.write(CommandCode::SetAudio, frame::padData()), 1);
    EXPECT_EQ(m.link.linkStatus().refused, 3u);
    m.link.setSendSwitch(1);

    // Opening again (the operator's "open") connects and ends the refusing.
    EXPECT_EQ(m.link.open(), 1);
    EXPECT_EQ(m.link.linkStatus().state, LinkState::Connected);
    EXPECT_EQ(m.link.write(CommandCode::SetAudio, frame::padData()), 1);
    EXPECT_EQ(m.wire->writes.size(), 1u);
    EXPECT_EQ(m.link.linkStatus().losses, 1u);
}

TEST(LinkHealthWrites, WithHealthOffAFailedWriteChangesNothing) {
    MemoryLink m(false);
    m.wire->failWrites = true;
    EXPECT_EQ(m.link.write(CommandCode::SetAudio, frame::padData()), 0);
    m.wire->failWrites = false;
    EXPECT_EQ(m.link.write(CommandCode::SetAudio, frame::padData()), 1);
    EXPECT_EQ(m.link.linkStatus().state, LinkState::Connected);
    EXPECT_EQ(m.seen.size(), 1u);
}

TEST(LinkHealthWrites, ClosingIsClosedNotLost) {
    MemoryLink m(true);
    m.link.close();
    EXPECT_EQ(m.link.linkStatus().state, LinkState::Closed);
    EXPECT_EQ(m.link.write(CommandCode::SetAudio, frame::padData()), 0);
    EXPECT_EQ(m.link.linkStatus().state, LinkState::Closed) << "a closed link fails, not loses";
    EXPECT_EQ(m.link.linkStatus().losses, 0u);
}

// The stable names are listed by their own path (that is what gets stored), described by the
// device they stand for now; a name whose device is gone, and a missing folder, give nothing.
TEST(StableSerialNames, ListedByNameWithTheirDevice) {
    test::TempFolder dev;
    const auto byId = dev.path() / "serial" / "by-id";
    EXPECT_TRUE(listStableSerialNames(byId).empty());
    fs::create_directories(byId);
    std::ofstream(dev.path() / "ttyUSB3") << "";
    std::ofstream(dev.path() / "ttyUSB0") << "";
    fs::create_symlink("../../ttyUSB3", byId / "usb-Maker_Bridge_B-if00-port0");
    fs::create_symlink("../../ttyUSB0", byId / "usb-Maker_Bridge_A-if00-port0");
    fs::create_symlink("../../ttyUSB9", byId / "usb-Gone_Adapter-if00-port0");
    const auto names = listStableSerialNames(byId);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].path, (byId / "usb-Maker_Bridge_A-if00-port0").string());
    EXPECT_EQ(names[0].description, "-> " + (dev.path() / "ttyUSB0").string());
    EXPECT_EQ(names[1].path, (byId / "usb-Maker_Bridge_B-if00-port0").string());
    EXPECT_EQ(names[1].description, "-> " + (dev.path() / "ttyUSB3").string());
}

} // namespace
} // namespace korvane::healthtest
