// The control panel when the game plays with the keyboard only: no camera picture or hand
// masks, but each player's keys where the preview would be, and their life, matches won and
// last sign in the text panels. Nothing here touches the camera, which is not connected.
#include <algorithm>
#include <cctype>
#include <string>

#include "app/config/key_names.h"
#include "app/main.h"
#include "app/panel_text.h"
#include "app/panel/panel_feed.h"
#include "vision/Picture.h"

namespace {

// What each of a player's keys does, in the order of PanelFeed::keys.
const char* const kActions[5] = {"walk left", "walk right", "rock", "paper", "scissors"};

// The preview area, split into one column per player.
constexpr int kTable1X = panel::kPreviewX + 10;
constexpr int kTable2X = panel::kPreviewX + vision::kHalfWidth + 10;
constexpr int kActionOffset = 55;
// Wider than any letter of the panel's font: a long key name ("right shift") pushes its action
// along instead of running into it.
constexpr int kMostLetterWidth = 8;
constexpr int kFirstKeyRow = 40;
constexpr int kQuitRow = 170;

// SDL's name for the key as the panel shows it: "A", "Left", "Right shift".
std::string shownKey(int32_t key) {
    std::string name = keyName(static_cast<SDLKey>(key));
    if (!name.empty())
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

// The keys the settings chose, as published; a side the computer plays has no keys: its
// column says who plays it instead.
void drawKeyTable(int x, int player, const char* title) {
    drawText(x, 10, title);
    const play::PlayerSource side = panelFeed.side(player);
    if (side.kind == play::PlayerSource::NETWORK) {
        drawText(x, kFirstKeyRow, "the other machine");
        return;
    }
    if (side.kind == play::PlayerSource::COMPUTER) {
        drawText(x, kFirstKeyRow, play::describe(side).c_str());
        return;
    }
    int y = kFirstKeyRow;
    for (int action = 0; action < 5; ++action) {
        const std::string key =
            shownKey(panelFeed.keys[player == 1 ? 0 : 1][action].load(std::memory_order_relaxed));
        drawText(x, y, key.c_str());
        const int keyWidth = static_cast<int>(key.size() + 1) * kMostLetterWidth;
        drawText(x + std::max(kActionOffset, keyWidth), y, kActions[action]);
        y += panel::kLineStep;
    }
}

const char* replayState() {
    switch (panelFeed.replay.load(std::memory_order_relaxed)) {
    case PanelFeed::REPLAY_ENDED: return "ended";
    case PanelFeed::REPLAY_PAUSED: return "paused";
    default: return "playing";
    }
}

}  // namespace

void displayKeyTables() {
    Rectangle(g_hDC, panel::kPreviewX, 0, panel::kPreviewRight, vision::kFrameHeight);
    drawKeyTable(kTable1X, 1, "PLAYER 1");
    drawKeyTable(kTable2X, 2, "PLAYER 2");
    drawText(kTable1X, kQuitRow,
             panelFeed.fromMenu.load(std::memory_order_relaxed)
                 ? "Escape here quits; in the fight: to the menu"
                 : "Escape in either window ends the game");
}

// A replay has no keys to show: what is being watched, and how to pause or end it.
void displayReplayNotice() {
    Rectangle(g_hDC, panel::kPreviewX, 0, panel::kPreviewRight, vision::kFrameHeight);
    drawText(kTable1X, 10, "REPLAY");
    drawText(kTable1X + kActionOffset * 2, 10, replayState());
    if (panelFeed.replayNameReady.load(std::memory_order_acquire))
        drawText(kTable1X, kFirstKeyRow, panelFeed.replayName);
    drawText(kTable1X, kFirstKeyRow + 2 * panel::kLineStep, "P or Space pauses and resumes");
    drawText(kTable1X, kQuitRow, "Escape in either window ends the replay");
}

void displayLastSign(int player, int x, int y) {
    const int sign = PanelFeed::of(player, panelFeed.lastSign);
    drawLine(x, y, "                         ---last",
             sign == vision::kNoSign ? "-" : signWord(sign));
}

void displayResultsKeyboard() {
    // The picture blocks stay black: there is no camera to show.
    Rectangle(g_hDC, panel::kBox1Left, 0, panel::kTextPanel1Left, panel::kTextPanelHeight);
    Rectangle(g_hDC, panel::kTextPanel1Left, 0, panel::kTextPanel1Left + panel::kTextPanelWidth,
              panel::kTextPanelHeight);
    Rectangle(g_hDC, panel::kTextPanel2Left, 0, panel::kTextPanel2Left + panel::kTextPanelWidth,
              panel::kTextPanelHeight);
    Rectangle(g_hDC, panel::kMask2X, 0, panel::kClientWidth, panel::kTextPanelHeight);
    if (panelFeed.replay.load(std::memory_order_relaxed) != PanelFeed::NO_REPLAY)
        displayReplayNotice();
    else
        displayKeyTables();
    for (int player = 1; player <= 2; ++player) {
        const int x = player == 1 ? panel::kText1X : panel::kText2X;
        displayLife(player, x, panel::kLifeRow);
        displayWins(player, x, panel::kWinsRow);
        displayLastSign(player, x, panel::kSignRow);
        displaySide(player, x, panel::kSideRow);
    }
}
