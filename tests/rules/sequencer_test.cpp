// The sequencer: ticks, frames and camera sway through single waves, cascades and wins.
#include <gtest/gtest.h>

#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "gl_recorder.h"
#include "rules_support.h"

namespace {

// Ticks until the cascade under way is over, checking that every tick draws one frame and that
// the mover stays the same until the last tick. Returns the ticks taken; counts waves started.
int runCascade(int *waves) {
  int mover = currentPlayer, ticks = 0;
  *waves = 1;
  while (gamePhase == PHASE_BURST_GROW || gamePhase == PHASE_BURST_SHRINK) {
    int stepBefore = burstStep;
    EXPECT_EQ(tick(1), 1) << "tick " << ticks + 1;
    ticks++;
    if (stepBefore == 1 && gamePhase == PHASE_BURST_GROW && burstStep == 1) ++*waves;
    bool over = gamePhase != PHASE_BURST_GROW && gamePhase != PHASE_BURST_SHRINK;
    if (!over) {
      EXPECT_EQ(currentPlayer, mover) << "tick " << ticks;
    }
    if (ticks > 2000) {
      ADD_FAILURE() << "cascade did not end";
      break;
    }
  }
  return ticks;
}

// Player 1 to move with the cursor on (0, 0), then Enter: a wave starts from rest.
void enterAtOrigin() {
  cursorX = 0;
  cursorY = 0;
  ASSERT_EQ(pressKey(KEY_ENTER), 1);
  ASSERT_EQ(gamePhase, PHASE_BURST_GROW);
  ASSERT_EQ(burstStep, 1);
}

} // namespace

TEST(Sequencer, AtRestATickChangesAndDrawsNothing) {
  for (int phase : {PHASE_AWAIT_MOVE, PHASE_PLAYER1_WON, PHASE_PLAYER2_WON}) {
    for (int back : {0, 1}) {
      startGame();
      setBoard({{2, 2, 1, 1, 0}, {5, 5, 3, 2, 0}});
      gamePhase = phase;
      swingBack = back;
      GameSnapshot before = snapshot();
      EXPECT_EQ(tick(100), 0) << "phase " << phase;
      EXPECT_EQ(snapshotDiff(before, snapshot()), "") << "phase " << phase;
    }
  }
}

TEST(Sequencer, SingleWaveTimeline) {
  startGame();
  setBoard({{0, 0, 1, 1, 0}, {7, 7, 1, 2, 0}});
  enterAtOrigin();
  struct After {
    int step, phase, angle, back;
  };
  const int G = PHASE_BURST_GROW, S = PHASE_BURST_SHRINK;
  const After timeline[19] = {
      {2, G, 751, 0},
      {3, G, 752, 0},
      {4, G, 753, 0},
      {5, G, 754, 0},
      {6, G, 755, 0},
      {7, G, 756, 0},
      {8, G, 757, 0},
      {9, G, 758, 0},
      {10, S, 759, 0},
      {9, S, 760, 1},
      {8, S, 759, 1},
      {7, S, 758, 1},
      {6, S, 757, 1},
      {5, S, 756, 1},
      {4, S, 755, 1},
      {3, S, 754, 1},
      {2, S, 753, 1},
      {1, S, 752, 1},
      {0, PHASE_AWAIT_MOVE, 751, 1},
  };
  for (int t = 1; t <= 19; t++) {
    const After &e = timeline[t - 1];
    EXPECT_EQ(tick(1), 1) << "tick " << t;
    EXPECT_EQ(burstStep, e.step) << "tick " << t;
    EXPECT_EQ(gamePhase, e.phase) << "tick " << t;
    EXPECT_EQ(swingAngle, e.angle) << "tick " << t;
    EXPECT_EQ(swingBack, e.back) << "tick " << t;
    EXPECT_EQ(currentPlayer, t < 19 ? 1 : 2) << "tick " << t;
    if (t == 8) {
      EXPECT_EQ(boardDiff({{0, 0, 2, 1, 1}, {7, 7, 1, 2, 0}}), "") << "before spread";
    } else if (t == 9) {
      EXPECT_EQ(boardDiff({{0, 0, 0, 1, 1}, {1, 0, 1, 1, 0}, {0, 1, 1, 1, 0}, {7, 7, 1, 2, 0}}), "")
          << "after spread";
    }
  }
  EXPECT_EQ(boardDiff({{1, 0, 1, 1, 0}, {0, 1, 1, 1, 0}, {7, 7, 1, 2, 0}}), "");

  EXPECT_EQ(tick(1), 1); // back to rest
  EXPECT_EQ(swingAngle, 750);
  EXPECT_EQ(swingBack, 0);
  GameSnapshot rest = snapshot();
  EXPECT_EQ(tick(50), 0);
  EXPECT_EQ(snapshotDiff(rest, snapshot()), "");
}

TEST(Sequencer, WaveStartedBeforeTheReturnToRestCarriesOnTheSway) {
  startGame();
  setBoard({{0, 0, 1, 1, 0}, {7, 7, 1, 2, 0}});
  enterAtOrigin();
  tick(19); // heading 751, falling, player 2 to move
  cursorX = 7;
  cursorY = 7;
  EXPECT_EQ(pressKey(KEY_ENTER), 1);
  EXPECT_EQ(gamePhase, PHASE_BURST_GROW);
  EXPECT_EQ(tick(1), 1);
  EXPECT_EQ(swingAngle, 750);
  EXPECT_EQ(swingBack, 1);
  tick(1);
  EXPECT_EQ(swingAngle, 749);
}

TEST(Sequencer, TwoWaveCascade) {
  startGame();
  setBoard({{0, 0, 1, 1, 0}, {1, 0, 2, 1, 0}, {7, 7, 1, 2, 0}});
  enterAtOrigin();
  EXPECT_EQ(tick(18), 18);
  EXPECT_EQ(tick(1), 1); // tick 19 starts the second wave
  EXPECT_EQ(gamePhase, PHASE_BURST_GROW);
  EXPECT_EQ(burstStep, 1);
  EXPECT_EQ(currentPlayer, 1);
  EXPECT_EQ(swingAngle, 751);
  EXPECT_EQ(swingBack, 1);
  EXPECT_EQ(boardDiff({{0, 1, 1, 1, 0}, {1, 0, 3, 1, 1}, {7, 7, 1, 2, 0}}), "");
  int waves = 0;
  EXPECT_EQ(runCascade(&waves), 19);
  EXPECT_EQ(gamePhase, PHASE_AWAIT_MOVE);
  EXPECT_EQ(burstStep, 0);
  EXPECT_EQ(currentPlayer, 2);
  EXPECT_EQ(swingAngle, 748);
  EXPECT_EQ(swingBack, 0);
  EXPECT_EQ(
      boardDiff(
          {{0, 0, 1, 1, 0}, {0, 1, 1, 1, 0}, {2, 0, 1, 1, 0}, {1, 1, 1, 1, 0}, {7, 7, 1, 2, 0}}),
      "");
}

// A fuse of cells one orb short of bursting runs along the bottom edge, up the right edge and
// back along the top edge to (2, 7): each wave bursts the next cell of it, 20 in all. The inner
// cells beside it gain at most 2 orbs, too few to burst. Player 2's lone orb on (0, 7) is out of
// reach, so the cascade ends without a win.
TEST(Sequencer, TwentyWaveCascadeEndsAtRestFalling) {
  startGame();
  setBoard({{0, 0, 1, 1, 0}, {0, 7, 1, 2, 0}});
  for (int x = 1; x <= 6; x++)
    orbCount[x][0] = 2;
  orbCount[7][0] = 1;
  for (int y = 1; y <= 6; y++)
    orbCount[7][y] = 2;
  orbCount[7][7] = 1;
  for (int x = 2; x <= 6; x++)
    orbCount[x][7] = 2;
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++)
      if (orbCount[x][y] > 0 && cellOwner[x][y] == 0) cellOwner[x][y] = 1;
  int orbs = totalOrbs();
  enterAtOrigin();
  glrec::logging = false; // 380 frames: count them only
  int waves = 0;
  EXPECT_EQ(runCascade(&waves), 380);
  EXPECT_EQ(waves, 20);
  EXPECT_EQ(totalOrbs(), orbs + 1);
  EXPECT_EQ(gamePhase, PHASE_AWAIT_MOVE);
  EXPECT_EQ(currentPlayer, 2);
  EXPECT_EQ(burstStep, 0);
  EXPECT_EQ(swingAngle, 750);
  EXPECT_EQ(swingBack, 1);

  GameSnapshot after = snapshot();
  EXPECT_EQ(tick(40), 0);
  EXPECT_EQ(snapshotDiff(after, snapshot()), "");

  cursorX = 0;
  cursorY = 7;
  ASSERT_EQ(pressKey(KEY_ENTER), 1); // player 2's corner bursts
  ASSERT_EQ(gamePhase, PHASE_BURST_GROW);
  tick(1);
  EXPECT_EQ(swingAngle, 749);
  EXPECT_EQ(swingBack, 1);
  tick(1);
  EXPECT_EQ(swingAngle, 748);
}

TEST(Sequencer, AWinEndsTheCascadeAtOnce) {
  // The mover's corner takes both of the other player's cells, which are left at their critical
  // mass of 3: no further wave, no markBursts, no turn passed.
  struct Case {
    int mover, winPhase;
    int cx, cy; // the mover's corner
    Cell a, b;  // the other player's cells before the wave
    Cell corner, a2, b2;
  };
  const Case cases[] = {
      {1,
       PHASE_PLAYER1_WON,
       0,
       0,
       {1, 0, 2, 2, 0},
       {0, 1, 2, 2, 0},
       {0, 0, 0, 1, 1},
       {1, 0, 3, 1, 0},
       {0, 1, 3, 1, 0}},
      {2,
       PHASE_PLAYER2_WON,
       7,
       7,
       {6, 7, 2, 1, 0},
       {7, 6, 2, 1, 0},
       {7, 7, 0, 2, 1},
       {6, 7, 3, 2, 0},
       {7, 6, 3, 2, 0}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.mover);
    startGame();
    setBoard({{c.cx, c.cy, 1, c.mover, 0}, c.a, c.b});
    currentPlayer = c.mover;
    cursorX = c.cx;
    cursorY = c.cy;
    ASSERT_EQ(pressKey(KEY_ENTER), 1);
    EXPECT_EQ(tick(19), 19);
    EXPECT_EQ(gamePhase, c.winPhase);
    EXPECT_EQ(currentPlayer, c.mover);
    EXPECT_EQ(burstStep, 0);
    EXPECT_EQ(swingAngle, 751);
    EXPECT_EQ(boardDiff({c.corner, c.a2, c.b2}), "");
    EXPECT_EQ(tick(1), 1);
    EXPECT_EQ(swingAngle, 750);
    GameSnapshot won = snapshot();
    EXPECT_EQ(tick(30), 0);
    EXPECT_EQ(snapshotDiff(won, snapshot()), "");
  }
}
