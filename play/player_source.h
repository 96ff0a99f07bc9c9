#pragma once
// Who plays a side: a person before the camera, at the keyboard or with a gamepad, or the
// computer at one of its levels. Named on the command line as camera, keyboard, gamepad,
// computer or computer:LEVEL.
#include <string>

namespace play {

enum class Level { EASY, NORMAL, HARD };

// What sets the levels apart: how late the computer sees the match (in turns at the steady
// 60 a second), how often it misses a chance or blunders, and how often it plays on what it
// has learnt of the opponent's habits rather than on a guess.
struct LevelTraits {
    int delayTurns;
    int mistakePercent;
    int readPercent;
};

LevelTraits traitsOf(Level level);
// "easy", "normal", "hard".
const char* levelName(Level level);

struct PlayerSource {
    // NETWORK: the side played at the other machine of a network match (never named on the
    // command line).
    enum Kind { CAMERA, KEYBOARD, GAMEPAD, COMPUTER, NETWORK };
    Kind kind = CAMERA;
    Level level = Level::NORMAL;

    // Whether a person plays this side on a device of the machine: such a side needs the
    // windows (and the camera), so a run without them cannot take it.
    bool needsDevice() const { return kind != COMPUTER && kind != NETWORK; }
};

// Reads camera, keyboard, gamepad, computer (normal), computer:easy, computer:normal,
// computer:hard.
bool parsePlayerSource(const std::string& text, PlayerSource& source);
// A computer level alone: easy, normal or hard.
bool parseLevel(const std::string& text, Level& level);
// How the panel names a side: "camera", "keyboard", "gamepad", "computer normal".
std::string describe(const PlayerSource& source);

}  // namespace play
