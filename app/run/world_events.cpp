// World's own keyboard route of the fight window, kept for a keyboard-only turn: the slots
// cleared, then every key of both players. It reads a device, so it lives in app/, not with
// the rules.
#include "match/World.h"
#include "play/keyboard_source.h"

void World::handleEvents() {
    static play::KeyboardSource keyboard;
    TurnInput keys;
    keyboard.poll(keys);
    takeRecord(keys);
}
