// Two keyboard games on one display, one hosting and one joining over the loopback: the
// host's player 1 walks in and hits player 2, and both panels show player 2's life fall;
// Escape on the joiner ends both games cleanly, both replays checking out alike. A host that
// nobody joins is cancelled with Escape and leaves no replay behind.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/keyboard_play.h"
#include "tests/support/scratch_folder.h"

namespace {

using e2e::Area;
using e2e::count;
using e2e::GameProcess;
using e2e::kPanelCaption;
using e2e::kSceneCaption;
using e2e::lit;
using e2e::PanelRead;
using e2e::Shot;

// The fight window's network line along its bottom edge, drawn in pale cyan; the panel's
// network line in the strip below its text panels.
constexpr Area kNetLine = {0, 570, 800, 600};
constexpr Area kPanelNetStrip = {0, 242, 1200, 272};
bool cyan(int r, int g, int b) { return b > 200 && g > 180 && r > 90 && r < 190; }

// The fight window below the life bars, where the fighters stand.
constexpr Area kFighterBand = {0, 120, 800, 600};

// The first column of the band from the left (or from the right) that shows a few pixels of
// a fighter's colour; -1 if none does.
template <typename Colour>
int edgeColumn(const Shot& s, Colour colour, bool fromRight) {
    for (int i = 0; i < s.width; ++i) {
        const int x = fromRight ? s.width - 1 - i : i;
        if (count(s, {x, kFighterBand.y0, x + 1, kFighterBand.y1}, colour) >= 5) return x;
    }
    return -1;
}

// How much of the band player 2's red fighter covers: it grows as the camera closes in.
int player2Size(const Shot& s) { return count(s, kFighterBand, e2e::fighterRed); }

// Player 1's right edge has come up to player 2's left edge. Counted in columns rather than
// by how big player 2 looks, so it holds whether or not the camera closes in.
bool fightersMeet(const Shot& s) {
    const int left2 = edgeColumn(s, e2e::fighterRed, false);
    return left2 >= 0 && edgeColumn(s, e2e::fighterBlue, true) >= left2 - 20;
}

// Both games' windows must not overlap, or a shot of one shows the other. The host's panel
// opens at the top, its fight window below; the joiner's fight window opens beside it and its
// panel is moved to the bottom of the screen.
const char* const kJoinerPanelPlace = "0 910";
std::vector<std::string> environmentAt(const std::string& scenePlace) {
    return {"SDL_AUDIODRIVER", "VORLAXIS_CAMERA", "LIBGL_ALWAYS_SOFTWARE=1",
            "SDL_VIDEO_WINDOW_POS=" + scenePlace};
}

// The UDP port a host announces it waits on; 0 if it never says.
int announcedPort(GameProcess& host) {
    const std::string before = "waiting for a player on UDP port ", after = " (Escape cancels)\n";
    int port = 0;
    testwait::waitUntil(
        [&] {
            const std::string out = host.out();
            const size_t start = out.find(before), end = out.find(after);
            if (start != std::string::npos && end != std::string::npos)
                port = std::atoi(out.c_str() + start + before.size());
            return port > 0 || !host.running();
        },
        e2e::kStartSeconds);
    return port;
}

// A window called `caption` other than `other`: the second game's, once it has opened.
std::string windowBesides(GameProcess& game, const std::string& caption, const std::string& other) {
    std::string id;
    testwait::waitUntil(
        [&] {
            const std::string ids =
                e2e::capture("xdotool search --name '^" + caption + "$' 2>/dev/null");
            for (size_t at = 0, end; (end = ids.find('\n', at)) != std::string::npos; at = end + 1)
                if (ids.substr(at, end - at) != other) id = ids.substr(at, end - at);
            return !id.empty() || !game.running();
        },
        e2e::kStartSeconds, std::chrono::milliseconds(250));
    return id;
}

// A picture of a window in the build tree, to look at after the run.
void keepPicture(const std::string& window, const std::string& name) {
    const std::string path = std::string(VORLAXIS_BIN_DIR) + "/tests/e2e/" + name + ".png";
    e2e::capture("import -silent -window " + window + " " + path + " 2>/dev/null");
}

struct Windows {
    std::string panel, scene;
};

class NetworkWindows : public e2e::DisplayTest {
protected:
    // The panel of a started keyboard game, once it shows player 2's life.
    static bool panelShowsLife(GameProcess& game, const std::string& panel, PanelRead& read) {
        return e2e::waitForPanel(
            game, panel,
            [](const Shot& s, const PanelRead&) { return e2e::wholeRow(s, e2e::kLife2); }, read);
    }

    // Keeps pictures of both windows mid-match; each shows its network line.
    static void expectNetworkLines(const Windows& game, const std::string& who) {
        Shot shot;
        ASSERT_TRUE(e2e::screenshot(game.scene, shot));
        keepPicture(game.scene, "network-" + who + "-scene");
        EXPECT_GT(count(shot, kNetLine, cyan), 200)
            << "no network line in the " << who << "'s scene";
        ASSERT_TRUE(e2e::screenshot(game.panel, shot));
        keepPicture(game.panel, "network-" + who + "-panel");
        EXPECT_GT(count(shot, kPanelNetStrip, lit), 500)
            << "no network line in the " << who << "'s panel";
    }

    // What checking the replay says after its name: "T turns, M matches, ... final state H".
    static std::string replayVerdict(const std::string& path) {
        if (!e2e::exists(path)) return "no replay at " + path;
        GameProcess check({}, {"--simulate", "--replay", path});
        int status = -2;
        if (!check.wait(e2e::kReactSeconds, status)) return "checking " + path + " never ended";
        EXPECT_EQ(status, 0) << path << ": " << check.out() << check.err();
        const std::string out = check.out();
        const size_t colon = out.find(": ");
        return colon == std::string::npos ? out : out.substr(colon + 2);
    }

    testsupport::ScratchFolder folder_{"netwin"};
};

TEST_F(NetworkWindows, APunchOnTheHostShowsOnBothAndEscapeOnTheJoinerEndsBoth) {
    const std::string replayA = folder_.file("host.vxr"), replayB = folder_.file("joiner.vxr");
    GameProcess host(environmentAt("0,300"),
                     {"--host", "0", "--keyboard", "--mute", "--record", replayA});
    const int port = announcedPort(host);
    ASSERT_GT(port, 0) << host.out() << host.err();
    Windows here{host.waitForWindow(kPanelCaption), ""};
    ASSERT_FALSE(here.panel.empty()) << "no host panel; stderr: " << host.err();
    here.scene = e2e::findWindow(kSceneCaption);
    ASSERT_FALSE(here.scene.empty());

    GameProcess joiner(environmentAt("1000,300"), {"--join", "127.0.0.1:" + std::to_string(port),
                                                   "--keyboard", "--mute", "--record", replayB});
    Windows there{windowBesides(joiner, kPanelCaption, here.panel),
                  windowBesides(joiner, kSceneCaption, here.scene)};
    ASSERT_FALSE(there.panel.empty() || there.scene.empty()) << "stderr: " << joiner.err();
    e2e::xdotool("windowmove " + there.panel + " " + kJoinerPanelPlace);
    ASSERT_TRUE(host.waitForOutput("player 2 joined from 127.0.0.1")) << host.out();
    ASSERT_TRUE(joiner.waitForOutput("connected to 127.0.0.1:" + std::to_string(port)))
        << joiner.out() << joiner.err();

    PanelRead hostStart, joinerStart, hostNow, joinerNow;
    ASSERT_TRUE(panelShowsLife(host, here.panel, hostStart));
    ASSERT_TRUE(panelShowsLife(joiner, there.panel, joinerStart));

    // Player 1 walks in with D held. As in a game at one keyboard, the camera closes in on
    // fighters who stand close, so player 2 grows on screen.
    Shot shot;
    ASSERT_TRUE(e2e::waitFor(
        host, here.scene, [](const Shot& s) { return player2Size(s) > 300; }, shot));
    const int farAway = player2Size(shot);
    e2e::xdotool("keydown --window " + here.scene + " d");
    const bool met = e2e::waitFor(host, here.scene, fightersMeet, shot);
    e2e::xdotool("keyup --window " + here.scene + " d");
    ASSERT_TRUE(met) << "the fighters never met";
    EXPECT_GT(2 * player2Size(shot), 3 * farAway) << "the camera did not close in";

    // Punches with X until player 2 is hit.
    const bool hit = e2e::waitForPanel(
        host, here.panel,
        [&](const Shot& s, const PanelRead& r) {
            return e2e::wholeRow(s, e2e::kLife2) && r.life2 != hostStart.life2;
        },
        hostNow, [&] { e2e::pressKey(here.scene, "x"); });
    ASSERT_TRUE(hit) << "player 2's life did not fall on the host";

    // The joiner shows the same fall once the turns are confirmed: both panels then agree.
    EXPECT_TRUE(e2e::waitForPanel(
        joiner, there.panel,
        [&](const Shot& s, const PanelRead& r) {
            Shot hostShot;
            return e2e::wholeRow(s, e2e::kLife2) && r.life2 != joinerStart.life2 &&
                   e2e::screenshot(here.panel, hostShot) &&
                   e2e::pixelsOf(hostShot, e2e::kLife2) == r.life2;
        },
        joinerNow))
        << "player 2's life on the joiner never matched the host's";

    ASSERT_NO_FATAL_FAILURE(expectNetworkLines(here, "host"));
    ASSERT_NO_FATAL_FAILURE(expectNetworkLines(there, "joiner"));

    e2e::pressKey(there.scene, "Escape");
    e2e::expectCleanEnd(joiner);
    e2e::expectCleanEnd(host);
    EXPECT_NE(host.out().find("the other player left\n"), std::string::npos) << host.out();
    // Both stopped at the last turn the leaver's inputs reached: the same match, turn for turn.
    const std::string verdict = replayVerdict(replayA);
    EXPECT_NE(verdict.find(" final state "), std::string::npos) << verdict;
    EXPECT_EQ(replayVerdict(replayB), verdict);
}

TEST_F(NetworkWindows, EscapeWhileTheHostWaitsEndsItAndKeepsNoReplay) {
    std::vector<std::string> environment = environmentAt("0,300");
    environment.push_back("XDG_DATA_HOME=" + folder_.path());
    GameProcess host(environment, {"--host", "0", "--keyboard", "--mute"});
    ASSERT_GT(announcedPort(host), 0) << host.out() << host.err();
    ASSERT_FALSE(host.waitForWindow(kPanelCaption).empty()) << host.err();
    const std::string scene = e2e::findWindow(kSceneCaption);
    ASSERT_FALSE(scene.empty());
    Shot shot;
    ASSERT_TRUE(e2e::waitFor(
        host, scene, [](const Shot& s) { return count(s, kNetLine, cyan) > 200; }, shot))
        << "no waiting line";
    keepPicture(scene, "network-waiting-scene");

    e2e::pressKey(scene, "Escape");
    e2e::expectCleanEnd(host);
    EXPECT_EQ(host.out().find("keeping this run's replay"), std::string::npos) << host.out();
    const std::filesystem::path replays = folder_.file("vorlaxis/replays");
    std::vector<std::string> left;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(replays, ignored))
        left.push_back(entry.path().filename().string());
    EXPECT_TRUE(left.empty()) << "a cancelled host left " << left.size() << " replay(s), first "
                              << left.front();
}

}  // namespace
