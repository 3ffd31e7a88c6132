// Screen geometry, colour classes and the per-test game fixture of the end-to-end tests.
#include "scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace e2e {

Pixel project(double x, double y, double z) {
  double depth = 55.0 - z; // distance in front of the eye
  return {int(std::floor(300.0 * (1.0 + x / depth))), int(std::floor(300.0 * (1.0 - y / depth)))};
}

int emptyTileHeight(int i, int j) {
  int borders = (i == 0 || i == 7) + (j == 0 || j == 7);
  return borders == 2 ? -6 : borders == 1 ? -9 : -12;
}

Pixel tileSample(int i, int j, int height) {
  return project(13 * i - 51 + 1.0, 13 * j - 51 + 10.0, height);
}

Box tileBox(int i, int j, int height) {
  Box box{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
  for (int corner = 0; corner < 8; corner++) {
    Pixel p = project(13 * i - 51 + (corner & 1 ? 11 : 0), 13 * j - 51 + (corner & 2 ? 11 : 0),
                      height - (corner & 4 ? 1 : 0));
    box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x),
           std::max(box.bottom, p.y)};
  }
  return box;
}

bool isDark(Rgb c) { return std::max({c.r, c.g, c.b}) < 40; }

bool isGrey(Rgb c) {
  return std::min({c.r, c.g, c.b}) >= 60 &&
         std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}) < 24;
}

bool isGreen(Rgb c) {
  return c.g >= 100 && c.g - std::max(c.r, c.b) >= 15 && std::abs(c.r - c.b) < 24;
}

bool isReddish(Rgb c) {
  return c.r >= 150 && c.r - std::max(c.g, c.b) >= 50 && std::abs(c.g - c.b) < 24;
}

bool isBluish(Rgb c) {
  return c.b >= 150 && c.b - std::max(c.r, c.g) >= 50 && std::abs(c.r - c.g) < 24;
}

std::string describe(Rgb c) {
  return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

std::string tileMap(const Image &image, const std::vector<Raised> &raised) {
  std::string map;
  for (int j = 7; j >= 0; j--) {
    for (int i = 0; i < 8; i++) {
      int height = emptyTileHeight(i, j);
      for (const Raised &tile : raised) {
        if (tile.i == i && tile.j == j) height = tile.height;
      }
      Pixel p = tileSample(i, j, height);
      Rgb c = image.at(p.x, p.y);
      map += isReddish(c) ? 'R' : isBluish(c) ? 'B' : isGreen(c) ? 'G' : isGrey(c) ? '.' : '?';
    }
    map += '\n';
  }
  return map;
}

std::string boardWith(std::initializer_list<Mark> marks) {
  std::string map;
  for (int row = 7; row >= 0; row--)
    map += std::string(8, '.') + '\n';
  for (const Mark &mark : marks)
    map[(7 - mark.j) * 9 + mark.i] = mark.colour;
  return map;
}

// At rest the sphere's outline is 300 * 37 / sqrt(55^2 - 37^2) = 272.8 px from the centre, so
// the middle row is lit from pixel 27 to 572; the frame drawn just before the camera comes to rest
// is turned by 0.36 degrees, about 2 px.
bool showsWinner(const Image &image, bool (*winnerColour)(Rgb)) {
  for (int y = 0; y < image.height; y++) {
    for (int x = 0; x < image.width; x++) {
      Rgb c = image.at(x, y);
      if (!isDark(c) && !winnerColour(c)) return false;
    }
  }
  int left = 0, right = image.width - 1;
  while (left < right && isDark(image.at(left, 300)))
    left++;
  while (right > left && isDark(image.at(right, 300)))
    right--;
  return std::abs(left - 27) <= 3 && std::abs(right - 572) <= 3 && winnerColour(image.at(300, 300));
}

std::vector<unsigned long> keysForMoves(const std::vector<Cell> &moves) {
  std::vector<unsigned long> keys;
  Cell cursor{4, 4};
  for (const Cell &to : moves) {
    for (; cursor.i > to.i; cursor.i--)
      keys.push_back(XK_Left);
    for (; cursor.i < to.i; cursor.i++)
      keys.push_back(XK_Right);
    for (; cursor.j > to.j; cursor.j--)
      keys.push_back(XK_Down);
    for (; cursor.j < to.j; cursor.j++)
      keys.push_back(XK_Up);
    keys.push_back(XK_Return);
  }
  return keys;
}

const std::vector<Cell> playerOneWins = {{0, 0}, {1, 0}, {0, 0}};
const std::vector<Cell> playerTwoWins = {{0, 1}, {0, 0}, {0, 1}, {0, 0}};

void GameTest::TearDown() {
  game.reset(); // the game before its server
  server.reset();
}

Image GameTest::startGame(std::vector<std::string> args,
                          std::vector<std::pair<std::string, std::string>> env) {
  if (!server) server = std::make_unique<xh::XServer>();
  game = std::make_unique<xh::Game>(*server, std::move(args), std::move(env));
  EXPECT_TRUE(game->waitWindow()) << "no window titled \"" << xh::Game::title << "\"";
  Pixel cursor = tileSample(4, 4, -12);
  std::optional<Image> first =
      game->waitFrame([&](const Image &image) { return isReddish(image.at(cursor.x, cursor.y)); });
  if (!first) {
    ADD_FAILURE() << "no first frame with the cursor on (4, 4)";
    return Image();
  }
  return *first;
}

Image GameTest::play(std::initializer_list<unsigned long> keys,
                     const std::function<bool(const Image &)> &accept) {
  if (HasFailure()) return Image(); // an earlier step went wrong: the script has lost its way
  game->markStale();
  game->tap(keys);
  std::optional<Image> frame = game->waitFrame(accept);
  if (!frame) {
    Image seen = game->capture();
    keepForInspection(seen, "timeout");
    ADD_FAILURE() << "no expected frame after " << keys.size() << " keys; tiles seen:\n"
                  << tileMap(seen);
    return Image();
  }
  return *frame;
}

Image GameTest::play(std::initializer_list<unsigned long> keys, const std::string &expected,
                     const std::vector<Raised> &raised) {
  return play(keys, [&](const Image &image) { return tileMap(image, raised) == expected; });
}

void GameTest::keepForInspection(const Image &image, const std::string &what) const {
  const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string path =
      std::string(test->test_suite_name()) + "." + test->name() + "." + what + ".ppm";
  if (image.width > 0 && image.savePpm(path)) printf("saved %s\n", path.c_str());
}

} // namespace e2e
