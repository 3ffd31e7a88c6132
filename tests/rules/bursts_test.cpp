// Burst rules: which cells markBursts flags, what one wave of spreadBursts does, the winner test,
// and the shortest win played through the keys.
#include <gtest/gtest.h>

#include "game/bursts.h"
#include "game/state.h"
#include "rules_support.h"

TEST(MarkBursts, FlagsAtAndAboveCriticalMassPerCellKind) {
  struct Case {
    int x, y, orbs, flagged;
  };
  const Case cases[] = {
      {0, 0, 2, 1}, {7, 7, 1, 0},                             // corner: critical mass 2
      {0, 3, 3, 1}, {3, 0, 2, 0},                             // edge: 3
      {3, 3, 4, 1}, {3, 3, 5, 1}, {3, 3, 3, 0}, {6, 6, 4, 1}, // inner: 4
  };
  for (const Case &c : cases) {
    startGame();
    setBoard({{c.x, c.y, c.orbs, 1, 0}});
    EXPECT_EQ(markBursts(), c.flagged) << c.orbs << " orbs at (" << c.x << "," << c.y << ")";
    EXPECT_EQ(boardDiff({{c.x, c.y, c.orbs, 1, c.flagged}}), "");
  }
}

TEST(MarkBursts, ClearsTheOwnerOfEmptyCellsOnly) {
  startGame();
  setBoard({{2, 5, 0, 2, 0}, {5, 2, 1, 2, 0}, {0, 0, 0, 1, 1}});
  EXPECT_EQ(markBursts(), 0);
  EXPECT_EQ(boardDiff({{5, 2, 1, 2, 0}}), "");
}

TEST(MarkBursts, RewritesEveryFlag) {
  startGame();
  setBoard({{1, 1, 3, 1, 1}, {7, 0, 1, 2, 1}});
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++)
      burstFlag[x][y] = 1;
  EXPECT_EQ(markBursts(), 0);
  EXPECT_EQ(boardDiff({{1, 1, 3, 1, 0}, {7, 0, 1, 2, 0}}), "");

  setBoard({{1, 1, 3, 1, 1}, {7, 0, 2, 2, 0}});
  EXPECT_EQ(markBursts(), 1);
  EXPECT_EQ(boardDiff({{1, 1, 3, 1, 0}, {7, 0, 2, 2, 1}}), "");
}

// One wave from a hand-made board. `marked` is the board after the following markBursts, when
// the case checks it.
struct SpreadCase {
  const char *name;
  int mover;
  std::initializer_list<Cell> before, after, marked;
};

TEST(SpreadBursts, MovesOneOrbToEachNeighbourAndConservesOrbs) {
  const SpreadCase cases[] = {
      {"corner keeps its owner and flag; neighbours taken over; others untouched",
       1,
       {{0, 0, 2, 1, 1}, {1, 0, 1, 2, 0}, {6, 6, 1, 2, 0}},
       {{0, 0, 0, 1, 1}, {1, 0, 2, 1, 0}, {0, 1, 1, 1, 0}, {6, 6, 1, 2, 0}},
       {{1, 0, 2, 1, 0}, {0, 1, 1, 1, 0}, {6, 6, 1, 2, 0}}},
      {"inner cell with 5 keeps 1",
       2,
       {{5, 5, 5, 2, 1}},
       {{5, 5, 1, 2, 1}, {4, 5, 1, 2, 0}, {6, 5, 1, 2, 0}, {5, 4, 1, 2, 0}, {5, 6, 1, 2, 0}},
       {}},
      {"adjacent flagged cells (3,3) and (4,3)",
       2,
       {{3, 3, 4, 2, 1}, {4, 3, 4, 2, 1}, {2, 3, 2, 1, 0}, {5, 3, 1, 2, 0}},
       {{3, 3, 1, 2, 1},
        {4, 3, 1, 2, 1},
        {2, 3, 3, 2, 0},
        {3, 2, 1, 2, 0},
        {3, 4, 1, 2, 0},
        {5, 3, 2, 2, 0},
        {4, 2, 1, 2, 0},
        {4, 4, 1, 2, 0}},
       {}},
      {"(0,3) passes its critical mass mid-scan and waits for the next wave",
       1,
       {{0, 2, 3, 1, 1}, {0, 3, 2, 2, 0}, {0, 4, 3, 1, 1}},
       {{0, 2, 0, 1, 1},
        {0, 3, 4, 1, 0},
        {0, 4, 0, 1, 1},
        {0, 1, 1, 1, 0},
        {1, 2, 1, 1, 0},
        {1, 4, 1, 1, 0},
        {0, 5, 1, 1, 0}},
       {{0, 3, 4, 1, 1}, {0, 1, 1, 1, 0}, {1, 2, 1, 1, 0}, {1, 4, 1, 1, 0}, {0, 5, 1, 1, 0}}},
      {"three in a row (1,1), (2,1), (3,1)",
       1,
       {{1, 1, 4, 1, 1}, {2, 1, 4, 1, 1}, {3, 1, 4, 1, 1}},
       {{0, 1, 1, 1, 0},
        {1, 1, 1, 1, 1},
        {2, 1, 2, 1, 1},
        {3, 1, 1, 1, 1},
        {4, 1, 1, 1, 0},
        {1, 0, 1, 1, 0},
        {2, 0, 1, 1, 0},
        {3, 0, 1, 1, 0},
        {1, 2, 1, 1, 0},
        {2, 2, 1, 1, 0},
        {3, 2, 1, 1, 0}},
       {}},
  };
  for (const SpreadCase &c : cases) {
    SCOPED_TRACE(c.name);
    startGame();
    currentPlayer = c.mover;
    setBoard(c.before);
    int orbs = totalOrbs();
    spreadBursts();
    EXPECT_EQ(boardDiff(c.after), "");
    EXPECT_EQ(totalOrbs(), orbs);
    EXPECT_EQ(currentPlayer, c.mover);
    if (c.marked.size() == 0) continue;
    markBursts();
    EXPECT_EQ(boardDiff(c.marked), "");
  }
}

TEST(CheckWinner, DecidesByOwnershipAlone) {
  struct Case {
    const char *name;
    std::initializer_list<Cell> board;
    int result;
  };
  const Case cases[] = {
      {"empty board", {}, 0},
      {"only player 1", {{4, 4, 1, 1, 0}}, 3},
      {"only player 2, any counts", {{0, 0, 1, 2, 0}, {3, 5, 7, 2, 0}, {7, 7, 0, 2, 0}}, 4},
      {"an emptied cell still counts", {{2, 2, 0, 1, 1}}, 3},
      {"player 1 first in the scan", {{0, 0, 1, 1, 0}, {7, 7, 1, 2, 0}}, 0},
      {"player 2 first in the scan", {{0, 0, 1, 2, 0}, {3, 3, 2, 2, 0}, {7, 7, 1, 1, 0}}, 0},
      {"orbs without an owner count for nobody", {{1, 1, 3, 0, 0}, {6, 1, 1, 2, 0}}, 4},
  };
  for (const Case &c : cases) {
    startGame();
    setBoard(c.board);
    EXPECT_EQ(checkWinner(), c.result) << c.name;
  }
  // Every cell player 2's but one of player 1, wherever that one lies in the scan.
  const int lone[][2] = {{0, 0}, {3, 4}, {7, 7}};
  for (const auto &at : lone) {
    for (int x = 0; x < 8; x++)
      for (int y = 0; y < 8; y++)
        cellOwner[x][y] = 2;
    cellOwner[at[0]][at[1]] = 1;
    EXPECT_EQ(checkWinner(), 0) << "player 1 at (" << at[0] << "," << at[1] << ")";
  }
}

TEST(ThreeMoveWin, PlayedThroughTheKeys) {
  startGame();
  for (int i = 0; i < 4; i++) {
    pressSpecial(ARROW_LEFT);
    pressSpecial(ARROW_DOWN);
  }
  EXPECT_EQ(pressKey(KEY_ENTER), 1); // player 1 on (0, 0)
  pressSpecial(ARROW_RIGHT);
  EXPECT_EQ(pressKey(KEY_ENTER), 1); // player 2 on (1, 0)
  pressSpecial(ARROW_LEFT);
  EXPECT_EQ(pressKey(KEY_ENTER), 1); // player 1's second orb on (0, 0) bursts
  EXPECT_EQ(gamePhase, PHASE_BURST_GROW);
  EXPECT_EQ(tick(19), 19);
  EXPECT_EQ(gamePhase, PHASE_PLAYER1_WON);
  EXPECT_EQ(currentPlayer, 1);
  EXPECT_EQ(boardDiff({{0, 0, 0, 1, 1}, {1, 0, 2, 1, 0}, {0, 1, 1, 1, 0}}), "");
}
