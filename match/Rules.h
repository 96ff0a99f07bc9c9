#pragma once
// The match rules as functions of plain values: the state, the turn's input record, the
// constant data read once with the moves, and the list of what the turn sets off. No scene,
// no device and no global: network play, replays and the computer fighter step the match
// through these alone, and World wraps them with its designed methods.
#include "animation/rules_data.h"
#include "match/MatchState.h"
#include "match/TurnEvents.h"
#include "match/TurnInput.h"

// Gap under which a close attack does damage.
const float DistCAC = 2.0f;
// Gap under which a sign starts a close attack rather than a charge.
const float DistCACL = 4.0f;
// Contact distance: fighters that come closer are set this far apart.
const float limiteContactRobots = 1.0f;

using RulesData = animation::RulesData;

// One turn of the rules, in the design's order: the input taken (none in the first turns of a
// match or while one is ending; the camera switch always), the towers aged, both fighters'
// steps, the clash, the positions, the timer, the last signs. `input` is read, never changed;
// what the turn sets off is added to `events`. The view camera is the scene's and not moved.
void step(MatchState& state, const TurnInput& input, const RulesData& rules, TurnEvents& events);

// The start values of a match in every field the rules set at a start: positions, speeds,
// frames, last signs, clash score, lives, timer, frame step, and the camera's input on.
void startMatch(MatchState& state);

// The six readings of the camera in the order the worker writes them.
struct CameraReadings {
    int baryX1 = vision::kHalfMiddleColumn;
    int baryY1 = vision::kMiddleRow;
    int baryX2 = vision::kHalfMiddleColumn;
    int baryY2 = vision::kMiddleRow;
    int rps1 = vision::kNoSign;
    int rps2 = vision::kNoSign;
};

// The camera's part of a turn, both sides, from its readings alone: a hand off the middle of
// its half walks (the picture is mirrored), a sign code 1 to 3 is the sign. The hands' heights
// steer nothing.
TurnInput cameraInput(const CameraReadings& readings);
// Whether the match takes the camera's part this turn: not in the first turns of a match, and
// not while F1 has switched the camera's input off.
bool cameraCounts(const MatchState& state);
