#pragma once
// The two close-attack effects, for callers that only set them off: no mixer header needed.

// Play sound1 / sound2 once on the first free channel; print a message and go on on failure.
void playSound1();
void playSound2();
