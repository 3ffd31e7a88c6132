// End-to-end: playing with the keyboard, from cursor moves to a won game and a new one.
#include "scene.h"

namespace e2e {
namespace {

using PlayTest = GameTest;

TEST_F(PlayTest, ArrowsMoveTheHighlightAndStopAtTheEdges) {
  ASSERT_GT(startGame().width, 0);
  // One press at a time: each draws a frame, also the presses that the edge stops.
  const struct {
    unsigned long key;
    int i, j;
  } steps[] = {
      {XK_Right, 5, 4}, {XK_Right, 6, 4}, {XK_Right, 7, 4}, {XK_Right, 7, 4}, {XK_Up, 7, 5},
      {XK_Up, 7, 6},    {XK_Up, 7, 7},    {XK_Up, 7, 7},    {XK_Left, 6, 7},  {XK_Left, 5, 7},
      {XK_Left, 4, 7},  {XK_Left, 3, 7},  {XK_Left, 2, 7},  {XK_Left, 1, 7},  {XK_Left, 0, 7},
      {XK_Left, 0, 7},  {XK_Down, 0, 6},  {XK_Down, 0, 5},  {XK_Down, 0, 4},  {XK_Down, 0, 3},
      {XK_Down, 0, 2},  {XK_Down, 0, 1},  {XK_Down, 0, 0},  {XK_Down, 0, 0},  {XK_Right, 1, 0},
  };
  for (const auto &step : steps) {
    SCOPED_TRACE("to (" + std::to_string(step.i) + ", " + std::to_string(step.j) + ")");
    ASSERT_GT(play({step.key}, boardWith({{step.i, step.j, 'R'}})).width, 0);
  }
}

TEST_F(PlayTest, ThreeMoveWinShowsTheRedSphereAndSpaceStartsAfresh) {
  Image first = startGame();
  ASSERT_GT(first.width, 0);
  play({XK_Left, XK_Left, XK_Left, XK_Left, XK_Down, XK_Down, XK_Down, XK_Down},
       boardWith({{0, 0, 'R'}}));

  // Player 1 on (0, 0): a red orb on the raised corner, and the cursor in player 2's colour.
  Image placed = play({XK_Return}, boardWith({{0, 0, 'B'}}), {{0, 0, -3}});
  Pixel orb = project(-45.5, -45.5, -3);
  EXPECT_TRUE(isReddish(placed.at(orb.x, orb.y))) << describe(placed.at(orb.x, orb.y));

  // Player 2 on (1, 0); the corner, one orb short of bursting, turns green.
  play({XK_Right}, boardWith({{0, 0, 'G'}, {1, 0, 'B'}}), {{0, 0, -3}});
  Image answered =
      play({XK_Return}, boardWith({{0, 0, 'G'}, {1, 0, 'R'}}), {{0, 0, -3}, {1, 0, -6}});
  orb = project(-32.5, -45.5, -6);
  EXPECT_TRUE(isBluish(answered.at(orb.x, orb.y))) << describe(answered.at(orb.x, orb.y));

  // Player 1's Enter on player 2's cell is refused: after a step away and back, the same picture.
  game->markStale();
  game->tap({XK_Return, XK_Left, XK_Right});
  EXPECT_TRUE(game->waitImage(answered));

  play({XK_Left}, boardWith({{0, 0, 'R'}}), {{0, 0, -3}, {1, 0, -6}});
  Image won = play({XK_Return}, [](const Image &image) { return showsWinner(image, isReddish); });
  if (HasFailure()) keepForInspection(won, "won");

  play({XK_space}, [&](const Image &image) { return image == first; });
}

TEST_F(PlayTest, PlayerTwoWinsWithTheBlueSphere) {
  ASSERT_GT(startGame().width, 0);
  play({XK_Left, XK_Left, XK_Left, XK_Left, XK_Down, XK_Down, XK_Down}, boardWith({{0, 1, 'R'}}));
  // Player 1 on edge (0, 1), player 2 on corner (0, 0), player 1 again on (0, 1): 2 orbs of 3.
  play({XK_Return}, boardWith({{0, 1, 'B'}}), {{0, 1, -6}});
  play({XK_Down}, boardWith({{0, 0, 'B'}}), {{0, 1, -6}});
  play({XK_Return}, boardWith({{0, 0, 'R'}}), {{0, 0, -3}, {0, 1, -6}});
  play({XK_Up}, boardWith({{0, 0, 'G'}, {0, 1, 'R'}}), {{0, 0, -3}, {0, 1, -6}});
  play({XK_Return}, boardWith({{0, 0, 'G'}, {0, 1, 'B'}}), {{0, 0, -3}, {0, 1, -3}});
  play({XK_Down}, boardWith({{0, 0, 'B'}, {0, 1, 'G'}}), {{0, 0, -3}, {0, 1, -3}});
  // Player 2's second orb on (0, 0) bursts it, and the wave takes (0, 1), player 1's only cell.
  Image won = play({XK_Return}, [](const Image &image) { return showsWinner(image, isBluish); });
  if (HasFailure()) keepForInspection(won, "won");
}

} // namespace
} // namespace e2e
