// Turn and burst sequencer: paces waves, sways the camera, passes the turn.
#include "game/sequencer.h"

#include "app/frame.h"
#include "game/bursts.h"
#include "game/state.h"

// One unit of sway per tick between the headings 740 and 760 (about 0.36 degrees a unit).
static void swayCamera(void) {
  if (swingBack != 0) {
    swingAngle--;
    if ((double)swingAngle <= 740.0) swingBack = 0;
  } else {
    swingAngle++;
    if ((double)swingAngle >= 760.0) swingBack = 1;
  }
}

// The wave is over: a win ends the game at once, otherwise the next wave starts or the turn passes.
static void endWave(void) {
  gamePhase = checkWinner();
  if (gamePhase != PHASE_AWAIT_MOVE) return; // a win; the flags of this wave stay as they are
  if (markBursts()) {
    gamePhase = PHASE_BURST_GROW;
    burstStep = 1;
  } else {
    currentPlayer = currentPlayer == 1 ? 2 : 1;
  }
}

static void stepBurst(void) {
  if (gamePhase == PHASE_BURST_GROW) {
    if (++burstStep == 10) {
      gamePhase = PHASE_BURST_SHRINK;
      spreadBursts();
    }
  } else if (--burstStep == 0) {
    endWave();
  }
}

void idle(void) {
  if (gamePhase == PHASE_BURST_GROW || gamePhase == PHASE_BURST_SHRINK) {
    swayCamera();
    stepBurst();
    display();
  } else if ((double)swingAngle != 750.0) {
    swingBack = 0;
    swingAngle = 750;
    display();
  }
}
