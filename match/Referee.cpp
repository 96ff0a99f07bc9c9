#include "match/Referee.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

void addWin(std::atomic<int32_t>& wins) { wins.store(wins.load(relaxed) + 1, relaxed); }

}  // namespace

Referee::Referee(World& world) : world_(world) {}

void Referee::afterUpdate() {
    if (endless_) return;
    if (endingTurn_ == 0) {
        const bool out1 = world_.life1.load(relaxed) <= 0;
        const bool out2 = world_.life2.load(relaxed) <= 0;
        if (!out1 && !out2) return;
        winner_ = out1 && out2 ? 0 : (out1 ? 2 : 1);
        knockOut();
        return;
    }
    if (++endingTurn_ > endingTurns)
        rematch();
    else
        showBanner();
}

// The verdict is taken at the knock-out: whatever still lands during the ending (a ranged
// attack already on its way) changes neither the winner nor the count.
void Referee::knockOut() {
    if (winner_ == 1) addWin(wins1_);
    if (winner_ == 2) addWin(wins2_);
    endingTurn_ = 1;
    showBanner();
}

void Referee::showBanner() {
    if ((endingTurn_ - 1) % bannerRepeat != 0) return;
    int banner = World::KO;
    if (endingTurn_ > verdictTurn)
        banner = winner_ == 1 ? World::PAWIN : winner_ == 2 ? World::PRWIN : World::DRAW;
    world_.moves.addStage(animation::kBannerTower, banner);
}

// A new match as the first one started; the renderer, the loaded moves, the camera and the
// music carry on.
void Referee::rematch() {
    endingTurn_ = 0;
    world_.setStartValues();
    world_.game = Game();
    world_.moves.clearTowers();
    world_.moves.clearParticles();
}

void Referee::display() {
    world_.moteur.displayWins(wins(1), wins(2), world_.moves.getText(), World::WIN);
}

int Referee::wins(int player) const { return (player == 1 ? wins1_ : wins2_).load(relaxed); }

int Referee::shownLife(int life) const { return endless_ || life > 0 ? life : 0; }
