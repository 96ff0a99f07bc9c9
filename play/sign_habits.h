#pragma once
// What the computer learns of an opponent's signs: how often each sign followed each other
// one. Its best guess of the next sign is the one that most often followed the last.
#include <cstdint>

#include "play/seeded_random.h"

namespace play {

class SignHabits {
public:
    // Signs are 1 rock, 2 paper, 3 scissors; 0 (none yet) is a first sign of its own.
    void record(int previous, int next) {
        if (valid(previous, true) && valid(next, false)) ++count_[previous][next];
    }
    // The likeliest next sign after `previous`; ties and the unknown are settled by `random`.
    int guessAfter(int previous, SeededRandom& random) const {
        int best[3];
        int bestCount = -1;
        int ties = 0;
        for (int sign = 1; sign <= 3; ++sign) {
            const int seen = valid(previous, true) ? count_[previous][sign] : 0;
            if (seen > bestCount) {
                bestCount = seen;
                ties = 0;
            }
            if (seen == bestCount) best[ties++] = sign;
        }
        return best[random.below(ties)];
    }
    // The sign that beats `sign`: paper beats rock, scissors paper, rock scissors.
    static int beating(int sign) { return sign % 3 + 1; }

private:
    static bool valid(int sign, bool noneAllowed) {
        return sign >= (noneAllowed ? 0 : 1) && sign <= 3;
    }

    int32_t count_[4][4] = {};
};

}  // namespace play
