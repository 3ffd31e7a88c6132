// Move entry and cursor keys.
#include "game/input.h"

#include <GL/glut.h>
#include <cstdlib>

#include "app/frame.h"
#include "game/bursts.h"
#include "game/state.h"

enum {
  KEY_ENTER = 13, // carriage return, as the toolkit delivers Return
  KEY_ESCAPE = 27,
  KEY_SPACE = 32,
};

// Places one orb of currentPlayer on the cursor cell if the cell is free or already theirs.
static void placeOrb(void) {
  int *owner = &cellOwner[cursorX][cursorY];
  if (*owner != 0 && *owner != currentPlayer) return; // the other player's cell: refused silently
  orbCount[cursorX][cursorY]++;
  *owner = currentPlayer;
  if (markBursts()) {
    // The turn stays with the mover; the sequencer passes it once the cascade is over.
    gamePhase = PHASE_BURST_GROW;
    burstStep = 1;
  } else {
    currentPlayer = currentPlayer == 1 ? 2 : 1;
  }
  display();
}

// Empty board, cursor on (4, 4), player 1 first. The camera and burstStep are left to the
// sequencer, and the sphere lists stay built.
static void startNewGame(void) {
  clearBoard();
  cursorX = 4;
  cursorY = 4;
  currentPlayer = 1;
  gamePhase = PHASE_AWAIT_MOVE;
  display();
}

void keyboard(unsigned char key, int x, int y) {
  (void)x;
  (void)y;
  if (key == 'q' || key == 'Q' || key == KEY_ESCAPE) exit(0);
  if (gamePhase == PHASE_AWAIT_MOVE) {
    if (key == KEY_ENTER) placeOrb();
  } else if (gamePhase == PHASE_PLAYER1_WON || gamePhase == PHASE_PLAYER2_WON) {
    if (key == KEY_SPACE) startNewGame();
  }
  // During a wave every key but the quit keys is dropped.
}

void special(int key, int x, int y) {
  (void)x;
  (void)y;
  if (gamePhase != PHASE_AWAIT_MOVE) return;
  switch (key) {
  case GLUT_KEY_LEFT:
    if (--cursorX < 0) cursorX = 0;
    break;
  case GLUT_KEY_UP:
    if (++cursorY > 7) cursorY = 7;
    break;
  case GLUT_KEY_RIGHT:
    if (++cursorX > 7) cursorX = 7;
    break;
  case GLUT_KEY_DOWN:
    if (--cursorY < 0) cursorY = 0;
    break;
  default:
    return;
  }
  display(); // also when the clamp kept the cursor where it was
}
