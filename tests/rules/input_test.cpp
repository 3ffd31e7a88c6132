// The players' keys: quitting, placing orbs, moving the cursor, the new-game reset, and every key
// that must be dropped without a change or a frame.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/input.h"
#include "game/state.h"
#include "gl_recorder.h"
#include "render/sphere.h"
#include "rules_support.h"

static GameSnapshot beforeQuit;

// Runs in the child at exit: shows whether the quit key drew or changed anything first.
static void reportAtExit() {
  std::string diff = snapshotDiff(beforeQuit, snapshot());
  std::fprintf(stderr, "frames=%d %s\n", glrec::framesSwapped,
               diff.empty() ? "unchanged" : "changed");
}

TEST(QuitKeysDeathTest, ExitWithStatusZeroInEveryPhase) {
  const unsigned char quitKeys[] = {KEY_ESCAPE, 'q', 'Q'};
  for (unsigned char key : quitKeys) {
    for (int phase = PHASE_AWAIT_MOVE; phase <= PHASE_PLAYER2_WON; phase++) {
      startGame();
      setBoard({{4, 4, 1, 1, 0}, {2, 2, 4, 1, phase == PHASE_BURST_GROW}});
      gamePhase = phase;
      burstStep = phase == PHASE_BURST_GROW || phase == PHASE_BURST_SHRINK ? 5 : 0;
      beforeQuit = snapshot();
      EXPECT_EXIT(
          {
            std::atexit(reportAtExit);
            keyboard(key, 0, 0);
          },
          ::testing::ExitedWithCode(0), "frames=0 unchanged")
          << "key " << int(key) << " in phase " << phase;
    }
  }
}

TEST(Enter, PlacesAnOrbOrIsRefused) {
  struct Case {
    const char *name;
    int player;
    Cell before;     // the cursor cell
    int frames;      // drawn by the key
    Cell after;      // the cursor cell afterwards
    int nextPlayer;  // currentPlayer afterwards
    int phase, step; // gamePhase and burstStep afterwards
  };
  const Case cases[] = {
      {"empty corner", 1, {0, 0, 0, 0, 0}, 1, {0, 0, 1, 1, 0}, 2, PHASE_AWAIT_MOVE, 0},
      {"own interior 2 -> 3", 1, {3, 4, 2, 1, 0}, 1, {3, 4, 3, 1, 0}, 2, PHASE_AWAIT_MOVE, 0},
      {"own edge 1 -> 2", 2, {0, 5, 1, 2, 0}, 1, {0, 5, 2, 2, 0}, 1, PHASE_AWAIT_MOVE, 0},
      {"own corner reaches 2", 2, {7, 0, 1, 2, 0}, 1, {7, 0, 2, 2, 1}, 2, PHASE_BURST_GROW, 1},
      {"own edge reaches 3", 1, {0, 5, 2, 1, 0}, 1, {0, 5, 3, 1, 1}, 1, PHASE_BURST_GROW, 1},
      {"own interior reaches 4", 2, {5, 5, 3, 2, 0}, 1, {5, 5, 4, 2, 1}, 2, PHASE_BURST_GROW, 1},
      {"other player's cell", 1, {5, 5, 1, 2, 0}, 0, {5, 5, 1, 2, 0}, 1, PHASE_AWAIT_MOVE, 0},
      {"other player's corner", 2, {0, 7, 1, 1, 0}, 0, {0, 7, 1, 1, 0}, 2, PHASE_AWAIT_MOVE, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    startGame();
    const Cell &b = c.before;
    setBoard({b, {6, 1, 1, 1, 0}, {1, 6, 2, 2, 0}}); // bystanders on both sides
    currentPlayer = c.player;
    cursorX = b.x;
    cursorY = b.y;
    EXPECT_EQ(pressKey(KEY_ENTER), c.frames);
    EXPECT_EQ(boardDiff({c.after, {6, 1, 1, 1, 0}, {1, 6, 2, 2, 0}}), "");
    EXPECT_EQ(currentPlayer, c.nextPlayer);
    EXPECT_EQ(gamePhase, c.phase);
    EXPECT_EQ(burstStep, c.step);
    EXPECT_EQ(cursorX * 10 + cursorY, b.x * 10 + b.y);
  }
}

TEST(Enter, TwiceOnTheSameCellIsRefusedTheSecondTime) {
  startGame();
  EXPECT_EQ(pressKey(KEY_ENTER), 1);
  GameSnapshot before = snapshot();
  EXPECT_EQ(pressKey(KEY_ENTER), 0);
  EXPECT_EQ(snapshotDiff(before, snapshot()), "");
  EXPECT_EQ(boardDiff({{4, 4, 1, 1, 0}}), "");
  EXPECT_EQ(currentPlayer, 2);
}

TEST(Arrows, MoveOneCellAndClampAtEveryEdge) {
  struct Case {
    int key, fromX, fromY, toX, toY;
  };
  const Case cases[] = {
      {ARROW_LEFT, 4, 4, 3, 4},  {ARROW_LEFT, 1, 6, 0, 6},  {ARROW_LEFT, 0, 3, 0, 3},
      {ARROW_RIGHT, 4, 4, 5, 4}, {ARROW_RIGHT, 6, 2, 7, 2}, {ARROW_RIGHT, 7, 2, 7, 2},
      {ARROW_UP, 4, 4, 4, 5},    {ARROW_UP, 1, 6, 1, 7},    {ARROW_UP, 1, 7, 1, 7},
      {ARROW_DOWN, 4, 4, 4, 3},  {ARROW_DOWN, 5, 1, 5, 0},  {ARROW_DOWN, 5, 0, 5, 0},
      {ARROW_LEFT, 0, 0, 0, 0},  {ARROW_DOWN, 0, 0, 0, 0},  {ARROW_UP, 7, 7, 7, 7},
      {ARROW_RIGHT, 7, 7, 7, 7},
  };
  for (const Case &c : cases) {
    startGame();
    setBoard({{2, 3, 1, 2, 0}});
    currentPlayer = 2;
    cursorX = c.fromX;
    cursorY = c.fromY;
    GameSnapshot expected = snapshot();
    expected.cursorX = c.toX;
    expected.cursorY = c.toY;
    EXPECT_EQ(pressSpecial(c.key), 1) << "key " << c.key << " at " << c.fromX << "," << c.fromY;
    EXPECT_EQ(snapshotDiff(expected, snapshot()), "")
        << "key " << c.key << " at " << c.fromX << "," << c.fromY;
  }
}

TEST(Arrows, HeldAgainstTheEdgeDrawOneFrameEach) {
  startGame();
  int frames = 0;
  for (int i = 0; i < 6; i++)
    frames += pressSpecial(ARROW_RIGHT);
  EXPECT_EQ(frames, 6);
  EXPECT_EQ(cursorX, 7);
  EXPECT_EQ(cursorY, 4);
}

// Keys that must change nothing and draw nothing, per phase.
TEST(Keys, OutOfPhaseAndUnknownKeysAreDropped) {
  const unsigned char anyPhaseKeys[] = {'a', 'z', '0', 10, 0, 255, 127};
  const int unknownSpecials[] = {1, 12, 99, 104, 105, 106, 107, 108};
  // Besides those, the keys that act in other phases but not in this one.
  struct Case {
    int phase, step;
    std::initializer_list<unsigned char> keys;
    std::initializer_list<int> specials;
  };
  const Case cases[] = {
      {PHASE_AWAIT_MOVE, 0, {KEY_SPACE}, {}},
      {PHASE_BURST_GROW,
       4,
       {KEY_ENTER, KEY_SPACE},
       {ARROW_LEFT, ARROW_UP, ARROW_RIGHT, ARROW_DOWN}},
      {PHASE_BURST_SHRINK,
       10,
       {KEY_ENTER, KEY_SPACE},
       {ARROW_LEFT, ARROW_UP, ARROW_RIGHT, ARROW_DOWN}},
      {PHASE_PLAYER1_WON, 0, {KEY_ENTER}, {ARROW_LEFT, ARROW_UP, ARROW_RIGHT, ARROW_DOWN}},
      {PHASE_PLAYER2_WON, 0, {KEY_ENTER}, {ARROW_LEFT, ARROW_UP, ARROW_RIGHT, ARROW_DOWN}},
  };
  for (const Case &c : cases) {
    startGame();
    // The cursor on an empty cell, so an Enter that got through would show.
    setBoard({{3, 3, 2, 1, c.phase == PHASE_BURST_GROW}, {5, 5, 1, 2, 0}});
    gamePhase = c.phase;
    burstStep = c.step;
    cursorX = 6;
    cursorY = 6;
    GameSnapshot before = snapshot();
    auto check = [&](const char *what, int code, int frames) {
      EXPECT_EQ(frames, 0) << what << " " << code << " in phase " << c.phase;
      EXPECT_EQ(snapshotDiff(before, snapshot()), "")
          << what << " " << code << " in phase " << c.phase;
    };
    for (unsigned char key : c.keys)
      check("key", key, pressKey(key));
    for (unsigned char key : anyPhaseKeys)
      check("key", key, pressKey(key));
    for (int key : c.specials)
      check("special", key, pressSpecial(key));
    for (int key : unknownSpecials)
      check("special", key, pressSpecial(key));
  }
}

TEST(Space, AfterAWinStartsANewGame) {
  for (int winner : {PHASE_PLAYER1_WON, PHASE_PLAYER2_WON}) {
    SCOPED_TRACE(winner);
    startGame();
    setBoard({{0, 0, 0, 1, 1}, {1, 0, 2, 1, 0}, {3, 3, 7, 2, 1}});
    gamePhase = winner;
    currentPlayer = 2;
    cursorX = 2;
    cursorY = 6;
    // Values a reset of them would show; the sphere lists stand for lists already built.
    burstStep = 7;
    swingAngle = 744;
    swingBack = 1;
    sphereList3 = 21;
    sphereList15 = 22;
    sphereList100 = 23;
    EXPECT_EQ(pressKey(KEY_SPACE), 1);
    EXPECT_EQ(boardDiff({}), "");
    EXPECT_EQ(cursorX, 4);
    EXPECT_EQ(cursorY, 4);
    EXPECT_EQ(currentPlayer, 1);
    EXPECT_EQ(gamePhase, PHASE_AWAIT_MOVE);
    EXPECT_EQ(burstStep, 7);
    EXPECT_EQ(swingAngle, 744);
    EXPECT_EQ(swingBack, 1);
    EXPECT_EQ(sphereList3, 21u);
    EXPECT_EQ(sphereList15, 22u);
    EXPECT_EQ(sphereList100, 23u);
  }
  sphereList3 = sphereList15 = sphereList100 = 0;
}
