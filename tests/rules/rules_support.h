// Shared fixtures for the rule tests: the starting state, board set-up and whole-state snapshots.
//
// The game state is program-wide and outlives each test, so every test starts from startGame()
// and sets by hand whatever else it depends on.
#pragma once

#include <initializer_list>
#include <string>

// Key codes as the toolkit delivers them.
enum : unsigned char { KEY_ENTER = 13, KEY_ESCAPE = 27, KEY_SPACE = 32 };
enum : int { ARROW_LEFT = 100, ARROW_UP = 101, ARROW_RIGHT = 102, ARROW_DOWN = 103 };

// One cell of a board set-up or of an expected board.
struct Cell {
  int x, y;
  int orbs, owner, flag;
};

// Every game variable a key or a tick may change.
struct GameSnapshot {
  int orbs[8][8], owner[8][8], flag[8][8];
  int player, phase, step, cursorX, cursorY, angle, back;
};

// The state main gives the game before its event loop (empty board, cursor (4, 4), player 1,
// PHASE_AWAIT_MOVE, heading 750 rising, burstStep 0), with the recorder cleared and logging on.
void startGame();

// Empties the board, then sets the cells listed.
void setBoard(std::initializer_list<Cell> cells);

// "" when the board holds exactly the cells listed and every other cell is empty, unowned and
// unflagged; otherwise one line per cell that differs.
std::string boardDiff(std::initializer_list<Cell> expected);

int totalOrbs();

GameSnapshot snapshot();

// "" when the two snapshots agree, otherwise the fields that differ.
std::string snapshotDiff(const GameSnapshot &before, const GameSnapshot &after);

// Calls idle n times and returns the frames drawn meanwhile.
int tick(int n);

// Frames drawn by one call of keyboard or special.
int pressKey(unsigned char key);
int pressSpecial(int key);
