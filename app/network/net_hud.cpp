#include "app/network/net_hud.h"

#include <GL/gl.h>

#include <string>

#include "render/hud_text.h"

namespace {

// Along the bottom edge: the top belongs to the life bars.
constexpr float kLineY = -0.95f;
// 7/150: whole-pixel dots in the 800 by 600 window.
constexpr float kLineHeight = 7.0f / 150.0f;

std::string lineOf(const NetGame& game, int64_t nowMs) {
    const net::NetMatch* match = game.match();
    if (!match) {
        if (game.hosting())
            return "WAITING FOR A PLAYER ON UDP PORT " + std::to_string(game.port());
        return "CONNECTING TO " + game.peerText();
    }
    if (match->quiet(nowMs)) return "WAITING FOR THE OTHER PLAYER";
    const int rtt = match->session().roundTripMs();
    return "NET " + game.peerText() + "  RTT " +
           (rtt < 0 ? std::string("-") : std::to_string(rtt)) + " MS  DELAY " +
           std::to_string(match->inputDelay());
}

}  // namespace

void drawNetHud(const NetGame& game, int64_t nowMs) {
    const std::string line = lineOf(game, nowMs);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.55f, 0.95f, 1.0f, 1.0f);
    drawHudText(line, -hudTextWidth(line, kLineHeight) / 2, kLineY, kLineHeight);
    glEnable(GL_LIGHTING);
}
