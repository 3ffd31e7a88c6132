// Screenshots of the real game for the README: the starting board, a wave of bursts, and each
// player's winner screen, played with XTEST keys in a private Xvfb and written as PNGs.
//
// Usage: fizzgrid_screenshots OUTPUT_DIR [GAME_BINARY]
// Writes start.png, wave.png, player1-wins.png and player2-wins.png into OUTPUT_DIR; exits 1 with
// a message (and the last capture as OUTPUT_DIR/failed.ppm) if a screen does not come.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <thread>

#include "scene.h"

namespace {

using e2e::Cell;
using xh::Image;

// PNG, 8-bit RGB, rows unfiltered and deflated by zlib.
void writePng(const Image &image, const std::string &path) {
  std::vector<uint8_t> rows;
  const size_t stride = size_t(image.width) * 3;
  for (int y = 0; y < image.height; y++) {
    rows.push_back(0); // filter type: none
    rows.insert(rows.end(), image.rgb.begin() + y * stride, image.rgb.begin() + (y + 1) * stride);
  }
  uLongf packedSize = compressBound(rows.size());
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, rows.data(), rows.size(), Z_BEST_COMPRESSION) != Z_OK)
    throw std::runtime_error("zlib could not compress " + path);
  packed.resize(packedSize);

  std::ofstream out(path, std::ios::binary);
  auto bigEndian = [&](uint32_t value) {
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.write(bytes, 4);
  };
  auto chunk = [&](const char *type, const std::vector<uint8_t> &data) {
    bigEndian(uint32_t(data.size()));
    out.write(type, 4);
    out.write(reinterpret_cast<const char *>(data.data()), std::streamsize(data.size()));
    uLong crc = crc32(0, reinterpret_cast<const Bytef *>(type), 4);
    if (!data.empty()) crc = crc32(crc, data.data(), uInt(data.size())); // a null buffer resets it
    bigEndian(uint32_t(crc));
  };
  out.write("\x89PNG\r\n\x1a\n", 8);
  std::vector<uint8_t> header(13, 0);
  for (int k = 0; k < 4; k++) {
    header[k] = uint8_t(uint32_t(image.width) >> (24 - 8 * k));
    header[4 + k] = uint8_t(uint32_t(image.height) >> (24 - 8 * k));
  }
  header[8] = 8; // bits per channel
  header[9] = 2; // colour type: RGB
  chunk("IHDR", header);
  chunk("IDAT", packed);
  chunk("IEND", {});
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

// Player 1 builds up the bottom-left corner, player 2 the middle of the board, until player 1's
// second orb on (0, 0) starts a cascade.
const std::vector<Cell> waveMoves = {{0, 0}, {4, 4}, {1, 0}, {5, 4}, {1, 0}, {4, 4}, {2, 0}, {5, 4},
                                     {2, 0}, {4, 5}, {0, 1}, {3, 4}, {0, 1}, {3, 4}, {0, 0}};

struct Shooter {
  Shooter(std::string outputDir, std::string program)
      : outputDir(std::move(outputDir)), program(std::move(program)) {}

  std::string outputDir, program; // program: the game's binary, or "" for the harness's default
  xh::XServer server;

  void save(const Image &image, const std::string &name) const {
    writePng(image, outputDir + "/" + name);
    std::printf("%s/%s\n", outputDir.c_str(), name.c_str());
  }

  [[noreturn]] void fail(const xh::Game &game, const std::string &what) const {
    game.capture().savePpm(outputDir + "/failed.ppm");
    throw std::runtime_error(what + " (last capture in " + outputDir + "/failed.ppm)");
  }

  void play(const xh::Game &game, const std::vector<Cell> &moves) const {
    for (unsigned long key : e2e::keysForMoves(moves))
      game.tap(key);
  }

  // A fresh game showing its first frame: the cursor's tile (4, 4) in player 1's colour.
  std::unique_ptr<xh::Game> start() {
    auto game =
        std::make_unique<xh::Game>(server, std::vector<std::string>{},
                                   std::vector<std::pair<std::string, std::string>>{}, program);
    if (!game->waitWindow()) fail(*game, "no game window");
    e2e::Pixel cursor = e2e::tileSample(4, 4, -12);
    if (!game->waitSettled(
            [&](const Image &image) { return e2e::isReddish(image.at(cursor.x, cursor.y)); }))
      fail(*game, "no first frame");
    return game;
  }

  void winner(const std::vector<Cell> &moves, bool (*colour)(xh::Rgb), const std::string &name) {
    auto game = start();
    play(*game, moves);
    // Quiet long enough to include the frame that returns the camera to rest.
    std::optional<Image> won = game->waitSettled(
        [&](const Image &image) { return e2e::showsWinner(image, colour); }, 10, 300);
    if (!won) fail(*game, "no winner screen for " + name);
    save(*won, name);
  }

  // The cascade of waveMoves. Its second wave bursts (1, 0) and (0, 1) together: the picture is
  // the frame of that wave with the most red, its spheres at their largest.
  void wave() {
    auto game = start();
    std::vector<unsigned long> keys = e2e::keysForMoves(waveMoves);
    keys.pop_back(); // the Enter that starts the cascade comes below
    for (unsigned long key : keys)
      game->tap(key);
    e2e::Pixel corner = e2e::tileSample(0, 0, -3); // the cursor, on one orb: raised from -6
    std::optional<Image> before = game->waitSettled(
        [&](const Image &image) { return e2e::isReddish(image.at(corner.x, corner.y)); });
    if (!before) fail(*game, "no board to start the wave from");

    // Red pixels in a box of 51 x 51 px around `centre`, or in the whole image.
    auto red = [](const Image &image, std::optional<e2e::Pixel> centre = {}) {
      int left = 0, top = 0, right = image.width - 1, bottom = image.height - 1;
      if (centre) {
        left = std::max(left, centre->x - 25), right = std::min(right, centre->x + 25);
        top = std::max(top, centre->y - 25), bottom = std::min(bottom, centre->y + 25);
      }
      long count = 0;
      for (int y = top; y <= bottom; y++) {
        for (int x = left; x <= right; x++)
          count += e2e::isReddish(image.at(x, y));
      }
      return count;
    };
    // Both cells hold 3 orbs as their wave starts, so their spheres stand at height 0. A sphere of
    // radius 5 (27 px on screen) adds well over 1200 red pixels to the box about its centre, also
    // with the camera swayed by up to 19 px; the corner's sphere of the first wave, 13 units away,
    // reaches into the box by a few hundred at most.
    const e2e::Pixel edges[] = {e2e::project(-32.5, -45.5, 0), e2e::project(-45.5, -32.5, 0)};
    auto bothBursting = [&](const Image &image) {
      for (e2e::Pixel centre : edges) {
        if (red(image, centre) < red(*before, centre) + 1200) return false;
      }
      return true;
    };
    // Stopped while Enter is sent, then let run a fraction of a frame at a time and captured.
    game->pause();
    game->tap(XK_Return);
    std::optional<Image> best;
    long bestRed = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      game->resume();
      std::this_thread::sleep_for(std::chrono::microseconds(300));
      game->pause();
      Image frame = game->capture();
      if (!bothBursting(frame)) {
        if (best) break; // that wave is over
        continue;
      }
      if (long count = red(frame); count > bestRed) {
        bestRed = count;
        best = frame;
      }
    }
    game->resume();
    if (!best) fail(*game, "no frame with the second wave's spheres");
    save(*best, "wave.png");
  }
};

} // namespace

int main(int argc, char **argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR [GAME_BINARY]\n", argv[0]);
    return 2;
  }
  try {
    Shooter shooter(argv[1], argc > 2 ? argv[2] : "");
    {
      auto game = shooter.start();
      shooter.save(game->capture(), "start.png");
    }
    shooter.wave();
    shooter.winner(e2e::playerOneWins, e2e::isReddish, "player1-wins.png");
    shooter.winner(e2e::playerTwoWins, e2e::isBluish, "player2-wins.png");
  } catch (const std::exception &error) {
    std::fprintf(stderr, "fizzgrid_screenshots: %s\n", error.what());
    return 1;
  }
  return 0;
}
