// The five HUD towers: stacks of stages that age, fade and give way.
#include "animation/moves.h"

#include "animation/codes.h"

namespace {

typedef std::vector<std::vector<float>> Tower;

const float AGE_LIMIT = 300.0f;

void trimOld(Tower& tower) {
    std::size_t old = 0;
    while (old < tower.size() && tower[old][0] > AGE_LIMIT) ++old;
    tower.erase(tower.begin(), tower.begin() + old);
}

// The win towers never show more than three stages: a fourth collapses them.
void trimWins(Tower& tower) {
    if (tower.size() > 3) tower.erase(tower.begin(), tower.begin() + 3);
}

void ageAndFade(Tower& tower, int step) {
    for (std::vector<float>& stage : tower) {
        stage[0] += step;
        stage[1] *= 0.98f;
    }
}

}  // namespace

std::vector<std::vector<float>>& Moves::towerByNumber(int type) {
    switch (type) {
    case animation::kSignTower1: return tower1;
    case animation::kSignTower2: return tower2;
    case animation::kWinTower1: return tower3;
    case animation::kWinTower2: return tower4;
    default: return tower5;
    }
}

void Moves::addStage(int type, int texture) {
    towerByNumber(type).push_back({0.0f, 1.0f, static_cast<float>(texture)});
}

void Moves::moveTower(int step) {
    trimOld(tower1);
    ageAndFade(tower1, step);
    trimOld(tower2);
    ageAndFade(tower2, step);
    trimOld(tower3);
    trimWins(tower3);
    ageAndFade(tower3, step);
    trimWins(tower4);
    trimOld(tower4);
    ageAndFade(tower4, step);
    // One banner at a time: the oldest gives way, one per call.
    if (tower5.size() > 1) tower5.erase(tower5.begin());
    for (std::vector<float>& stage : tower5) stage[1] *= 0.9f;
}

std::vector<std::vector<float>> Moves::getTower(int type) { return towerByNumber(type); }

void Moves::clearTowers() {
    for (int tower = animation::kSignTower1; tower <= animation::kTowerCount; ++tower)
        towerByNumber(tower).clear();
}
