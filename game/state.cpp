// The program-wide game state and its one bulk operation.
#include "game/state.h"

const int criticalMass[8][8] = {
    {2, 3, 3, 3, 3, 3, 3, 2}, {3, 4, 4, 4, 4, 4, 4, 3}, {3, 4, 4, 4, 4, 4, 4, 3},
    {3, 4, 4, 4, 4, 4, 4, 3}, {3, 4, 4, 4, 4, 4, 4, 3}, {3, 4, 4, 4, 4, 4, 4, 3},
    {3, 4, 4, 4, 4, 4, 4, 3}, {2, 3, 3, 3, 3, 3, 3, 2},
};

int orbCount[8][8];
int cellOwner[8][8];
int burstFlag[8][8];

int currentPlayer;
int gamePhase;
int burstStep;
int cursorX;
int cursorY;
int swingAngle;
int swingBack;
float eyePosition[3];

void clearBoard(void) {
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      orbCount[x][y] = 0;
      cellOwner[x][y] = 0;
      burstFlag[x][y] = 0;
    }
  }
}

void setStartingState(void) {
  swingBack = 0;
  clearBoard();
  cursorX = 4;
  cursorY = 4;
  currentPlayer = 1;
  gamePhase = PHASE_AWAIT_MOVE;
  swingAngle = 750;
  eyePosition[0] = 0.0f;
  eyePosition[1] = 0.0f;
  eyePosition[2] = 55.0f;
}
