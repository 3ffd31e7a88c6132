// Rule tests: the quit keys, a cascade tick by tick, and seeded random games.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "support.h"

TEST(Keys, QuitEndsTheProgramWithStatusZeroInEveryPhase) {
  for (gamePhase = PHASE_AWAIT_MOVE; gamePhase <= PHASE_PLAYER2_WON; gamePhase++)
    for (int key : {27, int('q'), int('Q')})
      EXPECT_EXIT(keyboard(key, 0, 0), testing::ExitedWithCode(0), "");
}

// Player 1's move on corner (0,0) bursts; after the camera's rest, player 2's on (7,7) fills (6,7),
// which bursts in a second wave. The orbs move at step 10; the camera sways on between 740 and 760.
TEST(Sequencer, WavesTakeNineteenTicksEachWhileTheCameraSways) {
  startPlay();
  orbCount[0][0] = cellOwner[0][0] = orbCount[7][7] = 1;
  orbCount[6][7] = cellOwner[6][7] = cellOwner[7][7] = 2;
  std::map<int, std::vector<int>> seen; // tick: burstStep, heading, orbs at the cursor, player
  std::map<int, std::vector<int>> want = {
      {8, {9, 758, 2, 1}},  {9, {10, 759, 0, 1}}, {10, {9, 760, 0, 1}}, {19, {0, 751, 0, 2}},
      {20, {0, 750, 0, 2}}, {21, {2, 751, 2, 2}}, {39, {1, 751, 0, 2}}, {48, {10, 742, 1, 2}},
      {51, {7, 741, 1, 2}}, {58, {0, 748, 1, 1}}, {59, {0, 750, 1, 1}}};
  for (int t = 1; t <= 59; t++) {
    if (t == 1 || t == 21) cursorX = cursorY = t == 1 ? 0 : 7, keyboard(13, 0, 0); // Enter
    idle();
    if (want.count(t)) seen[t] = {burstStep, swingAngle, orbCount[cursorX][cursorY], currentPlayer};
  }
  EXPECT_EQ(seen, want);
}

// Seeded random play, every key and tick checked; the arrows lean to a corner a game.
TEST(RandomGames, KeepEveryRule) {
  std::mt19937 random(getenv("FIZZGRID_SEED") ? atoi(getenv("FIZZGRID_SEED")) : 1);
  std::discrete_distribution<int> kind({6, 1, 2, 6, 6, 1, 1, 5}); // weights of byte & 7
  for (int game = 0; game < 400; game++) {
    startPlay();
    for (int event = 0; event < 400; event++) {
      int low = kind(random), high = random() & 0xf8;
      if (low < 4) low = (low + game) % 4; // an arrow turned by a quarter per game
      ASSERT_STREQ(playByte(high | low), nullptr) << "game " << game << ", event " << event;
    }
  }
}
