#include "app/run/side_badges.h"

namespace {

// Under the life bar, at its right end: the matches won take the left end.
const float kBadgeY = 0.58f;
const float kBadgeWidth = 0.2f;
const float kBadgeHeight = 0.09f;
const float kBadgeX[2] = {-0.55f, 0.65f};

int badgeOf(play::Level level) {
    switch (level) {
    case play::Level::EASY: return animation::kCpuEasy;
    case play::Level::HARD: return animation::kCpuHard;
    case play::Level::NORMAL: break;
    }
    return animation::kCpuNormal;
}

}  // namespace

void drawSideBadges(World& world, const Options& options) {
    const play::PlayerSource* sides[] = {&options.player1, &options.player2};
    for (int i = 0; i < 2; ++i) {
        if (sides[i]->kind != play::PlayerSource::COMPUTER) continue;
        world.moteur.draw(world.moves.getText(), badgeOf(sides[i]->level), kBadgeX[i], kBadgeY,
                          kBadgeWidth, kBadgeHeight, 1.0f);
    }
}
