// Burst resolution: which cells burst, one wave of bursts, and the winner test.
//
// Pure rules over game/state.h: no GL, no drawing, no state of their own. markBursts is called by
// Enter (input.cpp) and by the sequencer (sequencer.cpp); spreadBursts and checkWinner only by the
// sequencer. Every scan runs x 0..7 outer, y 0..7 inner.
#pragma once

// Flags every cell whose orbCount has reached its criticalMass (burstFlag 1, others 0) and clears
// the owner of every empty cell. Returns 1 if any cell was flagged, else 0.
int markBursts(void);

// One wave: every flagged cell gives one orb to each neighbour on the board, and the neighbour
// becomes currentPlayer's. Counts change in place as the scan goes; the flags stay as they are,
// and the bursting cell keeps its own owner.
void spreadBursts(void);

// PHASE_PLAYER1_WON (3) when only player 1 owns cells, PHASE_PLAYER2_WON (4) when only player 2
// does, and PHASE_AWAIT_MOVE (0) when both do or nobody does. Reads cellOwner only.
int checkWinner(void);
