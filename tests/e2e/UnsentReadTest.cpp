// Reads whose request never goes out, over the real links: the simulator never sees the request
// and the link never waits for its reply.
#include "SimLinkFixture.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/SerialLink.h"
#include "core/link/UdpLink.h"

#include <atomic>
#include <cstring>

using namespace korvane;
using namespace korvane::test;

namespace {

// A real serial or UDP link that counts how often a reply is waited for.
class CountingTransport : public ByteTransport {
public:
    CountingTransport(std::unique_ptr<ByteTransport> real, std::atomic<int>& reads)
        : real_(std::move(real)), reads_(reads) {}
    int open() override { return real_->open(); }
    void close() override { real_->close(); }
    int isOpen() const override { return real_->isOpen(); }
    int writeAll(const std::uint8_t* bytes, std::size_t length) override {
        return real_->writeAll(bytes, length);
    }
    int readAll(std::uint8_t* buffer, std::size_t length) override {
        ++reads_;
        return real_->readAll(buffer, length);
    }
    int purgeInput() override { return real_->purgeInput(); }

private:
    std::unique_ptr<ByteTransport> real_;
    std::atomic<int>& reads_;
};

class UnsentReadFixture : public ::testing::TestWithParam<LinkKind> {
protected:
    void SetUp() override {
        if (GetParam() == LinkKind::Pty) {
            pty_.start();
            auto serial =
                std::make_unique<SerialLink>(SerialSettings{pty_.devicePath(), 999, 1, 115200});
            link_ = std::make_unique<DeviceLink>(
                std::make_unique<CountingTransport>(std::move(serial), reads_), nullptr, &sink_);
        } else {
            udp_.start();
            NetworkSettings s;
            s.ip = udp_.address();
            s.port = udp_.port();
            auto network = std::make_unique<UdpLink>(s, &sink_);
            link_ = std::make_unique<DeviceLink>(nullptr, &sink_);
            link_->setUdpTransport(std::make_unique<CountingTransport>(std::move(network), reads_));
            link_->setNetworkMode(1);
        }
        ASSERT_EQ(link_->open(), 1);
        link_->setSendSwitch(1);
    }
    std::size_t framesSoFar() const {
        return GetParam() == LinkKind::Pty ? pty_.receivedFrames().size()
                                           : udp_.receivedFrames().size();
    }

    sim::SimPtyServer pty_;
    sim::SimUdpServer udp_{sim::SimModel{}, "127.0.0.2", 0};
    RecordingSink sink_;
    std::atomic<int> reads_{0};
    std::unique_ptr<DeviceLink> link_;
};

} // namespace

TEST_P(UnsentReadFixture, ReadWithSendingOffNeverReachesTheProcessorNorWaitsForIt) {
    // The rig works: a read with sending on goes out and is answered.
    ASSERT_EQ(link_->read(readtype::kPicture2), 1);
    ASSERT_EQ(framesSoFar(), 1u);
    ASSERT_EQ(reads_.load(), 1);

    link_->setSendSwitch(0);
    for (const std::uint8_t type : {readtype::kMain, readtype::kPicture2Input, readtype::kPicture2,
                                    readtype::kIdentity, readtype::kSwitchState}) {
        EXPECT_EQ(link_->read(type), 0) << int(type);
    }
    EXPECT_EQ(link_->read(readtype::kPlanEntries, 0, 3), 0);
    EXPECT_EQ(link_->probeIdentity(), ProbeOutcome::NoAnswer);
    ParameterMirror mirror{};
    applyMirrorDefaults(mirror, kDefaultResolution);
    const ParameterMirror before = mirror;
    CommandFacade facade(*link_, mirror);
    EXPECT_EQ(SynchroniseAll({*link_, mirror, facade, &sink_}, true).run(), 0);
    EXPECT_EQ(std::memcmp(&mirror, &before, sizeof mirror), 0) << "a failed sync leaves it";

    EXPECT_EQ(framesSoFar(), 1u) << "the simulator never received a request";
    EXPECT_EQ(reads_.load(), 1) << "no reply was waited for through the transport";
    EXPECT_EQ(sink_.ids, (std::vector<MessageId>{MessageId::RecvFail, MessageId::SyncFailed}));

    // Sending on again: the next read is answered by its own reply, not by a stray one.
    link_->setSendSwitch(1);
    EXPECT_EQ(link_->read(readtype::kIdentity), 1);
    EXPECT_EQ(framesSoFar(), 2u);
}

TEST_P(UnsentReadFixture, ReadOnAClosedLinkNeverWaitsForAReply) {
    link_->close();
    EXPECT_EQ(link_->read(readtype::kPicture2), 0);
    EXPECT_EQ(link_->read(readtype::kPlanEntries, 0, 3), 0);
    EXPECT_EQ(link_->probeIdentity(), ProbeOutcome::NoAnswer);
    EXPECT_EQ(framesSoFar(), 0u);
    EXPECT_EQ(reads_.load(), 0);
    EXPECT_TRUE(sink_.ids.empty());
}

INSTANTIATE_TEST_SUITE_P(Link, UnsentReadFixture, ::testing::Values(LinkKind::Pty, LinkKind::Udp),
                         linkName);
