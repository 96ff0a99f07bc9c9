// The five HUD towers: stacks of stages that age, fade and give way.
#include "animation/moves.h"
#include "animation/towers.h"

namespace animation {

namespace {

const float AGE_LIMIT = 300.0f;

template <int N>
void trimOld(StageStack<N>& tower) {
    int old = 0;
    while (old < tower.size && tower.stages[old].age > AGE_LIMIT) ++old;
    tower.dropOldest(old);
}

// The win towers never show more than three stages: a fourth collapses them.
template <int N>
void trimWins(StageStack<N>& tower) {
    if (tower.size > 3) tower.dropOldest(3);
}

template <int N>
void ageAndFade(StageStack<N>& tower, int step) {
    for (int i = 0; i < tower.size; ++i) {
        tower.stages[i].age += step;
        tower.stages[i].alpha *= 0.98f;
    }
}

template <int N>
std::vector<std::vector<float>> listOf(const StageStack<N>& tower) {
    std::vector<std::vector<float>> list;
    list.reserve(tower.size);
    for (int i = 0; i < tower.size; ++i) {
        const Stage& s = tower.stages[i];
        list.push_back({s.age, s.alpha, s.texture});
    }
    return list;
}

}  // namespace

void Towers::addStage(int tower, int texture) {
    const Stage stage{0.0f, 1.0f, static_cast<float>(texture)};
    switch (tower) {
    case kSignTower1: signs1.push(stage); return;
    case kSignTower2: signs2.push(stage); return;
    case kWinTower1: wins1.push(stage); return;
    case kWinTower2: wins2.push(stage); return;
    default: banner.push(stage); return;
    }
}

void Towers::moveTower(int step) {
    trimOld(signs1);
    ageAndFade(signs1, step);
    trimOld(signs2);
    ageAndFade(signs2, step);
    trimOld(wins1);
    trimWins(wins1);
    ageAndFade(wins1, step);
    trimWins(wins2);
    trimOld(wins2);
    ageAndFade(wins2, step);
    // One banner at a time: the oldest gives way, one per call.
    if (banner.size > 1) banner.dropOldest(1);
    for (int i = 0; i < banner.size; ++i) banner.stages[i].alpha *= 0.9f;
}

std::vector<std::vector<float>> Towers::getTower(int tower) const {
    switch (tower) {
    case kSignTower1: return listOf(signs1);
    case kSignTower2: return listOf(signs2);
    case kWinTower1: return listOf(wins1);
    case kWinTower2: return listOf(wins2);
    default: return listOf(banner);
    }
}

void Towers::clear() {
    signs1.clear();
    signs2.clear();
    wins1.clear();
    wins2.clear();
    banner.clear();
}

}  // namespace animation

void Moves::showTowers(animation::Towers* towers) { shown_ = towers ? towers : &own_; }

void Moves::addStage(int type, int texture) { shown_->addStage(type, texture); }

void Moves::moveTower(int step) { shown_->moveTower(step); }

std::vector<std::vector<float>> Moves::getTower(int type) { return shown_->getTower(type); }

void Moves::clearTowers() { shown_->clear(); }
