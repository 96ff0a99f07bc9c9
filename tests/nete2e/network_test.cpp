// Network matches between two built games on the loopback, windowless: played out over a good
// and a bad link, one side killed, a game of another version, a flood from a stranger, and a
// host that is not there.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <random>
#include <filesystem>

#include "fake_peer.h"
#include "net_pair.h"

namespace {

using namespace nete2e;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One finished match seen from both sides: the same seed, knock-outs and tally, both replays
// checking out to the same final state, and a pace and rollbacks within what the game promises.
void expectTheSameMatch(NetPair& pair, const std::string& hostReplay,
                        const std::string& joinerReplay) {
    const std::string host = pair.host().out(), joiner = pair.joiner().out();
    EXPECT_EQ(pair.hostStatus, 0) << pair.transcript();
    EXPECT_EQ(pair.joinerStatus, 0) << pair.transcript();
    for (const char* prefix : {"seed ", "match ", "player 1 "}) {
        EXPECT_EQ(linesStarting(host, prefix).size(), 1u) << prefix << "\n" << pair.transcript();
        EXPECT_EQ(linesStarting(host, prefix), linesStarting(joiner, prefix)) << pair.transcript();
    }
    const ReplayCheck hostCheck = checkReplay(hostReplay);
    const ReplayCheck joinerCheck = checkReplay(joinerReplay);
    EXPECT_EQ(hostCheck.status, 0) << hostCheck.verdict;
    EXPECT_EQ(joinerCheck.status, 0) << joinerCheck.verdict;
    EXPECT_NE(hostCheck.verdict.find(" 1 match, "), std::string::npos) << hostCheck.verdict;
    EXPECT_EQ(hostCheck.verdict, joinerCheck.verdict);
    for (const std::string* out : {&host, &joiner}) {
        NetFigures figures;
        ASSERT_TRUE(figures.read(*out)) << *out;
        std::printf("%s\n", linesStarting(*out, "network: ")[0].c_str());  // the link, for the log
        EXPECT_GE(figures.rate, 57.0) << *out;
        EXPECT_LE(figures.longestRollback, 8) << *out;
    }
}

TEST(NetworkMatch, EndsAlikeOnBothSidesOverAPerfectLinkAndOverALossySlowOne) {
    struct Setting {
        const char* name;
        Arguments relay;
        NetPair pair;
    } settings[] = {
        {"0 ms, 0%", {"--seed", "1"}, {}},
        {"100 ms, 5%", {"--delay", "50", "--jitter", "10", "--loss", "5", "--seed", "2"}, {}},
    };
    testsupport::ScratchFolder folder("nete2e");
    int seed = 1;
    // Both settings play at once: each match takes most of a quarter-minute at the steady pace.
    for (Setting& setting : settings) {
        const std::string stem = folder.file(std::to_string(seed));
        ASSERT_TRUE(setting.pair.start(
            {{"--seed", std::to_string(seed++), "--matches", "1", "--record", stem + "-host.vxr"},
             {"--record", stem + "-joiner.vxr"},
             setting.relay}));
    }
    seed = 1;
    for (Setting& setting : settings) {
        SCOPED_TRACE(setting.name);
        ASSERT_TRUE(setting.pair.waitForBoth()) << setting.pair.transcript();
        const std::string stem = folder.file(std::to_string(seed++));
        expectTheSameMatch(setting.pair, stem + "-host.vxr", stem + "-joiner.vxr");
    }
}

TEST(NetworkMatch, TheHostSaysItLostAJoinerKilledMidMatchWithinSixSecondsAndKeepsItsReplay) {
    testsupport::ScratchFolder folder("nete2e");
    const std::string replay = folder.file("host.vxr");
    NetPair pair;
    // Over IPv6, which the host's socket takes as well.
    ASSERT_TRUE(pair.start({{"--seed", "3", "--record", replay}, {}, {}, "[::1]"}));
    ASSERT_TRUE(waitForOutput(pair.joiner(), "connected to ")) << pair.transcript();
    // Mid-match: the host's replay grows past what it held first, so turns are being played.
    uintmax_t first = 0;
    const auto replaySize = [&replay] {
        std::error_code error;
        const uintmax_t size = std::filesystem::file_size(replay, error);
        return error ? 0 : size;
    };
    ASSERT_TRUE(testwait::waitUntil([&] { return (first = replaySize()) > 0; }))
        << pair.transcript();
    ASSERT_TRUE(testwait::waitUntil([&] { return replaySize() > first; })) << pair.transcript();
    ASSERT_TRUE(pair.joiner().running()) << pair.transcript();
    pair.joiner().signal(SIGKILL);
    const Clock::time_point killed = Clock::now();

    const std::string lost = "vorlaxis: lost the other player at [::1]:";
    testwait::waitUntil(
        [&] { return pair.host().err().find(lost) != std::string::npos || !pair.host().running(); },
        15, std::chrono::milliseconds(10));
    const double took = secondsSince(killed);
    std::printf("the host said it lost the joiner %.2f s after the kill\n", took);
    EXPECT_NE(pair.host().err().find(lost), std::string::npos) << pair.transcript();
    EXPECT_GE(took, 4.5);
    EXPECT_LE(took, 6.0);
    ASSERT_TRUE(pair.host().wait(testwait::kPatienceSeconds, pair.hostStatus));
    EXPECT_EQ(pair.hostStatus, 1) << pair.transcript();
    EXPECT_NE(pair.host().err().find(": nothing received for 5 s\n"), std::string::npos);

    ASSERT_TRUE(e2e::exists(replay));
    const ReplayCheck check = checkReplay(replay);
    EXPECT_EQ(check.status, 0) << check.verdict;
}

TEST(NetworkMatch, AGameOfAnotherVersionIsToldSoFromEitherSide) {
    const std::string differs =
        "vorlaxis: the other game differs: version " VORLAXIS_VERSION " here, 0.0.1 there\n";
    // A real joiner asks a fake host, which answers that it is another version.
    FakePeer fakeHost;
    ASSERT_TRUE(fakeHost.listen()) << fakeHost.error;
    auto joiner = startGame(
        {"--join", "127.0.0.1:" + std::to_string(fakeHost.port()), "--player2", "computer"});
    ASSERT_TRUE(fakeHost.await(net::Kind::HELLO, e2e::kStartSeconds)) << joiner->err();
    net::Hello real = fakeHost.got.hello;
    EXPECT_EQ(real.gameVersion, VORLAXIS_VERSION);
    net::Hello old = real;
    old.gameVersion = "0.0.1";
    net::Hello welcome = old;
    welcome.session = 77;
    welcome.seed = 5;
    welcome.matches = 1;
    welcome.turnRate = 60;
    fakeHost.send(net::encodeHello(net::Kind::WELCOME, welcome));
    int status = -2;
    ASSERT_TRUE(joiner->wait(testwait::kPatienceSeconds, status)) << joiner->out();
    EXPECT_EQ(status, 1);
    EXPECT_EQ(joiner->err(), differs);
    EXPECT_EQ(joiner->out().find("connected to"), std::string::npos) << joiner->out();

    // A fake joiner of that version asks a real host: the host refuses it, and still answers
    // with its WELCOME so that the joiner learns why.
    auto host = startGame({"--host", "0", "--player1", "computer"});
    const int port = waitForPort(*host);
    ASSERT_NE(port, 0) << host->err();
    FakePeer fakeJoiner;
    ASSERT_TRUE(fakeJoiner.aimAt(port)) << fakeJoiner.error;
    ASSERT_TRUE(fakeJoiner.await(net::Kind::WELCOME, testwait::kPatienceSeconds,
                                 net::encodeHello(net::Kind::HELLO, old)));
    EXPECT_EQ(fakeJoiner.got.hello.gameVersion, VORLAXIS_VERSION);
    ASSERT_TRUE(host->wait(testwait::kPatienceSeconds, status)) << host->out();
    EXPECT_EQ(status, 1);
    EXPECT_EQ(host->err(), differs);
    EXPECT_EQ(host->out().find("joined"), std::string::npos) << host->out();
}

// A datagram from a stranger: any length up to 300 bytes, half of them dressed as the game's
// own (its magic, protocol version and one of its kinds) with anything after.
std::string junk(std::mt19937& random) {
    std::string bytes(random() % 301, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    if (bytes.size() >= 5 && random() % 2 == 0) {
        bytes.replace(0, 4, "VXN\x01");
        bytes[4] = static_cast<char>(1 + random() % 5);
    }
    return bytes;
}

// A host reads a turn's datagrams in one go: a burst and its HELLO take a turn or two.
constexpr int kFloodAnswerSeconds = 10;

TEST(NetworkMatch, AFloodFromAStrangerNeitherStopsTheMatchNorTakesAPlayersPlace) {
    NetPair pair;
    ASSERT_TRUE(pair.start({{"--seed", "4", "--matches", "1"}, {}, {}}));
    ASSERT_TRUE(waitForOutput(pair.joiner(), "connected to ")) << pair.transcript();

    FakePeer stranger;
    ASSERT_TRUE(stranger.aimAt(pair.hostPort)) << stranger.error;
    std::mt19937 random(4);
    const std::string hello = net::encodeHello(net::Kind::HELLO, net::Hello());
    // 20,000 datagrams in bursts of 200, each followed by a HELLO: the host's FULL in answer
    // shows it has read through the burst, and lets the next one go at the host's own pace.
    for (int burst = 0; burst < 100; ++burst) {
        for (int i = 0; i < 200; ++i) stranger.send(junk(random));
        ASSERT_TRUE(stranger.await(net::Kind::FULL, kFloodAnswerSeconds, hello))
            << "the stranger's HELLO after burst " << burst << " was not answered FULL\n"
            << pair.transcript();
    }
    EXPECT_TRUE(pair.host().running()) << "the match ended during the flood\n" << pair.transcript();

    ASSERT_TRUE(pair.waitForBoth()) << pair.transcript();
    EXPECT_EQ(pair.hostStatus, 0) << pair.transcript();
    EXPECT_EQ(pair.joinerStatus, 0) << pair.transcript();
    const auto matchLines = linesStarting(pair.host().out(), "match ");
    EXPECT_EQ(matchLines.size(), 1u) << pair.transcript();
    EXPECT_EQ(matchLines, linesStarting(pair.joiner().out(), "match ")) << pair.transcript();
    NetFigures figures;
    ASSERT_TRUE(figures.read(pair.host().out())) << pair.transcript();
    std::printf("%s\n", linesStarting(pair.host().out(), "network: ")[0].c_str());
    EXPECT_GT(figures.dropped, 0) << pair.transcript();
}

TEST(NetworkMatch, AJoinerWithNoHostGivesUpAfterTenSeconds) {
    int port = 0;
    {
        FakePeer gone;  // takes a free port and gives it back
        ASSERT_TRUE(gone.listen()) << gone.error;
        port = gone.port();
    }
    const std::string address = "127.0.0.1:" + std::to_string(port);
    const Clock::time_point started = Clock::now();
    auto joiner = startGame({"--join", address, "--player2", "computer"});
    int status = -2;
    ASSERT_TRUE(joiner->wait(30, status)) << joiner->out() << joiner->err();
    const double took = secondsSince(started);
    std::printf("the joiner gave up %.2f s after it started\n", took);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(joiner->err(), "vorlaxis: no answer from " + address + "\n");
    EXPECT_GE(took, 9.0);
    EXPECT_LE(took, 15.0);
}

// A taken port is said once, with the system's reason, before any waiting.
TEST(NetworkMatch, AHostWhosePortIsTakenSaysSoOnceAndExitsOne) {
    FakePeer taken;
    ASSERT_TRUE(taken.listen()) << taken.error;
    auto host = startGame({"--host", std::to_string(taken.port()), "--player1", "computer"});
    int status = -2;
    ASSERT_TRUE(host->wait(testwait::kPatienceSeconds, status)) << host->out();
    EXPECT_EQ(status, 1);
    const std::string err = host->err();
    EXPECT_EQ(err.rfind("vorlaxis: cannot open UDP port " + std::to_string(taken.port()) + ": ", 0),
              0u)
        << err;
    EXPECT_EQ(linesStarting(err, "vorlaxis: ").size(), 1u) << err;
    EXPECT_EQ(host->out().find("waiting for a player"), std::string::npos) << host->out();
}

}  // namespace
