// Board scene, whole frames: the materials, tiles and spheres each position shows, in order.
#include <gtest/gtest.h>

#include "app/frame.h"
#include "game/state.h"
#include "render/sphere.h"
#include "stream.h"

using Scene = std::vector<std::string>;

class BoardScene : public ::testing::Test {
protected:
  void SetUp() override {
    clearBoard();
    cursorX = cursorY = 4;
    currentPlayer = 1;
    gamePhase = PHASE_AWAIT_MOVE;
    burstStep = 0;
    swingAngle = 750;
    eyePosition[0] = eyePosition[1] = 0.0f;
    eyePosition[2] = 55.0f;
    sphereList3 = sphereList15 = sphereList100 = 0;
  }
  static void put(int x, int y, int orbs, int owner, int flag = 0) {
    orbCount[x][y] = orbs;
    cellOwner[x][y] = owner;
    burstFlag[x][y] = flag;
  }
  // One whole frame through display, read back as the board scene.
  static Scene frame() {
    glrec::reset();
    display();
    Scene scene = sceneOf(boardCalls(glrec::log));
    for (const std::string &item : scene)
      EXPECT_NE(item[0], '?') << item;
    return scene;
  }
  static int spheres(const Scene &scene) {
    int n = 0;
    for (const std::string &item : scene)
      n += item.rfind("sphere", 0) == 0;
    return n;
  }
};

TEST_F(BoardScene, StartingPositionShowsSixtyFourBareTilesWithTheCursorOnFourFour) {
  const char *corner[8] = {"-51", "-38", "-25", "-12", "1", "14", "27", "40"};
  Scene want;
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      int border = (x == 0 || x == 7) + (y == 0 || y == 7); // 2 corner, 1 edge, 0 inner
      const char *height = border == 2 ? "-6" : border == 1 ? "-9" : "-12";
      want.push_back(x == 4 && y == 4 ? "cursor1" : "tilePlain");
      want.push_back(std::string("tile ") + corner[x] + " " + corner[y] + " " + height);
    }
  }
  EXPECT_EQ(frame(), want);
  EXPECT_EQ(glrec::count("glMaterialfv"), 192);
  EXPECT_EQ(sphereList3 + sphereList15 + sphereList100, 0u);
}

TEST_F(BoardScene, CellsShowTheirOrbsAndTheCursorColoursWinOverLoaded) {
  currentPlayer = 2;
  cursorX = cursorY = 7;
  put(2, 5, 3, 2);
  put(0, 0, 1, 1);
  put(0, 3, 1, 1);
  put(0, 4, 2, 1);
  put(3, 3, 2, 2);
  put(7, 7, 1, 2);
  const struct {
    int x, y;
    Scene items;
  } cells[] = {
      {2,
       5,
       {"tileLoaded", "tile -25 14 -3", "orb2", "sphere -22 17 -3 r2 n3", "sphere -17 17 -3 r2 n3",
        "sphere -19.5 22 -3 r2 n3"}},
      {0, 0, {"tileLoaded", "tile -51 -51 -3", "orb1", "sphere -45.5 -45.5 -3 r2 n3"}},
      {0, 3, {"tilePlain", "tile -51 -12 -6", "orb1", "sphere -45.5 -6.5 -6 r2 n3"}},
      {0,
       4,
       {"tileLoaded", "tile -51 1 -3", "orb1", "sphere -48 4 -3 r2 n3", "sphere -43 9 -3 r2 n3"}},
      {3,
       3,
       {"tilePlain", "tile -12 -12 -6", "orb2", "sphere -9 -9 -6 r2 n3", "sphere -4 -4 -6 r2 n3"}},
      {7, 7, {"cursor2", "tile 40 40 -3", "orb2", "sphere 45.5 45.5 -3 r2 n3"}},
      {5, 5, {"tilePlain", "tile 14 14 -12"}},
  };
  Scene scene = frame();
  for (const auto &cell : cells)
    EXPECT_EQ(cellOf(scene, cell.x, cell.y), cell.items);
  EXPECT_EQ(spheres(scene), 10);
}

TEST_F(BoardScene, WaveShowsBurstSpheresInTheMoversColoursAndNoCursor) {
  const struct {
    int phase, mover, step;
    const char *moverSet, *radius;
  } cases[] = {{PHASE_BURST_GROW, 1, 4, "orb1", "r4"}, {PHASE_BURST_SHRINK, 2, 9, "orb2", "r9"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.phase);
    gamePhase = c.phase;
    currentPlayer = c.mover;
    burstStep = c.step;
    cursorX = cursorY = 0;
    put(0, 0, 2, 1, 1);
    put(1, 0, 3, 2, 1);
    put(6, 6, 0, c.mover, 1); // emptied by its own burst
    const std::string r = std::string(" ") + c.radius + " n15";
    Scene scene = frame();
    EXPECT_EQ(cellOf(scene, 0, 0),
              (Scene{"tileLoaded", "tile -51 -51 0", "orb1", "sphere -48 -48 0 r2 n3",
                     "sphere -43 -43 0 r2 n3", c.moverSet, "sphere -45.5 -45.5 0" + r}));
    EXPECT_EQ(cellOf(scene, 1, 0),
              (Scene{"tileLoaded", "tile -38 -51 0", "orb2", "sphere -35 -48 0 r2 n3",
                     "sphere -30 -48 0 r2 n3", "sphere -32.5 -43 0 r2 n3", c.moverSet,
                     "sphere -32.5 -45.5 0" + r}));
    EXPECT_EQ(cellOf(scene, 6, 6),
              (Scene{"tilePlain", "tile 27 27 -12", c.moverSet, "sphere 32.5 32.5 -12" + r}));
    EXPECT_EQ(cellOf(scene, 4, 4), (Scene{"tilePlain", "tile 1 1 -12"}));
    EXPECT_EQ(spheres(scene), 8);
  }
}

TEST_F(BoardScene, MoreThanFourOrbsShowFourAboveTheBoard) {
  gamePhase = PHASE_BURST_GROW;
  burstStep = 1;
  put(3, 4, 7, 1);
  EXPECT_EQ(cellOf(frame(), 3, 4),
            (Scene{"tileLoaded", "tile -12 1 9", "orb1", "sphere -9 4 9 r2 n3",
                   "sphere -4 9 9 r2 n3", "sphere -4 4 9 r2 n3", "sphere -9 9 9 r2 n3"}));
}

TEST_F(BoardScene, WinnerScreenShowsOnlyTheWinnersSphere) {
  const struct {
    int phase;
    const char *set;
  } cases[] = {{PHASE_PLAYER1_WON, "orb1"}, {PHASE_PLAYER2_WON, "orb2"}};
  for (const auto &c : cases) {
    gamePhase = c.phase;
    put(2, 2, 3, 1, 1);
    burstStep = 5;
    EXPECT_EQ(frame(), (Scene{c.set, "sphere 0 0 0 r37 n100"})) << c.phase;
  }
}
