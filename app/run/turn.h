#pragma once
// One turn, the same in every mode: a local match, a network one, a watched replay, the
// windowless runs, the replay check and the sync test. The modes differ only in where the
// turn's record comes from (a RecordSource: the players' own sources, a replay, the computer
// alone; or the network session with its rollback) and in whether the turn is drawn and paced.
#include <cstdint>

#include "app/config/options.h"
#include "match/World.h"

class Run;

// Where each turn's record comes from.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    // Who plays which side, and the run's seed for the computer's sides; called again when a
    // joiner learns the host's seed.
    virtual void start(const Options& options, uint64_t seed) {
        (void)options;
        (void)seed;
    }
    // Fills `input`, a cleared record, for the turn to come on `world`; false when there is no
    // turn to play (the replay has ended, or its records turned out wrong).
    virtual bool take(World& world, TurnInput& input) = 0;
};

// How a mode moves the match on: stepping each record at once, or through the network session.
class TurnDriver {
public:
    virtual ~TurnDriver() = default;
    // Plays the coming turn on `world` when there is one on this pass, handing every turn that
    // became final to Run::confirm, in order; `drawn`, the scene follows it (the view camera
    // from the positions before the step, then what the turn set off), otherwise what it set
    // off is dropped. False when no turn was played.
    virtual bool advance(Run& run, World& world, bool drawn) = 0;
    // Whether the run goes on: false once its source has no more turns, its matches are
    // played, or the network match has ended.
    virtual bool more(const Run& run) const = 0;
};

// Steps each record from its source as soon as it is taken: every mode but the network's.
class SteppedTurns : public TurnDriver {
public:
    explicit SteppedTurns(RecordSource& source) : source_(source) {}
    bool advance(Run& run, World& world, bool drawn) override;
    bool more(const Run& run) const override;

private:
    RecordSource& source_;
    bool exhausted_ = false;
};

// The one place app/ steps the match: the rules, then the referee, with this record. `drawn`,
// as the game plays a turn in its window: the world takes the record, World::update moves the
// view camera, steps and plays what the rules set off, and the referee's own step follows.
// Without a window, the scene-free step on the world's state, its events dropped.
void stepTurn(Run& run, World& world, const TurnInput& input, bool drawn);

// A turn the network session stepped: `drawn`, the view camera follows the positions from
// before it (x1, x2) and what it set off is played; otherwise that is dropped.
void showSteppedTurn(World& world, float x1, float x2, bool drawn);

// The turn: the driver plays it and, `drawn`, the panel's feed shows the match. Recording,
// the match lines and the end after --matches happen in Run::confirm. True when a turn was
// played.
bool playTurn(Run& run, World& world, TurnDriver& driver, bool drawn);

// The loop of a run with no window: turns until the driver says the run is over, as fast as
// they go or, `paced`, at the run's pace (a network match keeps time with the other machine).
void playWithoutWindow(Run& run, World& world, TurnDriver& driver, bool paced);
