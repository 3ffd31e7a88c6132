// The game state's invariants, checked cell by cell and as a whole.
#include "invariants.h"

#include "game/state.h"

namespace {

bool inWave() { return gamePhase == PHASE_BURST_GROW || gamePhase == PHASE_BURST_SHRINK; }

// Counted here rather than read from criticalMass, so a wrong table is caught too.
int neighbours(int x, int y) { return (x > 0) + (x < 7) + (y > 0) + (y < 7); }

const char *brokenInCell(int x, int y) {
  int count = orbCount[x][y], owner = cellOwner[x][y], flag = burstFlag[x][y];
  if (count < 0) return "orbCount never negative";
  if (owner < 0 || owner > 2) return "cellOwner 0, 1 or 2";
  if (flag != 0 && flag != 1) return "burstFlag 0 or 1";
  if (count > 0 && owner == 0) return "a cell with orbs has an owner";
  if (gamePhase == PHASE_AWAIT_MOVE) {
    if (count >= neighbours(x, y)) return "below critical mass while a move is awaited";
    if (count == 0 && owner != 0) return "an empty cell is unowned while a move is awaited";
    if (flag) return "no cell flagged while a move is awaited";
  }
  if (inWave() && flag && owner != currentPlayer)
    return "flagged cells belong to the mover during a wave";
  return nullptr;
}

const char *brokenScalar() {
  if (gamePhase < PHASE_AWAIT_MOVE || gamePhase > PHASE_PLAYER2_WON) return "gamePhase 0..4";
  if (currentPlayer != 1 && currentPlayer != 2) return "currentPlayer 1 or 2";
  if (inWave() ? burstStep < 1 || burstStep > 10 : burstStep != 0)
    return "burstStep 1..10 during a wave and 0 otherwise";
  if (swingAngle < 740 || swingAngle > 760) return "swingAngle 740..760";
  if (swingBack != 0 && swingBack != 1) return "swingBack 0 or 1";
  if (cursorX < 0 || cursorX > 7 || cursorY < 0 || cursorY > 7) return "cursor 0..7";
  return nullptr;
}

} // namespace

BrokenInvariant findBrokenInvariant(int orbsPlaced) {
  if (const char *what = brokenScalar()) return {what, -1, -1};
  int orbs = 0, flagged = 0, ownedBy[3] = {0, 0, 0};
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      if (const char *what = brokenInCell(x, y)) return {what, x, y};
      orbs += orbCount[x][y];
      flagged += burstFlag[x][y];
      ownedBy[cellOwner[x][y]]++;
    }
  }
  if (orbs != orbsPlaced) return {"orbs on the board = orbs placed since the game began", -1, -1};
  if (inWave() && flagged == 0) return {"a wave has at least one flagged cell", -1, -1};
  if (gamePhase == PHASE_PLAYER1_WON && (ownedBy[1] == 0 || ownedBy[2] != 0))
    return {"player 1 has won: player 1 owns cells and player 2 none", -1, -1};
  if (gamePhase == PHASE_PLAYER2_WON && (ownedBy[2] == 0 || ownedBy[1] != 0))
    return {"player 2 has won: player 2 owns cells and player 1 none", -1, -1};
  return {nullptr, -1, -1};
}
