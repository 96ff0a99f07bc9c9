// A scripted clip: instead of random poses, the frames after the calibration follow a script,
// one segment a line ('#' starts a comment):
//
//   FRAMES  <player 1 hand>  |  <player 2 hand>
//
// a hand being `none`, or SHAPE X,Y, or SHAPE X,Y -> X2,Y2 (moving in a straight line over the
// segment), SHAPE one of rock, paper (spread), paper-flat, scissors; X counts from the left
// edge of the player's own half (0..159), Y from the top, as in clipgen's scripts.
#pragma once

#include <string>
#include <vector>

#include "tools/roomclip/geometry.h"
#include "tools/roomclip/hand_sprite.h"

namespace roomclip {

struct ScriptHand {
    Shape shape = Shape::None;
    Point from, to;  // half coordinates
};

struct ScriptSegment {
    int frames = 0;
    ScriptHand player[2];
};

// False with the reason (naming the line) on a mistake.
bool readScript(const std::string& path, std::vector<ScriptSegment>& out, std::string& error);

}  // namespace roomclip
