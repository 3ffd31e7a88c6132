// Plays the game through its callbacks, one byte per event, and checks each event against the
// rules: what it may change, how many frames it draws, and the board's invariants afterwards.
//
// Shared by the random-games test and the fuzz target. Calls keyboard, special and idle directly
// (never a quit key), so the game must be linked against the recording double.
#pragma once

// The state the process starts in, with an empty count of orbs placed.
void startPlay();

// One event: byte & 7 is 0..3 an arrow (Left, Up, Right, Down), 4 Enter, 5 Space, 6 some other
// key, 7 (byte >> 3) + 1 idle ticks. Returns nullptr, or the rule the game broke.
const char *playByte(unsigned char byte);
