// The numbers the animation store is addressed by: moves, HUD textures and HUD towers. The
// match, the renderer and the tests all name them from here.
#pragma once

namespace animation {

// Move numbers, in the order of the move table.
enum MoveNumber : int {
    kRest = 0,
    kPunch = 1,
    kHeadPunch = 2,
    kComboPrep = 3,
    kBanana = 4,
    kAyuken = 5,
    kComboBack = 6,
    kMoveCount = 7
};

// Indices into the HUD texture table.
enum TextureNumber : int {
    kLifeLabel1 = 0,
    kLifeLabel2 = 1,
    kRockIcon = 2,
    kPaperIcon = 3,
    kScissorsIcon = 4,
    kChiffou = 5,
    kMi = 6,
    kPaf = 7,
    kCritical = 8,
    kPrWin = 9,
    kPaWin = 10,
    kWin = 11,
    kKo = 12,
    kDraw = 13,
    // Shown over the scene while a match is paused.
    kPause = 14,
    // Which side the computer plays, and at what level.
    kCpuEasy = 15,
    kCpuNormal = 16,
    kCpuHard = 17,
    kTextureCount = 18
};

// HUD towers: each player's signs, each player's round wins, and the banner.
enum TowerNumber : int {
    kSignTower1 = 1,
    kSignTower2 = 2,
    kWinTower1 = 3,
    kWinTower2 = 4,
    kBannerTower = 5,
    kTowerCount = 5
};

}  // namespace animation
