// Burst resolution rules: flagging, spreading one wave, and deciding the winner.
#include "game/bursts.h"

#include "game/state.h"

int markBursts(void) {
  int anyFlagged = 0;
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      if (orbCount[x][y] >= criticalMass[x][y]) {
        burstFlag[x][y] = 1;
        anyFlagged = 1;
      } else {
        burstFlag[x][y] = 0;
      }
      // The only place, besides the resets, where an emptied cell loses its owner.
      if (orbCount[x][y] == 0) cellOwner[x][y] = 0;
    }
  }
  return anyFlagged;
}

// Moves one orb from the bursting cell (x, y) to (nx, ny) and hands (nx, ny) to the mover.
static void giveOrb(int x, int y, int nx, int ny) {
  orbCount[x][y]--;
  orbCount[nx][ny]++;
  cellOwner[nx][ny] = currentPlayer;
}

void spreadBursts(void) {
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      if (burstFlag[x][y] == 0) continue;
      if (x > 0) giveOrb(x, y, x - 1, y);
      if (x < 7) giveOrb(x, y, x + 1, y);
      if (y > 0) giveOrb(x, y, x, y - 1);
      if (y < 7) giveOrb(x, y, x, y + 1);
    }
  }
}

int checkWinner(void) {
  int result = 5; // no owned cell seen yet
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      if (cellOwner[x][y] == 1) {
        if (result == 5) result = PHASE_PLAYER1_WON;
        if (result == PHASE_PLAYER2_WON) result = PHASE_AWAIT_MOVE;
      } else if (cellOwner[x][y] == 2) {
        if (result == 5) result = PHASE_PLAYER2_WON;
        if (result == PHASE_PLAYER1_WON) result = PHASE_AWAIT_MOVE;
      }
    }
  }
  if (result == 5) result = PHASE_AWAIT_MOVE;
  return result;
}
