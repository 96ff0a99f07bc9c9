#include "play/player_source.h"

namespace play {

namespace {

// About 500, 300 and 150 ms of reaction; about 10%, 4% and 1% of chances missed; the
// opponent's habits read a fifth, half and four fifths of the time.
const LevelTraits kEasy = {30, 10, 20};
const LevelTraits kNormal = {18, 4, 50};
const LevelTraits kHard = {9, 1, 80};

const char* const kComputerPrefix = "computer:";

}  // namespace

LevelTraits traitsOf(Level level) {
    switch (level) {
    case Level::EASY: return kEasy;
    case Level::HARD: return kHard;
    case Level::NORMAL: break;
    }
    return kNormal;
}

const char* levelName(Level level) {
    switch (level) {
    case Level::EASY: return "easy";
    case Level::HARD: return "hard";
    case Level::NORMAL: break;
    }
    return "normal";
}

bool parseLevel(const std::string& text, Level& level) {
    for (Level candidate : {Level::EASY, Level::NORMAL, Level::HARD}) {
        if (text == levelName(candidate)) {
            level = candidate;
            return true;
        }
    }
    return false;
}

bool parsePlayerSource(const std::string& text, PlayerSource& source) {
    PlayerSource read;
    if (text == "camera") {
        read.kind = PlayerSource::CAMERA;
    } else if (text == "keyboard") {
        read.kind = PlayerSource::KEYBOARD;
    } else if (text == "gamepad") {
        read.kind = PlayerSource::GAMEPAD;
    } else if (text == "computer") {
        read.kind = PlayerSource::COMPUTER;
    } else if (text.compare(0, std::string(kComputerPrefix).size(), kComputerPrefix) == 0) {
        read.kind = PlayerSource::COMPUTER;
        if (!parseLevel(text.substr(std::string(kComputerPrefix).size()), read.level)) return false;
    } else {
        return false;
    }
    source = read;
    return true;
}

std::string describe(const PlayerSource& source) {
    switch (source.kind) {
    case PlayerSource::CAMERA: return "camera";
    case PlayerSource::KEYBOARD: return "keyboard";
    case PlayerSource::GAMEPAD: return "gamepad";
    case PlayerSource::NETWORK: return "network";
    case PlayerSource::COMPUTER: break;
    }
    return std::string("computer ") + levelName(source.level);
}

}  // namespace play
