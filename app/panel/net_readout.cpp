#include "app/panel/net_readout.h"

#include <cstdio>
#include <string>

#include "app/main.h"
#include "app/panel/panel_text.h"
#include "vision/panel_layout.h"

NetReadout netReadout;

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
constexpr int kNetRow = panel::kTextPanelHeight + 8;
constexpr int kFiguresX = 700;

void publishPeer(const std::string& text) {
    if (netReadout.peerReady.load(std::memory_order_acquire)) return;
    std::snprintf(netReadout.peer, sizeof netReadout.peer, "%s", text.c_str());
    netReadout.peerReady.store(true, std::memory_order_release);
}

// Which half of his own camera's picture the local player stands in, when he plays on it.
const char* cameraHalf(int player) {
    const play::PlayerSource& side = player == 1 ? options.player1 : options.player2;
    if (side.kind != play::PlayerSource::CAMERA) return "";
    return player == 1 ? " (the right half of your camera)" : " (the left half of your camera)";
}

}  // namespace

void publishNetReadout(const NetGame& game, int64_t nowMs) {
    const net::NetMatch* match = game.match();
    if (!match) {
        netReadout.state.store(
            game.phase() == NetGame::Phase::ENDED ? NetReadout::ENDED : NetReadout::CONNECTING,
            relaxed);
        return;
    }
    publishPeer(game.peerText());
    const net::NetStats stats = match->stats();
    netReadout.roundTripMs.store(stats.roundTripMs, relaxed);
    netReadout.inputDelay.store(match->inputDelay(), relaxed);
    netReadout.rollbacks.store(static_cast<int32_t>(stats.rollback.rollbacks), relaxed);
    netReadout.longest.store(stats.rollback.longest, relaxed);
    netReadout.quiet.store(match->quiet(nowMs), relaxed);
    netReadout.state.store(
        game.phase() == NetGame::Phase::ENDED ? NetReadout::ENDED : NetReadout::PLAYING, relaxed);
}

void displayNetwork() {
    const int32_t state = netReadout.state.load(relaxed);
    if (state == NetReadout::NONE) return;
    Rectangle(g_hDC, 0, panel::kTextPanelHeight, panel::kClientWidth, panel::kClientHeight);
    const int player = options.net == Options::Net::HOST ? 1 : 2;
    char line[200];
    if (!netReadout.peerReady.load(std::memory_order_acquire)) {
        std::snprintf(line, sizeof line, "network: you are player %d%s, waiting for the other game",
                      player, cameraHalf(player));
        drawText(10, kNetRow, line);
        return;
    }
    std::snprintf(line, sizeof line, "network: you are player %d%s against %s", player,
                  cameraHalf(player), netReadout.peer);
    drawText(10, kNetRow, line);
    if (netReadout.quiet.load(relaxed)) {
        drawText(kFiguresX, kNetRow, "waiting for the other player");
        return;
    }
    std::snprintf(line, sizeof line,
                  "round trip %d ms, input delay %d turns, rollbacks %d (longest %d)",
                  netReadout.roundTripMs.load(relaxed), netReadout.inputDelay.load(relaxed),
                  netReadout.rollbacks.load(relaxed), netReadout.longest.load(relaxed));
    drawText(kFiguresX, kNetRow, line);
}
