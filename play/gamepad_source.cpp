#include "play/gamepad_source.h"

#include <cstdio>
#include <utility>

#include "match/MatchState.h"

namespace play {

namespace {

// SDL 1.2 keeps one event filter for the whole program, a plain function: it hands the pads'
// events to the one source listening.
GamepadSource* g_listener = nullptr;

int SDLCALL filterEvent(const SDL_Event* event) {
    return g_listener && g_listener->takeEvent(*event) ? 0 : 1;
}

// Setting the filter empties SDL's queue: only done when it is not already ours.
void listen() {
    if (SDL_GetEventFilter() != filterEvent) SDL_SetEventFilter(filterEvent);
}

std::vector<std::string> padNames() {
    std::vector<std::string> names;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        const char* name = SDL_JoystickName(i);
        names.push_back(name ? name : "");
    }
    return names;
}

}  // namespace

GamepadSource::GamepadSource() = default;

GamepadSource::~GamepadSource() {
    // The filter stays, letting every event through: taking it away would empty SDL's queue,
    // pumping a display that may be gone by now.
    if (g_listener == this) g_listener = nullptr;
    if (opened_) stopJoysticks();
}

// SDL 1.2 closes the open joysticks itself when its joystick subsystem stops, but skips every
// other one (its list shifts under it as it closes), leaking its memory and device: at one
// recount a second, two pads would run out of file descriptors within the hour.
void GamepadSource::stopJoysticks() {
    for (Pad& pad : pads_) {
        if (pad.joystick) SDL_JoystickClose(pad.joystick);
        pad.joystick = nullptr;
    }
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void GamepadSource::setPad(int player, int index) { padIndex_[player == 1 ? 0 : 1] = index; }

void GamepadSource::drive(int player, bool on) { drive_[player == 1 ? 0 : 1] = on; }

bool GamepadSource::open(std::string& error) {
    if (!drives(1) && !drives(2)) return true;
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0) {
        error = std::string("cannot start the gamepads: ") + SDL_GetError();
        return false;
    }
    opened_ = true;
    // Listening before the pads open: turning the events on and setting the filter empty
    // SDL's queue, which reads every open pad on the way.
    g_listener = this;
    listen();
    SDL_JoystickEventState(SDL_ENABLE);
    if (!openPads(error)) {
        pads_.clear();
        return false;
    }
    for (int player = 1; player <= 2; ++player)
        for (size_t i = 0; i < pads_.size(); ++i)
            if (drives(player) && pads_[i].index == padIndex_[player - 1])
                padOfPlayer_[player - 1] = static_cast<int>(i);
    lastCount_ = SDL_GetTicks();
    return true;
}

bool GamepadSource::openPads(std::string& error) {
    const std::vector<std::string> names = padNames();
    for (int player = 1; player <= 2; ++player) {
        const int index = padIndex_[player - 1];
        if (!drives(player)) continue;
        if (index < 0 || index >= static_cast<int>(names.size())) {
            error = "no gamepad " + std::to_string(index) + " for player " +
                    std::to_string(player) + " (" + std::to_string(names.size()) +
                    " found; --list-gamepads lists them)";
            return false;
        }
        if (!padAt(index)) pads_.push_back(Pad{index, names[index]});
    }
    // Both players may share one pad; the pads are kept in SDL's order for the recount.
    if (pads_.size() == 2 && pads_[0].index > pads_[1].index) std::swap(pads_[0], pads_[1]);
    for (Pad& pad : pads_) {
        pad.joystick = SDL_JoystickOpen(pad.index);
        if (!pad.joystick) {
            error = "cannot open gamepad " + std::to_string(pad.index) + ": " + SDL_GetError();
            return false;
        }
    }
    return true;
}

void GamepadSource::poll(TurnInput& input) {
    if (pads_.empty()) return;
    listen();
    // Read first: what waits on a pad's device is lost when the recount closes it.
    SDL_JoystickUpdate();
    if (SDL_GetTicks() - lastCount_ >= kRecountMs) recount();
    for (int player = 1; player <= 2; ++player)
        if (const Pad* pad = padOf(player)) addPlayer(player, *pad, input);
    for (Pad& pad : pads_) pad.sign = 0;
}

bool GamepadSource::takePauseButton() {
    const bool pressed = pausePressed_;
    pausePressed_ = false;
    return pressed;
}

bool GamepadSource::takeEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYAXISMOTION:
        if (Pad* pad = padAt(event.jaxis.which))
            if (event.jaxis.axis == controls_.walkAxis) pad->axis = event.jaxis.value;
        return true;
    case SDL_JOYHATMOTION:
        if (Pad* pad = padAt(event.jhat.which))
            if (event.jhat.hat == 0) pad->hat = event.jhat.value;
        return true;
    case SDL_JOYBUTTONDOWN:
        if (Pad* pad = padAt(event.jbutton.which)) pressButton(*pad, event.jbutton.button);
        return true;
    case SDL_JOYBUTTONUP:
    case SDL_JOYBALLMOTION: return true;
    default: return false;
    }
}

void GamepadSource::pressButton(Pad& pad, int button) {
    if (button == controls_.rock) pad.sign = MatchState::ROCK;
    if (button == controls_.paper) pad.sign = MatchState::PAPER;
    if (button == controls_.scissors) pad.sign = MatchState::SCISSORS;
    if (button == controls_.pause) pausePressed_ = true;
}

void GamepadSource::addPlayer(int player, const Pad& pad, TurnInput& input) const {
    const bool left = pad.axis < -controls_.deadZone || (pad.hat & SDL_HAT_LEFT);
    const bool right = pad.axis > controls_.deadZone || (pad.hat & SDL_HAT_RIGHT);
    const bool up = pad.hat & SDL_HAT_UP;
    const bool down = pad.hat & SDL_HAT_DOWN;
    (player == 1 ? input.left1 : input.left2) |= left;
    (player == 1 ? input.right1 : input.right2) |= right;
    (player == 1 ? input.up1 : input.up2) |= up;
    (player == 1 ? input.down1 : input.down2) |= down;
    if (pad.sign) (player == 1 ? input.sign1 : input.sign2) = pad.sign;
}

// SDL numbers the pads afresh, in the order of their devices: a pad that stays keeps its place
// among the others, so each is looked for by name after the one before it. Two pads of the
// same make cannot be told apart: when one of them goes, the later one is taken as gone.
void GamepadSource::recount() {
    lastCount_ = SDL_GetTicks();
    if (!opened_) return;
    stopJoysticks();
    const bool started = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    const std::vector<std::string> names = started ? padNames() : std::vector<std::string>();
    int from = 0;
    for (Pad& pad : pads_)
        if (pad.index >= 0 && !reopen(pad, from, names)) lose(pad);
}

bool GamepadSource::reopen(Pad& pad, int& from, const std::vector<std::string>& names) {
    for (int i = from; i < static_cast<int>(names.size()); ++i) {
        if (names[i] != pad.name) continue;
        pad.joystick = SDL_JoystickOpen(i);
        if (!pad.joystick) return false;
        pad.index = i;
        from = i + 1;
        return true;
    }
    return false;
}

void GamepadSource::lose(Pad& pad) {
    const int position = static_cast<int>(&pad - pads_.data());
    std::string players;
    int count = 0;
    for (int player = 1; player <= 2; ++player)
        if (padOfPlayer_[player - 1] == position)
            players += (count++ ? " and " : "") + std::to_string(player);
    std::fprintf(stderr, "vorlaxis: gamepad '%s' is gone: %s %s still\n", pad.name.c_str(),
                 count > 1 ? ("players " + players).c_str() : ("player " + players).c_str(),
                 count > 1 ? "stand" : "stands");
    pad = Pad{-1, pad.name};
}

GamepadSource::Pad* GamepadSource::padOf(int player) {
    const int position = padOfPlayer_[player == 1 ? 0 : 1];
    if (position < 0 || pads_[position].index < 0) return nullptr;
    return &pads_[position];
}

GamepadSource::Pad* GamepadSource::padAt(int index) {
    for (Pad& pad : pads_)
        if (pad.index >= 0 && pad.index == index) return &pad;
    return nullptr;
}

}  // namespace play
