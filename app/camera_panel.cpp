// The control panel of a run with a camera: the worker thread's readings of each player's hand
// (position, direction, spread, sign) and the match (life, wins), drawn into g_hDC.
#include <cmath>

#include "app/main.h"
#include "app/panel/panel_feed.h"
#include "app/panel_text.h"
#include "vision/Picture.h"

namespace {

// Hands closer than this to the centre read as no direction.
constexpr float kNeutralRadius = 40.0f;

// Degrees from the hand's offset to the centre of the half picture, as the panel shows it.
double angleOf(int dx, int dy) {
    if (dx == 0) return 0.0;
    double a = std::atan(static_cast<double>(dy) / dx) * 180.0 / 3.14159265;
    if (dx > 0) return a + 180.0;
    return dy > 0 ? a + 360.0 : a;
}

const char* directionWord(float distance, double a) {
    if (distance < kNeutralRadius) return "neutral";
    if (a <= 45.0 || a > 315.0) return "RIGHT";
    if (a <= 135.0) return "UP";
    if (a <= 225.0) return "LEFT";
    return "DOWN";
}

}  // namespace

void displayResultsWebcam() {
    Rectangle(g_hDC, panel::kTextPanel1Left, 0, panel::kTextPanel1Left + panel::kTextPanelWidth,
              panel::kTextPanelHeight);
    Rectangle(g_hDC, panel::kTextPanel2Left, 0, panel::kTextPanel2Left + panel::kTextPanelWidth,
              panel::kTextPanelHeight);
    displayValuePosition(1, panel::kText1X, panel::kPositionRow);
    displayValuePosition(2, panel::kText2X, panel::kPositionRow);
    displayInterpPosition(1, panel::kText1X, panel::kDirectionRow);
    displayInterpPosition(2, panel::kText2X, panel::kDirectionRow);
    displayLife(1, panel::kText1X, panel::kLifeRow);
    displayLife(2, panel::kText2X, panel::kLifeRow);
    displayWins(1, panel::kText1X, panel::kWinsRow);
    displayWins(2, panel::kText2X, panel::kWinsRow);
    displayCirclePosition(1, panel::kBox1Left, 0);
    displayCirclePosition(2, panel::kBox2Left, 0);
    displayVariance(1, panel::kText1X, panel::kVarianceRow);
    displayVariance(2, panel::kText2X, panel::kVarianceRow);
    displayRPS(1, panel::kText1X, panel::kSignRow);
    displayRPS(2, panel::kText2X, panel::kSignRow);
    displaySide(1, panel::kText1X, panel::kSideRow);
    displaySide(2, panel::kText2X, panel::kSideRow);
}

// Only the computer's sides and the other machine's: a person here needs no telling.
void displaySide(int player, int x, int y) {
    const play::PlayerSource side = panelFeed.side(player);
    if (side.kind == play::PlayerSource::COMPUTER || side.kind == play::PlayerSource::NETWORK)
        drawText(x, y, play::describe(side).c_str());
}

void displayValuePosition(int player, int x, int y) {
    int baryX = readingOf(player, WebCam.baryX1, WebCam.baryX2);
    int baryY = readingOf(player, WebCam.baryY1, WebCam.baryY2);
    drawText(x, y, "                         ---X");
    drawText(x, y + panel::kLineStep, "                         ---Y");
    drawNumber(x, y, vision::kHalfMiddleColumn - baryX);
    drawNumber(x, y + panel::kLineStep, vision::kMiddleRow - baryY);
}

void displayInterpPosition(int player, int x, int y) {
    int dx = readingOf(player, WebCam.baryX1, WebCam.baryX2) - vision::kHalfMiddleColumn;
    int dy = readingOf(player, WebCam.baryY1, WebCam.baryY2) - vision::kMiddleRow;
    float fx = static_cast<float>(dx), fy = static_cast<float>(dy);
    float distance = std::sqrt(fx * fx + fy * fy);
    double a = angleOf(dx, dy);
    drawLine(x, y, "                         ---pos", directionWord(distance, a));
    drawLine(x, y + panel::kLineStep, "                         ---angle", static_cast<int>(a));
}

// A knocked-out fighter reads 0, not what the last blow left; an endless match goes below.
void displayLife(int player, int x, int y) {
    drawLine(x, y, "                         ---life", PanelFeed::of(player, panelFeed.life));
}

void displayWins(int player, int x, int y) {
    drawLine(x, y, "                         ---won", PanelFeed::of(player, panelFeed.wins));
}

void displayCirclePosition(int player, int left, int top) {
    int baryX = readingOf(player, WebCam.baryX1, WebCam.baryX2);
    int baryY = readingOf(player, WebCam.baryY1, WebCam.baryY2);
    Rectangle(g_hDC, left, top, left + panel::kBoxWidth, top + panel::kMaskHeight);
    drawText(left - baryX + panel::kBoxWidth, top + baryY, "o");
}

void displayVariance(int player, int x, int y) {
    drawLine(x, y, "                         ---VarX",
             readingOf(player, WebCam.varX1, WebCam.varX2));
    drawLine(x, y + panel::kLineStep, "                         ---VarY",
             readingOf(player, WebCam.varY1, WebCam.varY2));
}

void displayRPS(int player, int x, int y) {
    drawLine(x, y, "                         ---res",
             signWord(readingOf(player, WebCam.rps1, WebCam.rps2)));
}
