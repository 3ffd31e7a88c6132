// End-to-end: the window, quitting, the command line, and the first frame read back by pixels.
#include <algorithm>
#include <sys/stat.h>

#include "scene.h"

namespace e2e {
namespace {

// First and last non-dark pixel along a row (or column) of the image.
std::pair<int, int> litSpan(const Image &image, int index, bool row) {
  int length = row ? image.width : image.height, first = -1, last = -1;
  for (int k = 0; k < length; k++) {
    if (!isDark(row ? image.at(k, index) : image.at(index, k))) {
      if (first < 0) first = k;
      last = k;
    }
  }
  return {first, last};
}

// Length of the run of non-dark pixels on row `at.y` that contains `at`.
int runWidth(const Image &image, Pixel at) {
  int left = at.x, right = at.x;
  while (left > 0 && !isDark(image.at(left - 1, at.y)))
    left--;
  while (right + 1 < image.width && !isDark(image.at(right + 1, at.y)))
    right++;
  return right - left + 1;
}

using WindowTest = GameTest;

TEST_F(WindowTest, OneTitledWindowOf600By600AtTheOriginOnBlack) {
  Image first = startGame();
  ASSERT_GT(first.width, 0);
  EXPECT_EQ(server->topLevelWindows(xh::Game::title).size(), 1u);
  xh::Game::Geometry where = game->geometry();
  EXPECT_EQ(where.x, 0);
  EXPECT_EQ(where.y, 0);
  EXPECT_EQ(where.width, 600);
  EXPECT_EQ(where.height, 600);
  for (Pixel corner : {Pixel{0, 0}, Pixel{599, 0}, Pixel{0, 599}, Pixel{599, 599}, Pixel{20, 20}}) {
    Rgb c = first.at(corner.x, corner.y);
    EXPECT_TRUE(c.r == 0 && c.g == 0 && c.b == 0)
        << "at " << corner.x << "," << corner.y << ": " << describe(c);
  }
  EXPECT_EQ(game->stdoutText(), "");
}

TEST_F(WindowTest, EscapeAndBothQsQuitWithStatusZero) {
  const std::pair<unsigned long, const char *> keys[] = {
      {XK_Escape, "Escape"}, {XK_q, "q"}, {XK_Q, "Q"}};
  for (const auto &[key, name] : keys) {
    SCOPED_TRACE(name);
    ASSERT_GT(startGame().width, 0);
    game->tap(key);
    EXPECT_EQ(game->waitExit(), std::optional<int>(0));
  }
}

TEST_F(WindowTest, EscapeDuringAWaveQuitsWithStatusZero) {
  ASSERT_GT(startGame().width, 0);
  // Player 1 on (0, 0), player 2 on (1, 0): player 1's second orb on (0, 0) starts a wave.
  ASSERT_GT(play({XK_Left, XK_Left, XK_Left, XK_Left, XK_Down, XK_Down, XK_Down, XK_Down, XK_Return,
                  XK_Right, XK_Return, XK_Left},
                 boardWith({{0, 0, 'R'}}), {{0, 0, -3}, {1, 0, -6}})
                .width,
            0);
  // Stopped, the game reads Enter and Escape in one batch: Escape comes before the first tick.
  game->pause();
  game->tap({XK_Return, XK_Escape});
  game->resume();
  EXPECT_EQ(game->waitExit(), std::optional<int>(0));
}

TEST_F(WindowTest, UnknownArgumentsAreIgnored) {
  Image first = startGame({"--foo", "bar"});
  EXPECT_EQ(tileMap(first), boardWith({{4, 4, 'R'}}));
  game->tap(XK_q);
  EXPECT_EQ(game->waitExit(), std::optional<int>(0));
}

TEST_F(WindowTest, NoDisplayIsOneLineOnStderrAndAFailingStatus) {
  server = std::make_unique<xh::XServer>();
  int number = 9000; // far above the numbers Xvfb picks for itself
  struct stat unused;
  while (stat(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), &unused) == 0)
    number++;
  game = std::make_unique<xh::Game>(
      *server, std::vector<std::string>{},
      std::vector<std::pair<std::string, std::string>>{{"DISPLAY", ":" + std::to_string(number)}});
  std::optional<int> status = game->waitExit();
  ASSERT_TRUE(status);
  EXPECT_NE(*status, 0);
  std::string text = game->stderrText();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
  EXPECT_NE(text.find("open display"), std::string::npos) << text;
  EXPECT_NE(text.find(":" + std::to_string(number)), std::string::npos) << text;
}

TEST_F(WindowTest, FirstFrameShowsTheCursorTileTheGapsAndThreeTileHeights) {
  Image first = startGame();
  ASSERT_GT(first.width, 0);
  EXPECT_EQ(tileMap(first), boardWith({{4, 4, 'R'}}));

  // Dark gaps between every pair of neighbouring tiles, across and up.
  std::string lit;
  for (int a = 0; a < 7; a++) {
    for (int b = 0; b < 8; b++) {
      Box left = tileBox(a, b, emptyTileHeight(a, b));
      Box right = tileBox(a + 1, b, emptyTileHeight(a + 1, b));
      Pixel across{(left.right + right.left) / 2, (left.top + left.bottom) / 2};
      Box lower = tileBox(b, a, emptyTileHeight(b, a));
      Box upper = tileBox(b, a + 1, emptyTileHeight(b, a + 1));
      Pixel up{(lower.left + lower.right) / 2, (lower.top + upper.bottom) / 2};
      for (Pixel gap : {across, up}) {
        Rgb c = first.at(gap.x, gap.y);
        if (!isDark(c))
          lit += " " + std::to_string(gap.x) + "," + std::to_string(gap.y) + describe(c);
      }
    }
  }
  EXPECT_EQ(lit, "") << "gaps that are not dark";

  // Centred: the lit span of tile row 4 and of tile column 4 runs from pixel 61 to 538 (the edge
  // tiles' outer edges, 51 units out at depth 64: 300 * 51 / 64 = 239 px from the centre).
  EXPECT_EQ(litSpan(first, 270, true), std::make_pair(61, 538));
  EXPECT_EQ(litSpan(first, 329, false), std::make_pair(61, 538));

  // Nearer tiles look wider. Top face plus the one side face turned to the eye: corner (0, 0)
  // 57.3 px, edge (1, 0) 53.5 px, inner (1, 1) 51.0 px.
  int corner = runWidth(first, project(-45.5, -45.5, -6));
  int edge = runWidth(first, project(-32.5, -45.5, -9));
  int inner = runWidth(first, project(-32.5, -32.5, -12));
  EXPECT_NEAR(corner, 57.3, 1.5);
  EXPECT_NEAR(edge, 53.5, 1.5);
  EXPECT_NEAR(inner, 51.0, 1.5);
  EXPECT_GT(corner, edge);
  EXPECT_GT(edge, inner);
  if (HasFailure()) keepForInspection(first, "first");
}

TEST_F(WindowTest, RedrawWithoutChangeIsIdenticalPixelForPixel) {
  ASSERT_GT(startGame().width, 0);
  Image before = play({XK_Down, XK_Down, XK_Down, XK_Down}, boardWith({{4, 0, 'R'}}));
  // Down at the bottom edge redraws without moving; the sentinel proves a new frame came.
  game->markStale();
  game->tap(XK_Down);
  std::optional<Image> after = game->waitFrame();
  ASSERT_TRUE(after);
  EXPECT_EQ(differingPixels(before, *after), 0);
}

TEST_F(WindowTest, ResizeStretchesTheSquareViewAndACloseRequestQuits) {
  ASSERT_GT(startGame().width, 0);
  // Stopped while resized and marked, so the redraw that the resize causes comes after the mark.
  game->pause();
  game->resize(800, 400);
  game->markStale();
  game->resume();
  std::optional<Image> wide = game->waitSettled();
  ASSERT_TRUE(wide);
  ASSERT_EQ(wide->width, 800);
  ASSERT_EQ(wide->height, 400);
  // The spans of the 600 x 600 frame, 61..538, scaled by 4/3 across and 2/3 up.
  EXPECT_EQ(litSpan(*wide, 180, true), std::make_pair(81, 718));
  EXPECT_EQ(litSpan(*wide, 438, false), std::make_pair(41, 358));
  game->requestClose();
  EXPECT_EQ(game->waitExit(), std::optional<int>(0));
}

} // namespace
} // namespace e2e
