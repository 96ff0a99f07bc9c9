// Runs recorded without a window for the replay tests: a scripted fight stepped through the
// rules and the referee, written by the recorder as the game writes it, and a replay checked
// the way the game checks one.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>

#include "match/Referee.h"
#include "play/replay_recorder.h"
#include "play/replay_source.h"
#include "tests/support/data_folder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/working_folder.h"

namespace replaytest {

// The rules' data as the game reads it, once.
inline const Moves& gameMoves() {
    static Moves* moves = nullptr;
    if (!moves) {
        moves = new Moves;
        const testsupport::WorkingFolder here(testsupport::dataFolder());
        if (!moves->readMoves()) throw std::runtime_error("no keyframes in the data folder");
    }
    return *moves;
}

// A world at the start of a recorded run. The one world serves every run of the program:
// copying the moves into a new one costs more than a short run.
inline World& startedWorld(const play::ReplayHeader& header) {
    static World* world = nullptr;
    if (!world) {
        world = new World;
        world->moves = gameMoves();
    }
    world->restore(MatchState());
    world->setStartValues();
    world->events.clear();
    play::startAsRecorded(*world, header);
    return *world;
}

// Two fighters that walk at each other and trade signs: knock-outs every few hundred turns,
// charges and clashes now and then.
inline TurnInput fightRecord(std::mt19937& random, const MatchState& state) {
    TurnInput in;
    const bool close = state.posX2 - state.posX1 < 1.5f;
    in.right1 = !close && random() % 4 != 0;
    in.left2 = !close && random() % 4 != 0;
    in.sign1 = random() % 3 == 0 ? 1 + static_cast<int>(random() % 3) : 0;
    in.sign2 = random() % 3 == 0 ? 1 + static_cast<int>(random() % 3) : 0;
    if (random() % 500 == 0) in.labels = TurnInput::LABEL_BANNER;
    return in;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Recording {
    std::string bytes;
    int64_t turns = 0;
    int knockOuts = 0;
    uint64_t finalHash = 0;
};

// What the file gets in place of the record the rules take in turn `turn` from `before` (an
// altered replay).
using Alteration = std::function<void(int64_t turn, const MatchState& before, TurnInput&)>;

// Records `turns` turns of a fight.
inline Recording recordFight(int64_t turns, bool endless, uint32_t seed,
                             const Alteration& written = {}) {
    play::ReplayHeader header;
    header.gameVersion = VORLAXIS_VERSION;
    header.dataFingerprint = play::rulesDataFingerprint(gameMoves().rulesData());
    header.rulesRandom = seed;
    header.endless = endless;
    header.source1 = header.source2 = "computer";
    World* world = &startedWorld(header);
    const std::string path = testsupport::scratchPath("replay", ".vxr");
    Recording run;
    {
        play::ReplayRecorder recorder;
        std::string error;
        if (!recorder.create(path, error)) throw std::runtime_error(error);
        recorder.begin(header, *world);
        std::mt19937 random(seed);
        for (int64_t t = 1; t <= turns; ++t) {
            const TurnInput in = fightRecord(random, *world);
            TurnInput kept = in;
            if (written) written(t, *world, kept);
            recorder.recordTurn(kept);
            stepMatch(*world, in);
            world->events.clear();
            recorder.afterTurn(*world);
            run.knockOuts += world->endingTurn == 1;
        }
        recorder.finish(*world);
    }
    run.bytes = readFile(path);
    std::remove(path.c_str());
    run.turns = turns;
    run.finalHash = hashState(*world);
    return run;
}

// Changes player 1's walk in the first turn from `from` on where that moves him at once
// (idle, away from player 2 and the wall, in a match under way); sets `altered` to its number.
inline Alteration walkChangedOnce(int64_t from, int64_t& altered) {
    altered = -1;
    return [from, &altered](int64_t turn, const MatchState& before, TurnInput& in) {
        const bool counts = before.endingTurn == 0 && before.timer <= World::inputTimer &&
                            before.game.getPstate(1) == World::IDLE &&
                            before.posX2 - before.posX1 > 3.0f && before.posX1 > -13.0f;
        if (altered >= 0 || turn < from || !counts) return;
        altered = turn;
        in.right1 = !in.right1;
        in.left1 = 0;
    };
}

struct Check {
    std::string problem;
    int64_t turns = 0;
    int matches = 0;
    int agreed = 0;
    int64_t difference = -1;
    bool cutShort = false;
    uint64_t finalHash = 0;
};

// Follows a replay through the rules as the game's check does, to its end or first difference.
inline Check checkBytes(const std::string& bytes) {
    Check result;
    play::ReplayReader reader;
    if (!reader.openBytes(bytes)) {
        result.problem = reader.problem();
        return result;
    }
    World* world = &startedWorld(reader.header());
    play::ReplaySource source(reader);
    TurnInput in;
    while (source.nextTurn(*world, in) && source.firstDifference() < 0) {
        stepMatch(*world, in);
        world->events.clear();
    }
    result.problem = reader.problem();
    result.turns = source.turns();
    result.matches = source.matches();
    result.agreed = source.checkpointsAgreed();
    result.difference = source.firstDifference();
    result.cutShort = source.cutShort();
    result.finalHash = hashState(*world);
    return result;
}

}  // namespace replaytest
