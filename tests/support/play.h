// Plays the game through its callbacks, one byte per event, and checks the rules after each:
// the board's invariants, and one frame for every event that does something and none otherwise.
// Shared by the random-games test and the fuzz target; never presses a quit key.
#pragma once

// The state the process starts in.
void startPlay();

// byte & 7: 0..3 an arrow (Left, Up, Right, Down), 4 Enter, 5 Space, 6 another key, 7 idle
// (byte >> 3) + 1 times. Returns nullptr, or the rule the game broke.
const char *playByte(unsigned char byte);
