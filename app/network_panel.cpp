// The control panel's network line, along its bottom edge, drawn by the worker thread from the
// published feed: who this game plays, against whom, and how the link behaves.
#include <cstdio>

#include "app/main.h"
#include "app/panel/panel_feed.h"
#include "app/panel_text.h"
#include "vision/panel_layout.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
constexpr int kNetRow = panel::kTextPanelHeight + 8;
constexpr int kFiguresX = 700;

// Which half of his own camera's picture the local player stands in, when he plays on it.
const char* cameraHalf(int player) {
    if (panelFeed.side(player).kind != play::PlayerSource::CAMERA) return "";
    return player == 1 ? " (the right half of your camera)" : " (the left half of your camera)";
}

}  // namespace

void displayNetwork() {
    if (panelFeed.net.load(relaxed) == PanelFeed::NO_NET) return;
    Rectangle(g_hDC, 0, panel::kTextPanelHeight, panel::kClientWidth, panel::kClientHeight);
    const int player = panelFeed.localPlayer.load(relaxed);
    char line[200];
    if (!panelFeed.peerReady.load(std::memory_order_acquire)) {
        std::snprintf(line, sizeof line, "network: you are player %d%s, waiting for the other game",
                      player, cameraHalf(player));
        drawText(10, kNetRow, line);
        return;
    }
    std::snprintf(line, sizeof line, "network: you are player %d%s against %s", player,
                  cameraHalf(player), panelFeed.peer);
    drawText(10, kNetRow, line);
    if (panelFeed.quiet.load(relaxed)) {
        drawText(kFiguresX, kNetRow, "waiting for the other player");
        return;
    }
    std::snprintf(line, sizeof line,
                  "round trip %d ms, input delay %d turns, rollbacks %d (longest %d)",
                  panelFeed.roundTripMs.load(relaxed), panelFeed.inputDelay.load(relaxed),
                  panelFeed.rollbacks.load(relaxed), panelFeed.longest.load(relaxed));
    drawText(kFiguresX, kNetRow, line);
}
