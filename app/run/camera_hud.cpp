#include "app/run/camera_hud.h"

#include <GL/gl.h>

#include <cstdio>
#include <string>

#include "app/camera/calibration_phase.h"
#include "app/panel/panel_feed.h"
#include "render/hud_text.h"
#include "vision/room/RoomLayout.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
// 7/150: whole-pixel dots in the 800 by 600 window; the countdown twice as tall.
constexpr float kLineHeight = 7.0f / 150.0f;
constexpr float kPromptY = 0.35f;
constexpr float kCountdownY = 0.2f;
constexpr float kNoHandY = 0.45f;
// Half the side of a drawn mark, in HUD units.
constexpr float kMarkHalf = 0.1f;

void centred(const std::string& line, float y, float height) {
    drawHudText(line, -hudTextWidth(line, height) / 2, y, height);
}

// The mark where the player sees it: the picture is mirrored, the whole window is the frame.
void drawMark(int player) {
    const float column = vision::kFrameWidth - 1 - vision::room::markColumn(player);
    const float x = 2.0f * column / vision::kFrameWidth - 1.0f;
    const float y = 1.0f - 2.0f * vision::room::kMarkRow / vision::kFrameHeight;
    glLineWidth(3.0f);
    drawBox(x, y, kMarkHalf);
    glLineWidth(1.0f);
    const std::string label = "PLAYER " + std::to_string(player + 1);
    drawHudText(label, x - hudTextWidth(label, kLineHeight) / 2, y - kMarkHalf - 0.08f,
                kLineHeight);
}

std::string missedLine(int missed) {
    if (missed == 3) return "NO PALM SEEN ON EITHER MARK - AGAIN";
    return "NO PALM SEEN ON THE MARK OF PLAYER " + std::to_string(missed == 1 ? 1 : 2) + " - AGAIN";
}

void drawCountdown() {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", panelFeed.calibrationLeftMs.load(kRelaxed) / 1000.0);
    centred(text, kCountdownY, 2 * kLineHeight);
}

void drawCalibration(int phase) {
    if (phase == CALIBRATION_STAND) {
        centred("CALIBRATING: STAND IN PLACE, HANDS DOWN", kPromptY, kLineHeight);
    } else if (phase == CALIBRATION_PALM) {
        centred("HOLD AN OPEN PALM ON YOUR MARK", kPromptY, kLineHeight);
        for (int player = 0; player < 2; ++player)
            if (panelFeed.side(player + 1).kind == play::PlayerSource::CAMERA) drawMark(player);
    } else {
        centred(missedLine(panelFeed.missedPalms.load(kRelaxed)), kPromptY, kLineHeight);
    }
    drawCountdown();
}

void drawNoHand() {
    float y = kNoHandY;
    for (int player = 0; player < 2; ++player) {
        if (!panelFeed.noHand[player].load(kRelaxed)) continue;
        centred("PLAYER " + std::to_string(player + 1) + ": NO HAND SEEN", y, kLineHeight);
        y -= 2 * kLineHeight;
    }
}

}  // namespace

void drawCameraHud() {
    const int phase = panelFeed.calibration.load(kRelaxed);
    if (phase < 0 || !panelFeed.camera.load(kRelaxed)) return;
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 0.85f, 0.2f, 1.0f);
    if (phase == CALIBRATION_DONE)
        drawNoHand();
    else
        drawCalibration(phase);
    glEnable(GL_LIGHTING);
}

void drawBox(float x, float y, float half) {
    glBegin(GL_LINE_LOOP);
    glVertex2f(x - half, y - half);
    glVertex2f(x + half, y - half);
    glVertex2f(x + half, y + half);
    glVertex2f(x - half, y + half);
    glEnd();
}
