#include "app/menu/hand_overlay.h"

// The shell's header first: its Win32 names give way to OpenGL's.
#include "app/main.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/camera/calibration_phase.h"
#include "app/menu/menu_hand.h"
#include "app/panel/panel_feed.h"
#include "app/run/camera_hud.h"
#include "render/menu_font.h"
#include "vision/room/RoomLayout.h"

namespace menu {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr float kWidth = 800.0f, kHeight = 600.0f;
constexpr float kPromptSize = 20.0f, kPromptBaseline = 28.0f;
constexpr float kMarkHalf = 30.0f;
constexpr float kRingRadius = 13.0f, kRingWidth = 5.0f;
constexpr int kRingSegments = 48;
constexpr float kPi = 3.14159265f;

void yellow() { glColor4f(1.0f, 0.85f, 0.2f, 1.0f); }

std::string promptOf(int phase) {
    if (phase == CALIBRATION_STAND) return "Stand in place, hands down, to steer the menu by hand";
    if (phase == CALIBRATION_PALM) return "Hold your palm on the mark to steer the menu by hand";
    return "No palm seen on the mark - again";
}

// The mark of kMenuHandPlayer as the player sees it: the picture is mirrored, the whole window
// stands for the frame.
void drawMark(const MenuFont& font) {
    const int half = kMenuHandPlayer - 1;
    const float column = vision::kFrameWidth - 1 - vision::room::markColumn(half);
    const float x = column * kWidth / vision::kFrameWidth;
    const float y = vision::room::kMarkRow * kHeight / vision::kFrameHeight;
    glLineWidth(3.0f);
    drawBox(x, y, kMarkHalf);
    glLineWidth(1.0f);
    const std::string label = "PLAYER " + std::to_string(kMenuHandPlayer);
    font.draw(label, x - font.width(label, kPromptSize) / 2, y - kMarkHalf - 6, kPromptSize);
}

// A point of the ring at `turn` (0 the top, 1 once round clockwise) and `radius`.
void ringVertex(float x, float y, float turn, float radius) {
    const float angle = 2 * kPi * turn;
    glVertex2f(x + radius * std::sin(angle), y - radius * std::cos(angle));
}

}  // namespace

void drawHandCalibration(const MenuFont& font) {
    const int phase = panelFeed.calibration.load(kRelaxed);
    if (phase < 0 || phase == CALIBRATION_DONE || !panelFeed.camera.load(kRelaxed)) return;
    char left[16];
    std::snprintf(left, sizeof left, "  %.1f", panelFeed.calibrationLeftMs.load(kRelaxed) / 1000.0);
    const std::string line = promptOf(phase) + left;
    yellow();
    font.draw(line, (kWidth - font.width(line, kPromptSize)) / 2, kPromptBaseline, kPromptSize);
    if (phase == CALIBRATION_PALM) drawMark(font);
}

void drawHoldRing(float x, float y, double progress) {
    if (progress <= 0) return;
    glColor4f(1.0f, 1.0f, 1.0f, 0.25f);
    glLineWidth(1.0f);
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < kRingSegments; ++i)
        ringVertex(x, y, static_cast<float>(i) / kRingSegments, kRingRadius);
    glEnd();
    yellow();
    const int filled = static_cast<int>(std::ceil(progress * kRingSegments));
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= filled; ++i) {
        const float turn = static_cast<float>(std::min(progress, double(i) / kRingSegments));
        ringVertex(x, y, turn, kRingRadius);
        ringVertex(x, y, turn, kRingRadius - kRingWidth);
    }
    glEnd();
}

}  // namespace menu
