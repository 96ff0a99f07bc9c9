#include "app/config/play_options.h"

#include "app/config/net_options.h"
#include "app/config/option_values.h"

namespace {

const long kMostMatches = 1000000;

bool readSide(const char* name, const char* value, int argc, const char* const* argv, int& i,
              play::PlayerSource& side, std::string& why) {
    value = valueOf(value, argc, argv, i);
    if (!value || !play::parsePlayerSource(value, side))
        why = std::string("option '") + name +
              "' needs camera, keyboard, gamepad, computer, computer:easy, computer:normal or "
              "computer:hard";
    return true;
}

// Plain --computer is normal; its level only ever follows '=', so that the next argument is
// never taken for one.
bool readComputer(const char* value, Options& options, NamedOptions& named, std::string& why) {
    play::PlayerSource side;
    side.kind = play::PlayerSource::COMPUTER;
    if (value && !play::parseLevel(value, side.level))
        why = "option '--computer' takes easy, normal or hard";
    options.player2 = side;
    named.player2 = "--computer";
    return true;
}

bool readNumbers(const char* arg, const char* value, int argc, const char* const* argv, int& i,
                 Options& options, std::string& why) {
    if (matches(arg, "--seed", &value)) {
        if (!seedIn(valueOf(value, argc, argv, i), options.seed))
            why = "option '--seed' needs a whole number of up to 19 digits";
        options.seedGiven = true;
        return true;
    }
    if (matches(arg, "--matches", &value)) {
        const long count = numberIn(valueOf(value, argc, argv, i), 1, kMostMatches);
        if (count < 0) why = "option '--matches' needs a number from 1 to 1000000";
        options.matches = static_cast<int>(count);
        return true;
    }
    return false;
}

const char* sideName(const play::PlayerSource& side) {
    switch (side.kind) {
    case play::PlayerSource::CAMERA: return "the camera";
    case play::PlayerSource::GAMEPAD: return "a gamepad";
    default: return "the keyboard";
    }
}

// --simulate and --sync-test open no device: every side must be one that needs none. The
// option named is the one the player gave.
std::string simulateFault(const Options& options) {
    const play::PlayerSource* sides[] = {&options.player1, &options.player2};
    const std::string option = options.syncTest ? "--sync-test" : "--simulate";
    for (int player = 1; player <= 2; ++player) {
        const play::PlayerSource& side = *sides[player - 1];
        if (!side.needsDevice()) continue;
        return "option '" + option + "' opens no window or camera, but player " +
               std::to_string(player) + " plays on " + sideName(side) + ": choose --player" +
               std::to_string(player) + " computer[:LEVEL]";
    }
    return "";
}

}  // namespace

bool readPlayOption(int argc, const char* const* argv, int& i, Options& options,
                    NamedOptions& named, std::string& why) {
    const char* arg = argv[i];
    const char* value = nullptr;
    if (matches(arg, "--player1", &value)) {
        named.player1 = "--player1";
        return readSide("--player1", value, argc, argv, i, options.player1, why);
    }
    if (matches(arg, "--player2", &value)) {
        named.player2 = "--player2";
        return readSide("--player2", value, argc, argv, i, options.player2, why);
    }
    if (matches(arg, "--computer", &value)) return readComputer(value, options, named, why);
    if (std::string(arg) == "--simulate") {
        options.simulate = true;
        return true;
    }
    if (std::string(arg) == "--sync-test") {
        options.simulate = options.syncTest = true;
        return true;
    }
    return readNumbers(arg, value, argc, argv, i, options, why);
}

std::string settleSides(Options& options, const NamedOptions& named) {
    NamedOptions sides = named;
    placeNetworkSide(options, sides);
    play::PlayerSource fallback;
    fallback.kind = options.keyboard ? play::PlayerSource::KEYBOARD : play::PlayerSource::CAMERA;
    if (!sides.player1) options.player1 = fallback;
    if (!sides.player2) options.player2 = fallback;
    const bool camera = anyPlayer(options, play::PlayerSource::CAMERA);
    if (options.keyboard && camera)
        return "option '--keyboard' opens no camera, but a player is on the camera";
    if (!options.camera.empty() && !camera) return "option '--camera' needs a player on the camera";
    if (options.matches > 0 && options.endless)
        return "options '--matches' and '--endless' exclude each other: an endless match "
               "never finishes";
    if (options.simulate && options.endless)
        return "options '--simulate' and '--endless' exclude each other: an endless match "
               "never finishes";
    return options.simulate ? simulateFault(options) : "";
}

bool anyPlayer(const Options& options, play::PlayerSource::Kind kind) {
    return options.player1.kind == kind || options.player2.kind == kind;
}
