// The worker's readings in the control panel: labels, values, rows, the hand marker and the
// direction words, drawn on a headless panel and compared with what they should look like.
#include <climits>

#include "app/config/settings.h"
#include "app/panel/panel_feed.h"
#include "match/Referee.h"
#include "tests/app/panel.h"
#include "vision/Picture.h"

namespace {

using testing_app::PanelTest;
using namespace panel;
using vision::kNoSign;
using vision::kPaper;
using vision::kRock;
using vision::kScissors;

const char* const kLabelX = "                         ---X";
const char* const kLabelY = "                         ---Y";
const char* const kLabelPos = "                         ---pos";
const char* const kLabelAngle = "                         ---angle";
const char* const kLabelLife = "                         ---life";
const char* const kLabelVarX = "                         ---VarX";
const char* const kLabelVarY = "                         ---VarY";
const char* const kLabelRes = "                         ---res";
const char* const kLabelWon = "                         ---won";
const char* const kLabelLast = "                         ---last";

struct Readings {
    int baryX, baryY, varX, varY, rps, life;
};

struct Shown {
    std::string x, y, pos, angle, life, won, varX, varY, res;
};

void setReadings(const Readings& one, const Readings& two) {
    WebCam.baryX1 = one.baryX;
    WebCam.baryY1 = one.baryY;
    WebCam.varX1 = one.varX;
    WebCam.varY1 = one.varY;
    WebCam.rps1 = one.rps;
    world.life1 = one.life;
    WebCam.baryX2 = two.baryX;
    WebCam.baryY2 = two.baryY;
    WebCam.varX2 = two.varX;
    WebCam.varY2 = two.varY;
    WebCam.rps2 = two.rps;
    world.life2 = two.life;
    publishMatch(world.state(), Referee(world));
}

class Readout : public PanelTest {
protected:
    // One text panel as it should read, at its text column x.
    void expectTextPanel(int x, const Shown& shown) {
        expectBox(x - 10, 0, x - 10 + kTextPanelWidth, kTextPanelHeight);
        const std::pair<const char*, const std::string*> lines[] = {
            {kLabelX, &shown.x},         {kLabelY, &shown.y},       {kLabelPos, &shown.pos},
            {kLabelAngle, &shown.angle}, {nullptr, nullptr},        {kLabelLife, &shown.life},
            {kLabelWon, &shown.won},     {kLabelVarX, &shown.varX}, {kLabelVarY, &shown.varY},
            {kLabelRes, &shown.res}};
        int y = kPositionRow;
        for (auto& [label, value] : lines) {
            if (label) {
                expectText(x, y, label);
                expectText(x, y, *value);
            }
            y += kLineStep;
        }
    }
    void expectMarkerBox(int left, int baryX, int baryY) {
        expectBox(left, 0, left + kBoxWidth, kMaskHeight);
        expectText(left - baryX + kBoxWidth, baryY, "o");
    }
    // A line of a text panel (player 1's unless told): its label and its value at one point.
    void expectLine(int y, const char* label, const std::string& value, int x = kText1X) {
        expectText(x, y, label);
        expectText(x, y, value);
    }
    int panel1Differences() { return differences(kTextPanel1Left, 0, kPreviewX, kClientHeight); }
};

TEST_F(Readout, BothPlayersReadingsFillTheirPanelsRowByRowAndTheMarkersMirrorTheHand) {
    setReadings({56, 116, 298, 721, kScissors, 80}, {39, 60, 55, 1017, kPaper, -20});
    displayResultsWebcam();
    // A knocked-out fighter reads 0, whatever the last blow took.
    expectTextPanel(kText1X, {"24", "4", "neutral", "9", "80", "0", "298", "721", "SCISS"});
    expectTextPanel(kText2X, {"41", "60", "UP", "55", "0", "0", "55", "1017", "PAPER"});
    expectMarkerBox(kBox1Left, 56, 116);
    expectMarkerBox(kBox2Left, 39, 60);
    EXPECT_EQ(differences(0, 0, kClientWidth, kClientHeight), 0);
    // The strip under the blocks and player 1's picture block are left alone (the longest
    // labels run a few pixels on under the preview and player 2's picture, drawn over them).
    EXPECT_EQ(inked(0, kMaskHeight, kClientWidth, kClientHeight), 0);
    EXPECT_EQ(inked(kMask1X, 0, kTextPanel1Left, kMaskHeight), 0);
    EXPECT_EQ(inked(kPreviewX + 20, 0, kPreviewRight, kMaskHeight) +
                  inked(kMask2X + 20, 0, kBox2Left, kMaskHeight),
              0);
}

TEST_F(Readout, NoHandReadsXOf240AndValuesMayBeNegative) {
    setReadings({-160, 0, 0, 0, kNoSign, 100}, {80, 120, 0, 0, kRock, 100});
    displayValuePosition(1, kText1X, 20);
    expectLine(20, kLabelX, "240");
    expectLine(40, kLabelY, "120");
    EXPECT_EQ(panel1Differences(), 0);

    clear(g_hWnd);
    clear(expected);
    WebCam.baryX1 = 159;
    WebCam.baryY1 = 239;
    displayValuePosition(1, kText1X, 20);
    expectLine(20, kLabelX, "-79");
    expectLine(40, kLabelY, "-119");
    EXPECT_EQ(panel1Differences(), 0);
}

struct Direction {
    int baryX, baryY;
    const char* word;
    const char* angle;
};

TEST_F(Readout, DirectionWordsAndAnglesAtTheirBoundaries) {
    const Direction cases[] = {
        {80, 120, "neutral", "0"},     // the centre
        {119, 120, "neutral", "180"},  // 39 pixels right of it: still neutral
        {52, 92, "neutral", "45"},     // 39.6 pixels away on the diagonal
        {120, 120, "LEFT", "180"},     // right in the captured half reads left (mirror)
        {40, 120, "RIGHT", "0"},
        {80, 160, "RIGHT", "0"},   // straight below: no horizontal offset, angle 0
        {79, 170, "DOWN", "271"},  // just left of straight below
        {81, 70, "UP", "91"},
        {30, 70, "UP", "45"},       // 45.00000005: just past the RIGHT sector
        {130, 70, "UP", "134"},     // 134.99999995
        {130, 170, "DOWN", "225"},  // 225.00000005: just past the LEFT sector
        {30, 170, "DOWN", "314"},   // 314.99999995
    };
    for (const Direction& c : cases) {
        SCOPED_TRACE(std::to_string(c.baryX) + "," + std::to_string(c.baryY));
        clear(g_hWnd);
        clear(expected);
        setReadings({c.baryX, c.baryY, 0, 0, kRock, 100}, {80, 120, 0, 0, kRock, 100});
        displayInterpPosition(1, kText1X, 60);
        expectLine(60, kLabelPos, c.word);
        expectLine(80, kLabelAngle, c.angle);
        EXPECT_EQ(panel1Differences(), 0);
    }
}

TEST_F(Readout, SignWordsAndScissForAnythingElse) {
    const std::pair<int, const char*> cases[] = {{kRock, "ROCK"},      {kPaper, "PAPER"},
                                                 {kScissors, "SCISS"}, {kNoSign, "SCISS"},
                                                 {-1, "SCISS"},        {7, "SCISS"}};
    for (auto& [sign, word] : cases) {
        SCOPED_TRACE(sign);
        clear(g_hWnd);
        clear(expected);
        setReadings({80, 120, 0, 0, sign, 100}, {80, 120, 0, 0, kRock, 100});
        displayRPS(1, kText1X, 200);
        expectLine(200, kLabelRes, word);
        EXPECT_EQ(panel1Differences(), 0);
    }
}

TEST_F(Readout, AnyPlayerNumberButOneMeansPlayerTwo) {
    setReadings({80, 120, 1, 2, kRock, 100}, {80, 120, 3, 4, kPaper, 55});
    displayLife(0, kText1X, 120);
    displayVariance(5, kText1X, 160);
    expectLine(120, kLabelLife, "55");
    expectLine(160, kLabelVarX, "3");
    expectLine(180, kLabelVarY, "4");
    EXPECT_EQ(panel1Differences(), 0);
}

TEST_F(Readout, LongNumbersAreCutToNineCharactersAndOnlyAnEndlessMatchShowsLivesBelowZero) {
    setReadings({80, 120, INT_MIN, 123456789, kRock, -1000000000}, {80, 120, 0, 0, kRock, 100});
    Referee referee(world);
    referee.setEndless(true);
    publishMatch(world.state(), referee);
    displayVariance(1, kText1X, 160);
    displayLife(1, kText1X, 120);
    referee.setEndless(false);
    expectLine(160, kLabelVarX, "-21474836");
    expectLine(180, kLabelVarY, "123456789");
    expectLine(120, kLabelLife, "-10000000");
    EXPECT_EQ(panel1Differences(), 0);
}

TEST_F(Readout, WithoutACameraThePanelShowsTheKeysLivesMatchesWonAndLastSigns) {
    // A camera that is not connected would leave these alone; the panel must not show them.
    setReadings({20, 20, 999, 999, kRock, 35}, {140, 200, 999, 999, kPaper, -5});
    panelFeed.lastSign[0] = kScissors;
    panelFeed.lastSign[1] = kNoSign;
    displayResultsKeyboard();
    for (int left : {kTextPanel1Left, kTextPanel2Left})
        expectBox(left, 0, left + kTextPanelWidth, kTextPanelHeight);
    expectLine(kLifeRow, kLabelLife, "35");
    expectLine(kWinsRow, kLabelWon, "0");
    expectLine(kSignRow, kLabelLast, "SCISS");
    expectLine(kLifeRow, kLabelLife, "0", kText2X);
    expectLine(kWinsRow, kLabelWon, "0", kText2X);
    expectLine(kSignRow, kLabelLast, "-", kText2X);
    EXPECT_EQ(differences(kTextPanel1Left, 0, kPreviewX, kTextPanelHeight) +
                  differences(kTextPanel2Left, 0, kMask2X, kTextPanelHeight),
              0);
    // The picture blocks are black, with no marker; the preview area holds both key tables.
    EXPECT_EQ(
        inked(0, 0, kTextPanel1Left, kMaskHeight) + inked(kMask2X, 0, kClientWidth, kMaskHeight),
        0);
    {
        vorlaxis::platform::CanvasLock lock(g_hWnd);
        EXPECT_EQ(lock.row(100)[80], 0u);
        EXPECT_EQ(lock.row(100)[1120], 0u);
    }
    EXPECT_GT(inked(kPreviewX + 10, 0, kPreviewX + 160, 140), 300) << "player 1's keys";
    EXPECT_GT(inked(kPreviewX + 170, 0, kPreviewRight, 140), 300) << "player 2's keys";
}

TEST_F(Readout, TheKeyTablesShowTheKeysTheSettingsChoseAndLongNamesPushTheirActionAlong) {
    Settings settings;
    settings.keys[0].left = SDLK_j;
    settings.keys[1].rock = SDLK_RSHIFT;
    publishKeys(settings);
    displayKeyTables();
    publishKeys(Settings());
    expectBox(kPreviewX, 0, kPreviewRight, vision::kFrameHeight);
    const char* const actions[] = {"walk left", "walk right", "rock", "paper", "scissors"};
    const char* const keys[2][5] = {{"J", "D", "Z", "X", "C"},
                                    {"Left", "Right", "Right shift", "N", "M"}};
    for (int player = 0; player < 2; ++player) {
        const int x = kPreviewX + 10 + player * vision::kHalfWidth;
        expectText(x, 10, player == 0 ? "PLAYER 1" : "PLAYER 2");
        for (int row = 0; row < 5; ++row) {
            const int y = 40 + row * kLineStep;
            expectText(x, y, keys[player][row]);
            // "Right shift" is wider than the usual key column: its action moves right.
            expectText(x + (std::string(keys[player][row]).size() > 5 ? 96 : 55), y, actions[row]);
        }
    }
    expectText(kPreviewX + 10, 170, "Escape in either window ends the game");
    EXPECT_EQ(differences(kPreviewX, 0, kPreviewRight, vision::kFrameHeight), 0);
}

TEST_F(Readout, TheMarkerFollowsTheHandMirroredInsideItsBox) {
    setReadings({20, 200, 0, 0, kRock, 100}, {150, 10, 0, 0, kRock, 100});
    displayCirclePosition(1, kBox1Left, 0);
    displayCirclePosition(2, kBox2Left, 0);
    expectMarkerBox(kBox1Left, 20, 200);
    expectMarkerBox(kBox2Left, 150, 10);
    EXPECT_EQ(differences(0, 0, kBoxWidth, kClientHeight) +
                  differences(kBox2Left, 0, kClientWidth, kClientHeight),
              0);
    EXPECT_GT(inked(140, 200, 150, 218), 0);  // hand near the left of the half: marker right
    EXPECT_GT(inked(1050, 10, 1060, 28), 0);
}

}  // namespace
