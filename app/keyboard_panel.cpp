// The control panel when the game plays with the keyboard only: no camera picture or hand
// masks, but each player's keys where the preview would be, and their life, matches won and
// last sign in the text panels. Nothing here touches the camera, which is not connected.
#include "app/main.h"
#include "app/panel_text.h"
#include "vision/Picture.h"

namespace {

struct KeyRow {
    const char* key;
    const char* action;
};

const KeyRow kPlayer1Keys[] = {
    {"A", "walk left"}, {"D", "walk right"}, {"Z", "rock"}, {"X", "paper"}, {"C", "scissors"}};
const KeyRow kPlayer2Keys[] = {{"Left", "walk left"},
                               {"Right", "walk right"},
                               {"B", "rock"},
                               {"N", "paper"},
                               {"M", "scissors"}};

// The preview area, split into one column per player.
constexpr int kTablesLeft = 440;
constexpr int kTablesRight = 760;
constexpr int kTable1X = 450;
constexpr int kTable2X = 610;
constexpr int kActionOffset = 55;
constexpr int kFirstKeyRow = 40;
constexpr int kQuitRow = 170;

// A side the computer plays has no keys: its column says who plays it instead.
void drawKeyTable(int x, int player, const char* title, const KeyRow (&rows)[5]) {
    drawText(x, 10, title);
    const play::PlayerSource& side = player == 1 ? options.player1 : options.player2;
    if (side.kind == play::PlayerSource::COMPUTER) {
        drawText(x, kFirstKeyRow, play::describe(side).c_str());
        return;
    }
    int y = kFirstKeyRow;
    for (const KeyRow& row : rows) {
        drawText(x, y, row.key);
        drawText(x + kActionOffset, y, row.action);
        y += kLineStep;
    }
}

}  // namespace

void displayKeyTables() {
    Rectangle(g_hDC, kTablesLeft, 0, kTablesRight, kPanelHeight);
    drawKeyTable(kTable1X, 1, "PLAYER 1", kPlayer1Keys);
    drawKeyTable(kTable2X, 2, "PLAYER 2", kPlayer2Keys);
    drawText(kTable1X, kQuitRow, "Escape in either window ends the game");
}

void displayLastSign(int player, int x, int y) {
    const int sign = readingOf(player, lastSignShown1, lastSignShown2);
    drawLine(x, y, "                         ---last",
             sign == vision::kNoSign ? "-" : signWord(sign));
}

void displayResultsKeyboard() {
    // The picture blocks stay black: there is no camera to show.
    Rectangle(g_hDC, 0, 0, kPanel1Left, kPanelHeight);
    Rectangle(g_hDC, kPanel1Left, 0, kPanel1Left + kPanelWidth, kPanelHeight);
    Rectangle(g_hDC, kPanel2Left, 0, kPanel2Left + kPanelWidth, kPanelHeight);
    Rectangle(g_hDC, kPanel2Left + kPanelWidth, 0, kBox2Left + kBoxWidth, kPanelHeight);
    displayKeyTables();
    for (int player = 1; player <= 2; ++player) {
        const int x = player == 1 ? kText1X : kText2X;
        displayLife(player, x, kLifeRow);
        displayWins(player, x, kWinsRow);
        displayLastSign(player, x, kSignRow);
        displaySide(player, x, kSideRow);
    }
}
