// Game state: the board tables, the turn, the phase of play, the cursor and the camera sway.
//
// Every variable here is program-wide and lives for the whole process. Only the event-loop thread
// touches them, one callback at a time, so nothing is locked. Who writes what:
//   orbCount, cellOwner   Enter (input.cpp), markBursts/spreadBursts (bursts.cpp), clearBoard
//   burstFlag             markBursts, clearBoard
//   currentPlayer         Enter, idle (sequencer.cpp), the new-game reset, main
//   gamePhase, burstStep  Enter, idle; gamePhase also the new-game reset and main
//   cursorX, cursorY      the arrow keys, the new-game reset, main
//   swingAngle, swingBack idle, main
//   eyePosition           main only
// Rendering (render/, app/frame.cpp) reads them and never writes them.
#pragma once

// Values of gamePhase. checkWinner returns 3 or 4 and the sequencer stores that number unchanged,
// so these values are fixed.
enum GamePhase : int {
  PHASE_AWAIT_MOVE = 0,   // the current player may steer the cursor and place an orb
  PHASE_BURST_GROW = 1,   // a wave is under way; the burst spheres grow
  PHASE_BURST_SHRINK = 2, // the wave's orbs have moved; the burst spheres shrink
  PHASE_PLAYER1_WON = 3,  // game over: player 1 owns every owned cell
  PHASE_PLAYER2_WON = 4,  // game over: player 2 owns every owned cell
};

// Board tables, indexed [x][y]; x is the index cursorX holds. Scans run x outer, y inner.
extern const int criticalMass[8][8]; // neighbours on the board: 2 corner, 3 edge, 4 inner
extern int orbCount[8][8];           // orbs in the cell; below criticalMass while a move is awaited
extern int cellOwner[8][8];          // 0 none, 1 player 1, 2 player 2
extern int burstFlag[8][8];          // 1 when the cell bursts in the current wave

extern int currentPlayer; // 1 or 2: the player to move, or whose move the waves are resolving
extern int gamePhase;     // a GamePhase value
extern int burstStep;     // 1..10 during a wave (also the burst spheres' radius), 0 otherwise
extern int cursorX;       // cursor cell, 0..7 each
extern int cursorY;
extern int swingAngle;       // heading in thousandths of a turn: 750 at rest, 740..760 in a wave
extern int swingBack;        // sway direction: 0 rising, 1 falling
extern float eyePosition[3]; // eye point and light position, (0, 0, 55) once main has run

// Empties all 64 cells: orbCount, cellOwner and burstFlag to 0. Used by start-up and new game.
void clearBoard(void);

// The state main gives the game before the window exists: sway rising, empty board, cursor
// (4, 4), player 1 to move, PHASE_AWAIT_MOVE, camera at rest at (0, 0, 55). burstStep and the
// sphere lists are left alone: they are 0 at process start.
void setStartingState(void);
