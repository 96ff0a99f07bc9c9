#pragma once
// What the control panel shows, published by the main thread and read by the webcam worker
// when it draws the panel: the one thing the two threads share besides the camera's readings.
// Every value is an atomic; the two names are written once, before their flag is set with
// release order, and never after.
#include <atomic>
#include <cstdint>

#include "app/config/options.h"
#include "match/MatchState.h"
#include "play/player_source.h"

class NetGame;
class Referee;

struct PanelFeed {
    PanelFeed();

    // Each player's last sign, life as shown (never below 0 unless the match is endless) and
    // matches won; index 0 is player 1.
    std::atomic<int32_t> lastSign[2] = {{0}, {0}};
    std::atomic<int32_t> life[2] = {{100}, {100}};
    std::atomic<int32_t> wins[2] = {{0}, {0}};
    // Who plays each side (play::PlayerSource's kind and level), and whether the worker reads
    // the camera at all.
    std::atomic<int32_t> sideKind[2] = {{play::PlayerSource::CAMERA}, {play::PlayerSource::CAMERA}};
    std::atomic<int32_t> sideLevel[2] = {{0}, {0}};
    std::atomic<bool> camera{true};
    // The game started on the title menu: Escape in the fight window goes back to it.
    std::atomic<bool> fromMenu{false};
    // Each player's keys as the settings chose them (SDLKey values, in PlayerKeys' order:
    // left, right, rock, paper, scissors); the Settings screen may change them at any time.
    // The defaults until publishKeys says otherwise.
    std::atomic<int32_t> keys[2][5];

    // The room recognition's calibration as the worker runs it: its phase (CalibrationPhase), the
    // milliseconds left in it and which players' palms the last one missed (bit 0 player 1); in
    // play, whether each half has gone two seconds without a hand. F5's request to calibrate again
    // goes the other way.
    std::atomic<int32_t> calibration{-1};
    std::atomic<int32_t> calibrationLeftMs{0};
    std::atomic<int32_t> missedPalms{0};
    std::atomic<bool> noHand[2] = {{false}, {false}};
    std::atomic<bool> calibrateAgain{false};

    // A watched replay: its file's own name (the panel has no room for folders) and whether it
    // plays, is paused or has ended.
    enum Replay : int32_t { NO_REPLAY, REPLAY_PLAYING, REPLAY_PAUSED, REPLAY_ENDED };
    std::atomic<int32_t> replay{NO_REPLAY};
    char replayName[96] = {};
    std::atomic<bool> replayNameReady{false};

    // A network match: this game's player, where the games stand, the figures of the link and
    // the other game's address.
    enum Net : int32_t { NO_NET, CONNECTING, PLAYING, ENDED };
    std::atomic<int32_t> net{NO_NET};
    std::atomic<int32_t> localPlayer{0};
    std::atomic<int32_t> roundTripMs{-1};
    std::atomic<int32_t> inputDelay{0};
    std::atomic<int32_t> rollbacks{0};
    std::atomic<int32_t> longest{0};
    std::atomic<bool> quiet{false};
    char peer[96] = {};
    std::atomic<bool> peerReady{false};

    // Whether the room recognition is calibrating the camera this game reads.
    bool cameraCalibrating() const;
    // Who plays `player` (1, or any other value for player 2), as published.
    play::PlayerSource side(int player) const;
    // Player 1's value for 1, player 2's for any other number.
    static int32_t of(int player, const std::atomic<int32_t> (&values)[2]);
};

// The feed the worker thread reads.
extern PanelFeed panelFeed;

// Main thread, before the worker starts: who plays each side, whether the camera is read,
// and this game's player in a network match.
void publishSides(const Options& options, bool watching);
// Main thread, at the start and after every change of the settings: each player's keys.
void publishKeys(const Settings& settings);
// Main thread, while no worker runs: everything but the sides and the match back to what a
// new run starts from (the menu plays one run after another in one process).
void resetPanelFeed();
// Main thread, after every turn: the match as it stands.
void publishMatch(const MatchState& state, const Referee& referee);
// Main thread: a watched replay's name, once, and its state after every change.
void publishReplayName(const char* name);
void publishReplay(PanelFeed::Replay state);
// Main thread, after every pass of a network run.
void publishNetwork(const NetGame& game, int64_t nowMs);
