// The invariants of the game state that hold after every call of keyboard, special or idle.
//
// Shared by the random-games property test and the fuzz target. Reads game/state.h only.
#pragma once

// Where an invariant broke: what, and the cell (-1, -1 when it is not about one cell).
struct BrokenInvariant {
  const char *what;
  int x, y;
};

// Checks the whole state against the documented invariants, given how many orbs have been placed
// since the current game began (waves only move orbs). Returns {nullptr, -1, -1} when all hold.
BrokenInvariant findBrokenInvariant(int orbsPlaced);
