// Rule tests: the sequencer's ticks, the quit keys, and seeded random games.
#include <gtest/gtest.h>

#include <random>

#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "support.h"

namespace {

TEST(Keys, QuitEndsTheProgramWithStatusZeroInEveryPhase) {
  for (gamePhase = PHASE_AWAIT_MOVE; gamePhase <= PHASE_PLAYER2_WON; gamePhase++)
    for (int key : {27, int('q'), int('Q')})
      EXPECT_EXIT(keyboard(key, 0, 0), testing::ExitedWithCode(0), "");
}

// Player 1's corner (0,0) bursts in one wave. After the camera's rest, player 2's corner (7,7)
// bursts and fills (6,7), which bursts in a second wave. The orbs move at step 10; the camera sways
// between 740 and 760, on from one wave to the next, and rises again after the rest.
TEST(Sequencer, WavesTakeNineteenTicksEachWhileTheCameraSways) {
  startPlay();
  int cells[][4] = {{0, 0, 1, 1}, {6, 7, 2, 2}, {7, 7, 1, 2}};
  for (auto [x, y, orbs, owner] : cells) {
    orbCount[x][y] = orbs;
    cellOwner[x][y] = owner;
  }
  const std::vector<int> ticks[] = {
      // tick, burstStep, heading, orbs under the cursor, player to move, phase
      {8, 9, 758, 2, 1, PHASE_BURST_GROW},    {9, 10, 759, 0, 1, PHASE_BURST_SHRINK},
      {10, 9, 760, 0, 1, PHASE_BURST_SHRINK}, {19, 0, 751, 0, 2, PHASE_AWAIT_MOVE},
      {20, 0, 750, 0, 2, PHASE_AWAIT_MOVE},   {21, 2, 751, 2, 2, PHASE_BURST_GROW},
      {39, 1, 751, 0, 2, PHASE_BURST_GROW},   {48, 10, 742, 1, 2, PHASE_BURST_SHRINK},
      {51, 7, 741, 1, 2, PHASE_BURST_SHRINK}, {58, 0, 748, 1, 1, PHASE_AWAIT_MOVE},
      {59, 0, 750, 1, 1, PHASE_AWAIT_MOVE}};
  std::vector<std::vector<int>> seen;
  for (int t = 1; t <= 59; t++) {
    if (t == 1 || t == 21) { // player 1's move on (0,0), then player 2's on (7,7)
      cursorX = cursorY = t == 1 ? 0 : 7;
      keyboard(13, 0, 0);
    }
    idle();
    seen.push_back(
        {t, burstStep, swingAngle, orbCount[cursorX][cursorY], currentPlayer, gamePhase});
  }
  for (const std::vector<int> &want : ticks)
    EXPECT_EQ(seen[want[0] - 1], want);
}

// Seeded random play on past wins, every key and tick checked; the arrows lean to a corner a game.
TEST(RandomGames, KeepEveryRule) {
  std::mt19937 random(getenv("FIZZGRID_SEED") ? atoi(getenv("FIZZGRID_SEED")) : 1);
  std::discrete_distribution<int> kind({6, 1, 2, 6, 6, 1, 1, 5}); // weights of byte & 7
  for (int game = 0; game < 400; game++) {
    startPlay();
    swingBack = game % 2; // every other game sways down first, as after a cascade of 20 waves
    for (int event = 0; event < 400; event++) {
      int low = kind(random);
      int high = random() & 0xf8;
      if (low < 4) low = (low + game) % 4; // an arrow turned by a quarter per game
      ASSERT_STREQ(playByte(high | low), nullptr) << "game " << game << ", event " << event;
    }
  }
}

} // namespace
