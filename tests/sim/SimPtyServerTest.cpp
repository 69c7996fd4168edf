#include "sim/SimPtyServer.h"

#include "PtyClient.h"
#include "SimTestSupport.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace korvane::sim::test {
namespace {

namespace fs = std::filesystem;

bool send(PtyClient& c, const frame::CommandFrame& f) {
    return c.send(f);
}

TEST(SimPtyServer, AnswersReadsAndKeepsWritesSeenByTheModel) {
    SimPtyServer server;
    server.start();
    PtyClient client(server.devicePath());
    ASSERT_TRUE(client.isOpen());
    EXPECT_TRUE(identityAnswered(client));

    const auto volume = command(CommandCode::SetAudio, {1, 42});
    const auto main = readRequest(readtype::kMain);
    Bytes both;
    for (const auto& f : {volume, main}) {
        std::copy(f.begin(), f.end(), std::back_inserter(both));
    }
    ASSERT_TRUE(client.send(both));
    const Bytes reply = client.receive(readTypeInfo(readtype::kMain)->replyLength);
    ParameterMirror m{};
    ASSERT_TRUE(frame::acceptReply(reply));
    ASSERT_TRUE(unpackMain(m, replyPayload(reply)));
    EXPECT_EQ(m.volume, 42);

    EXPECT_EQ(server.state().mirror.volume, 42);
    const auto frames = server.receivedFrames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1], volume);
    EXPECT_EQ(server.withModel([](SimModel& model) { return model.receivedFrames().size(); }), 3u);
}

TEST(SimPtyServer, ServesClientsOneAfterAnother) {
    SimPtyServer server;
    server.start();
    for (int i = 0; i < 3; ++i) {
        PtyClient client(server.devicePath());
        ASSERT_TRUE(client.isOpen()) << "client " << i;
        EXPECT_TRUE(identityAnswered(client)) << "client " << i;
    }
}

TEST(SimPtyServer, FaultsSetWhileRunningTakeEffect) {
    SimPtyServer server;
    server.start();
    PtyClient client(server.devicePath());
    SimFaults faults;
    faults.noReply.insert(readtype::kIdentity);
    server.setFaults(faults);
    // The unanswered request is followed by one that is answered: the next bytes on the
    // line must belong to the second reply.
    ASSERT_TRUE(send(client, readRequest(readtype::kIdentity)));
    ASSERT_TRUE(send(client, readRequest(readtype::kPlanHeader)));
    const Bytes reply = client.receive(readTypeInfo(readtype::kPlanHeader)->replyLength);
    EXPECT_TRUE(frame::acceptReply(reply));
    EXPECT_EQ(reply.size(), readTypeInfo(readtype::kPlanHeader)->replyLength);
}

TEST(SimPtyServer, LateReplyArrivesIntactNotBeforeTheDelay) {
    SimModel model;
    SimFaults faults;
    faults.lateReply = std::chrono::milliseconds{200};
    model.setFaults(faults);
    SimPtyServer server(std::move(model));
    server.start();
    PtyClient client(server.devicePath());
    const auto sent = std::chrono::steady_clock::now();
    EXPECT_TRUE(identityAnswered(client));
    EXPECT_GE(std::chrono::steady_clock::now() - sent, faults.lateReply);
}

TEST(SimPtyServer, HangUpDropsTheLineForTheClient) {
    SimModel model;
    SimFaults faults;
    faults.hangUpAfter = 1;
    model.setFaults(faults);
    SimPtyServer server(std::move(model));
    server.start();
    PtyClient client(server.devicePath());
    ASSERT_TRUE(client.isOpen());
    EXPECT_TRUE(identityAnswered(client));

    // A bounded wait so that a broken hang-up fails the test instead of stalling it.
    pollfd p{client.fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 10000), 1);
    EXPECT_NE(p.revents & (POLLHUP | POLLERR), 0);
    std::uint8_t byte = 0;
    EXPECT_LE(::read(client.fd(), &byte, 1), 0);
    EXPECT_LT(::write(client.fd(), &byte, 1), 0);
    server.stop();
    EXPECT_TRUE(server.hungUp());
}

TEST(SimPtyServer, LinkReplacesAnOldLinkAndGoesAwayOnStop) {
    korvane::test::TempFolder dir;
    const fs::path link = dir.path() / "ttyKorvane";
    fs::create_symlink("/nonexistent/old-device", link);
    SimPtyServer server(SimModel{}, link);
    server.start();
    EXPECT_EQ(fs::read_symlink(link), fs::path(server.devicePath()));
    {
        PtyClient client(link.string());
        EXPECT_TRUE(identityAnswered(client));
    }
    server.stop();
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_TRUE(fs::is_empty(dir.path())) << "temporary link left behind";
}

TEST(SimPtyServer, RefusesToReplaceARegularFile) {
    korvane::test::TempFolder dir;
    const fs::path path = dir.path() / "notes.txt";
    std::ofstream(path) << "keep me";
    SimPtyServer server(SimModel{}, path);
    EXPECT_THROW(server.start(), fs::filesystem_error);
    std::string content;
    std::getline(std::ifstream(path), content);
    EXPECT_EQ(content, "keep me");
}

} // namespace
} // namespace korvane::sim::test
