#pragma once
// One run of the game, in any mode: what is not one of the shell's globals (the options, the
// referee, the recording, the match lines, the pace, the players' sources, the network game,
// the watched replay, the pause) owned in one place and handed to every turn.
#include <cstdint>
#include <cstdio>
#include <memory>

#include "app/config/options.h"
#include "app/replay/replay_record.h"
#include "app/run/match_log.h"
#include "app/run/pacer.h"
#include "app/run/turn_sources.h"
#include "match/Referee.h"
#include "match/World.h"

class NetGame;
class ReplayWatch;

// A match this long without a knock-out means a source that never fights: a windowless run
// stops rather than hang.
constexpr int64_t kMatchTurnLimit = 1000000;

class Run {
public:
    // `lines`: where the match lines go (nowhere for null).
    Run(World& world, const Options& options, std::FILE* lines = stdout);
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // Each turn that became final, in order: recorded, its match line, counted for --matches.
    void confirm(const TurnInput& input, const MatchState& after);
    // With --matches, the last match's ending has been shown: the run ends at this turn, with
    // windows or without.
    bool finished() const;
    // A match ran past turnLimit (said on standard error): the run ends with exit code 1.
    bool overLimit() const { return overLimit_; }

    // The run's seed (the one given, else a fresh one), announced, kept in the match state
    // and the options (so the recording keeps it) and given to `source` for the computer.
    void chooseSeed(World& world, RecordSource& source);

    // P, a pad's pause button or the fight window's lost focus: no turn passes, the music
    // plays on quietly; a watched replay says so with its turn.
    bool paused() const { return paused_; }
    void setPaused(bool on);

    Options options;
    Referee referee;
    RunRecorder recorder;
    MatchLog log;
    TurnPacer pacer;
    // The players' own sources of a windowed run (the keys also serve a watched replay).
    TurnSources sources;
    // A network run's side of things, and a watched replay; none otherwise.
    std::unique_ptr<NetGame> net;
    std::unique_ptr<ReplayWatch> watch;
    // Turns a match may last without a knock-out; 0 for no limit (a player may stand still).
    int64_t turnLimit = 0;
    // The capture driver a windowed run connects, chosen before it left the start folder.
    int cameraDriver = 0;

private:
    bool paused_ = false;
    bool overLimit_ = false;
};
