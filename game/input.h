// The players' keys: keyboard (quit, Enter, Space) and special (the arrow keys).
//
// Registered by main with glutKeyboardFunc and glutSpecialFunc; tests call them directly. Each key
// that is accepted changes game/state.h and then draws exactly one frame by calling display();
// keys that do not apply in the current phase are dropped with no change and no frame. The mouse
// position that comes with a key is never read.
#pragma once

// Escape, 'q' and 'Q' end the process with exit status 0 in every phase. Enter places an orb
// while a move is awaited; Space starts a new game after a win.
void keyboard(unsigned char key, int x, int y);

// GLUT_KEY_LEFT/UP/RIGHT/DOWN move the cursor one cell, clamped to the board, while a move is
// awaited; every other code is ignored.
void special(int key, int x, int y);
