#include "app/panel/panel_feed.h"

#include <cstdio>
#include <string>

#include "app/camera/calibration_phase.h"
#include "app/network/net_game.h"
#include "match/Referee.h"

PanelFeed panelFeed;

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

void storeKeys(PanelFeed& feed, const Settings& settings) {
    for (int player = 0; player < 2; ++player) {
        const PlayerKeys& keys = settings.keys[player];
        const SDLKey order[5] = {keys.left, keys.right, keys.rock, keys.paper, keys.scissors};
        for (int action = 0; action < 5; ++action)
            feed.keys[player][action].store(order[action], relaxed);
    }
}

void publishName(char (&to)[96], std::atomic<bool>& ready, const std::string& text) {
    if (ready.load(std::memory_order_acquire)) return;
    std::snprintf(to, sizeof to, "%s", text.c_str());
    ready.store(true, std::memory_order_release);
}

void publishSide(int index, const play::PlayerSource& side) {
    panelFeed.sideKind[index].store(side.kind, relaxed);
    panelFeed.sideLevel[index].store(static_cast<int32_t>(side.level), relaxed);
}

}  // namespace

PanelFeed::PanelFeed() { storeKeys(*this, Settings()); }

play::PlayerSource PanelFeed::side(int player) const {
    const int index = player == 1 ? 0 : 1;
    play::PlayerSource source;
    source.kind = static_cast<play::PlayerSource::Kind>(sideKind[index].load(relaxed));
    source.level = static_cast<play::Level>(sideLevel[index].load(relaxed));
    return source;
}

bool PanelFeed::cameraCalibrating() const {
    const int32_t phase = calibration.load(relaxed);
    return camera.load(relaxed) && phase >= CALIBRATION_STAND && phase < CALIBRATION_DONE;
}

int32_t PanelFeed::of(int player, const std::atomic<int32_t> (&values)[2]) {
    return values[player == 1 ? 0 : 1].load(relaxed);
}

void publishSides(const Options& options, bool watching) {
    publishSide(0, options.player1);
    publishSide(1, options.player2);
    panelFeed.camera.store(anyPlayer(options, play::PlayerSource::CAMERA) && !watching, relaxed);
    const int local = options.net == Options::Net::NONE   ? 0
                      : options.net == Options::Net::HOST ? 1
                                                          : 2;
    panelFeed.localPlayer.store(local, relaxed);
    if (local != 0) panelFeed.net.store(PanelFeed::CONNECTING, relaxed);
}

void publishKeys(const Settings& settings) { storeKeys(panelFeed, settings); }
void resetPanelFeed() {
    for (int i = 0; i < 2; ++i) {
        panelFeed.lastSign[i].store(0, relaxed);
        panelFeed.life[i].store(100, relaxed);
        panelFeed.wins[i].store(0, relaxed);
        panelFeed.noHand[i].store(false, relaxed);
    }
    panelFeed.calibration.store(-1, relaxed);
    panelFeed.calibrationLeftMs.store(0, relaxed);
    panelFeed.missedPalms.store(0, relaxed);
    panelFeed.calibrateAgain.store(false, relaxed);
    panelFeed.replay.store(PanelFeed::NO_REPLAY, relaxed);
    panelFeed.replayNameReady.store(false, relaxed);
    panelFeed.net.store(PanelFeed::NO_NET, relaxed);
    panelFeed.roundTripMs.store(-1, relaxed);
    panelFeed.inputDelay.store(0, relaxed);
    panelFeed.rollbacks.store(0, relaxed);
    panelFeed.longest.store(0, relaxed);
    panelFeed.quiet.store(false, relaxed);
    panelFeed.peerReady.store(false, relaxed);
}

void publishMatch(const MatchState& state, const Referee& referee) {
    panelFeed.lastSign[0].store(state.lastSign1, relaxed);
    panelFeed.lastSign[1].store(state.lastSign2, relaxed);
    panelFeed.life[0].store(referee.shownLife(state.life1), relaxed);
    panelFeed.life[1].store(referee.shownLife(state.life2), relaxed);
    panelFeed.wins[0].store(referee.wins(1), relaxed);
    panelFeed.wins[1].store(referee.wins(2), relaxed);
}

void publishReplayName(const char* name) {
    publishName(panelFeed.replayName, panelFeed.replayNameReady, name);
}

void publishReplay(PanelFeed::Replay state) { panelFeed.replay.store(state, relaxed); }

void publishNetwork(const NetGame& game, int64_t nowMs) {
    const bool ended = game.phase() == NetGame::Phase::ENDED;
    const net::NetMatch* match = game.match();
    if (!match) {
        panelFeed.net.store(ended ? PanelFeed::ENDED : PanelFeed::CONNECTING, relaxed);
        return;
    }
    publishName(panelFeed.peer, panelFeed.peerReady, game.peerText());
    const net::NetStats stats = match->stats();
    panelFeed.roundTripMs.store(stats.roundTripMs, relaxed);
    panelFeed.inputDelay.store(match->inputDelay(), relaxed);
    panelFeed.rollbacks.store(static_cast<int32_t>(stats.rollback.rollbacks), relaxed);
    panelFeed.longest.store(stats.rollback.longest, relaxed);
    panelFeed.quiet.store(match->quiet(nowMs), relaxed);
    panelFeed.net.store(ended ? PanelFeed::ENDED : PanelFeed::PLAYING, relaxed);
}
