#include "match/MatchState.h"

#include <cstring>

namespace {

// FNV-1a over 32-bit words: plain, fast on a few hundred words, and defined on every platform.
class Hasher {
public:
    void add(uint32_t word) {
        for (int i = 0; i < 4; ++i) {
            hash_ ^= (word >> (8 * i)) & 0xffu;
            hash_ *= 0x100000001b3ull;
        }
    }
    void add(int32_t value) { add(static_cast<uint32_t>(value)); }
    void add(bool value) { add(static_cast<uint32_t>(value ? 1 : 0)); }
    void add(float value) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        add(bits);
    }
    void add(uint64_t value) {
        add(static_cast<uint32_t>(value));
        add(static_cast<uint32_t>(value >> 32));
    }
    void add(int64_t value) { add(static_cast<uint64_t>(value)); }
    template <int N>
    void add(const animation::StageStack<N>& tower) {
        add(tower.size);
        for (int i = 0; i < tower.size; ++i) {
            add(tower.stages[i].age);
            add(tower.stages[i].alpha);
            add(tower.stages[i].texture);
        }
    }
    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = 0xcbf29ce484222325ull;
};

void addGame(Hasher& h, const Game& game) {
    h.add(static_cast<int32_t>(game.getGameState()));
    for (int player = 1; player <= 2; ++player) {
        h.add(static_cast<int32_t>(game.getPstate(player)));
        h.add(static_cast<int32_t>(game.getPmove(player)));
        h.add(static_cast<int32_t>(game.getCsign(player)));
        h.add(static_cast<int32_t>(game.getLsign(player)));
    }
}

}  // namespace

uint64_t hashState(const MatchState& s) {
    Hasher h;
    addGame(h, s.game);
    for (float f : {s.posX1, s.speedX1, s.posX2, s.speedX2}) h.add(f);
    for (int32_t i : {s.frame1, s.frame2, s.roundScore, s.frameStep, s.timer}) h.add(i);
    h.add(s.webcamOn);
    for (int32_t i : {s.lastSign1, s.lastSign2, s.life1, s.life2}) h.add(i);
    h.add(s.towers.signs1);
    h.add(s.towers.signs2);
    h.add(s.towers.wins1);
    h.add(s.towers.wins2);
    h.add(s.towers.banner);
    h.add(s.endless);
    for (int32_t i : {s.endingTurn, s.winner, s.wins1, s.wins2}) h.add(i);
    h.add(s.turn);
    h.add(s.random);
    return h.value();
}
