#pragma once
// Watching a recorded run (--replay) in the windows: its records in place of the players'
// input, at the recorded pace, with the music and sounds. The run's pause (P, Space, a lost
// focus) holds it; the turn it stopped at is said on standard output.
#include <memory>
#include <string>

#include "app/config/options.h"
#include "app/run/turn.h"
#include "match/World.h"
#include "play/replay_source.h"

class ReplayWatch : public RecordSource {
public:
    // Opens the replay to watch and sets the run up as it was recorded (its endless setting,
    // turn rate; no camera is opened). False after saying what is wrong with it. Needs the data
    // folder; call before the windows open.
    bool open(Options& options);
    // Sets the world up as the recorded run started; call after World::init.
    void startRun(World& world);
    // This turn's record from the replay. At its end it says how the replay went and asks the
    // game to end.
    bool take(World& world, TurnInput& input) override;
    // "replay NAME: paused at turn T" or "resumed at turn T"; nothing once the replay has ended.
    void sayPaused(bool paused);
    bool ended() const { return ended_; }
    // 0, or 1 when the replay turned out damaged while it was watched.
    int exitCode() const { return exitCode_; }

private:
    void sayDifference();
    void end();
    const char* name() const;

    play::ReplayReader reader_;
    std::unique_ptr<play::ReplaySource> source_;
    bool ended_ = false;
    bool differenceSaid_ = false;
    int exitCode_ = 0;
    // The replay as messages name it.
    std::string name_;
};
