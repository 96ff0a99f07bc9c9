#pragma once
// Recording the run being played: to the --record file, or kept in the player's data folder
// (unless --no-record, or the run watches or checks a replay).
#include "app/config/options.h"
#include "match/World.h"

// Creates the file the run will be recorded to, before any window opens, and says where a
// kept replay goes. False only when the --record file cannot be written: a kept replay that
// cannot be written gives one warning and the game goes on without it.
bool createRecording(const Options& options);
// Writes the recording's header and start, once the world is set up for the first turn.
void startRecording(World& world, const Options& options);
// Around each turn of the rules and referee: the record they take, then the state they left.
void recordInput(const TurnInput& input);
void recordAfterTurn(const MatchState& state);
// Marks the end of the run.
void finishRecording(const MatchState& state);
