// Property test: thousands of seeded random games played through keyboard, special and idle
// alone, with the game's invariants checked after every call.
//
// FIZZGRID_RANDOM_GAMES sets the number of games (default 10000) and FIZZGRID_RANDOM_SEED the
// seed of the first game; game g uses seed + g, and a failure names its seed and call.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>

#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "gl_recorder.h"
#include "invariants.h"
#include "rules_support.h"

namespace {

// Placements before a game is stopped unfinished. Frames cost most of the run time (about 11 us
// each through the recording double), so most games are short; one in 200 runs long enough to
// crowd the board and set off long cascades.
const int kShortBudget = 8;
const int kLongBudget = 60;
const int kLongOdds = 200;
const int kCascadeLimit = 20000; // ticks a stopped game may take to settle

struct Totals {
  long games = 0, won = 0, stopped = 0, moves = 0, waves = 0, calls = 0, frames = 0;
  int longestCascade = 0; // waves
};

bool inWave(int phase) { return phase == PHASE_BURST_GROW || phase == PHASE_BURST_SHRINK; }

// The number of orthogonal neighbours on the board, which is the cell's critical mass.
int neighbours(int x, int y) { return (x > 0) + (x < 7) + (y > 0) + (y < 7); }

// One random game after another, checking every call. `error` holds the first broken invariant.
struct Player {
  std::mt19937 rng;
  unsigned seed = 0;
  long call = 0;
  int placed = 0; // orbs placed in this game
  int mover = 0;  // currentPlayer when the running cascade started
  int cascadeWaves = 0;
  Totals totals;
  std::string error;

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

  void fail(const std::string &what) {
    if (!error.empty()) return;
    std::ostringstream out;
    out << "game seed " << seed << ", call " << call << ": " << what;
    error = out.str();
  }

  // The invariants that hold after any call.
  void checkState() {
    BrokenInvariant broke = findBrokenInvariant(placed);
    if (!broke.what) return;
    std::ostringstream out;
    out << broke.what;
    if (broke.x >= 0) out << " at cell (" << broke.x << ", " << broke.y << ")";
    fail(out.str());
  }

  enum Kind { TICK, ENTER, SPACE, ARROW, OTHER_KEY, OTHER_SPECIAL };
  struct Action {
    Kind kind;
    int code;
  };

  // Any call at all: a stray key at any moment, or a tick.
  Action anyAction() {
    static const unsigned char otherKeys[] = {'a', 'w', '\n', 0, 255, 'e', '1', 127};
    static const int otherSpecials[] = {1, 5, 12, 99, 104, 105, 106, 107, 108};
    int r = pick(100);
    if (r < 35) return {ARROW, ARROW_LEFT + pick(4)};
    if (r < 55) return {ENTER, KEY_ENTER};
    if (r < 65) return {SPACE, KEY_SPACE};
    if (r < 75) return {OTHER_KEY, otherKeys[pick(sizeof otherKeys)]};
    if (r < 85) return {OTHER_SPECIAL, otherSpecials[pick(sizeof otherSpecials / sizeof(int))]};
    return {TICK, 0};
  }

  // The cell the player to move is heading for. Mostly the nearest cell, or their own cell
  // nearest to bursting, so that play stays close together and reaches captures and wins within
  // the budget; now and then any cell they may play.
  int targetX = 0, targetY = 0, targetPlayer = 0;
  int aggression = 0; // percent of targets chosen to burst, drawn per game

  bool playable(int x, int y) { return cellOwner[x][y] == 0 || cellOwner[x][y] == currentPlayer; }

  void chooseTarget() {
    int style = pick(100); // below aggression: to burst; the last 15: anywhere; else: nearby
    int best = -1000, found = 0;
    for (int x = 0; x < 8; x++) {
      for (int y = 0; y < 8; y++) {
        if (!playable(x, y)) continue;
        int distance = std::abs(x - cursorX) + std::abs(y - cursorY), score = 0;
        if (style < aggression)
          score = (cellOwner[x][y] == currentPlayer ? 100 - 10 * (neighbours(x, y) - orbCount[x][y])
                                                    : 0) -
                  distance;
        else if (style < 85)
          score = -distance;
        if (score > best) {
          best = score;
          found = 0;
        }
        if (score == best && pick(++found) == 0) { // a uniform choice among the best
          targetX = x;
          targetY = y;
        }
      }
    }
    targetPlayer = currentPlayer;
  }

  Action chooseAction() {
    if (pick(100) < 15) return anyAction();
    if (inWave(gamePhase)) return {TICK, 0};
    if (gamePhase != PHASE_AWAIT_MOVE) return pick(3) == 0 ? Action{SPACE, KEY_SPACE} : anyAction();
    if (targetPlayer != currentPlayer || !playable(targetX, targetY)) chooseTarget();
    int dx = targetX - cursorX, dy = targetY - cursorY;
    if (dx == 0 && dy == 0) return {ENTER, KEY_ENTER};
    if (dy == 0 || (dx != 0 && pick(2) == 0)) return {ARROW, dx < 0 ? ARROW_LEFT : ARROW_RIGHT};
    return {ARROW, dy < 0 ? ARROW_DOWN : ARROW_UP};
  }

  // One call of keyboard, special or idle, checked against the state before it.
  void step(bool ticksOnly) {
    call++;
    GameSnapshot before = snapshot();
    int framesBefore = glrec::framesSwapped;
    Action action = ticksOnly ? Action{TICK, 0} : chooseAction();
    Kind kind = action.kind;
    if (kind == TICK)
      idle();
    else if (kind == ARROW || kind == OTHER_SPECIAL)
      special(action.code, 0, 0);
    else
      keyboard((unsigned char)action.code, 0, 0);
    int frames = glrec::framesSwapped - framesBefore;
    totals.calls++;
    totals.frames += frames;
    GameSnapshot after = snapshot();
    bool changed = std::memcmp(&before, &after, sizeof before) != 0;
    if (frames > 1) fail("one call drew " + std::to_string(frames) + " frames");
    if (frames == 0 && changed) fail("state changed without a frame");

    bool waveBefore = inWave(before.phase);
    if (kind == TICK && waveBefore && frames != 1) fail("a tick in a wave drew no frame");
    if (kind == TICK && !waveBefore &&
        (swingAngle != 750 || frames != (before.angle != 750) || (frames && swingBack != 0)))
      fail("a tick outside a wave did not bring the camera to rest once");
    if (kind != TICK && waveBefore && frames != 0) fail("a key acted during a wave");
    if ((kind == OTHER_KEY || kind == OTHER_SPECIAL) && frames != 0)
      fail("an unknown key drew a frame");
    if (kind == ENTER && frames == 1) {
      placed++;
      totals.moves++;
      if (inWave(gamePhase)) {
        mover = currentPlayer;
        cascadeWaves = 0;
      }
    }
    if (kind == SPACE && frames == 1) {
      if (before.phase != PHASE_PLAYER1_WON && before.phase != PHASE_PLAYER2_WON)
        fail("Space acted outside a won game");
      placed = 0; // a new game
    }
    if (kind == TICK && before.phase == PHASE_BURST_GROW && gamePhase == PHASE_BURST_SHRINK) {
      totals.waves++;
      if (++cascadeWaves > totals.longestCascade) totals.longestCascade = cascadeWaves;
    }
    if (waveBefore && currentPlayer != mover && inWave(gamePhase))
      fail("the mover changed inside a cascade");
    if (waveBefore && !inWave(gamePhase)) {
      if (gamePhase == PHASE_AWAIT_MOVE && currentPlayer == mover)
        fail("the turn did not pass after a cascade");
      if (gamePhase > PHASE_AWAIT_MOVE && (currentPlayer != mover || gamePhase != mover + 2))
        fail("a cascade ended in a win for the wrong player");
    }
    checkState();
  }

  // One game from the starting state until Space follows its win, or until the move budget is
  // spent and the last cascade has settled. True when Space has started the next game.
  bool playGame(unsigned gameSeed, bool freshStart) {
    seed = gameSeed;
    rng.seed(gameSeed);
    call = 0;
    if (freshStart) {
      startGame();
      glrec::logging = false;
    }
    placed = 0;
    targetPlayer = 0;
    aggression = 30 + pick(50);
    int budget = pick(kLongOdds) == 0 ? kLongBudget : kShortBudget;
    bool won = false;
    while (error.empty()) {
      int phaseBefore = gamePhase;
      if (placed >= budget && !won) break;
      step(false);
      if (gamePhase >= PHASE_PLAYER1_WON) won = true;
      if (phaseBefore >= PHASE_PLAYER1_WON && gamePhase == PHASE_AWAIT_MOVE) {
        // Space began the next game (checkState has found the board empty).
        if (cursorX != 4 || cursorY != 4 || currentPlayer != 1)
          fail("Space did not start a fresh game");
        totals.won++;
        totals.games++;
        return true;
      }
    }
    for (int t = 0; t < kCascadeLimit && inWave(gamePhase) && error.empty(); t++)
      step(true);
    if (inWave(gamePhase)) fail("cascade did not settle");
    // Still legal: no wave running, so either a move is awaited or the game was won by the last
    // cascade; checkState has already held the board to the invariants of that phase.
    if (gamePhase >= PHASE_PLAYER1_WON)
      totals.won++;
    else
      totals.stopped++;
    totals.games++;
    return false;
  }
};

long envNumber(const char *name, long fallback) {
  const char *text = std::getenv(name);
  return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

} // namespace

TEST(RandomGames, InvariantsHoldAfterEveryCall) {
  const long games = envNumber("FIZZGRID_RANDOM_GAMES", 10000);
  const unsigned seed = (unsigned)envNumber("FIZZGRID_RANDOM_SEED", 20240611);
  Player player;
  auto start = std::chrono::steady_clock::now();
  bool fresh = true;
  // After Space the next game goes on from there; no key resets a game stopped at its budget,
  // so the next one starts from main's state.
  for (long g = 0; g < games && player.error.empty(); g++)
    fresh = !player.playGame(seed + (unsigned)g, fresh);
  glrec::logging = true;
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const Totals &t = player.totals;
  std::printf("random games: %ld played (%ld won, %ld stopped at their move budget), %ld moves, "
              "%ld waves (longest cascade %d), %ld calls, %ld frames, %.2f s\n",
              t.games, t.won, t.stopped, t.moves, t.waves, t.longestCascade, t.calls, t.frames,
              seconds);
  EXPECT_EQ(player.error, "");
  EXPECT_EQ(t.games, games);
  // The player must not have drifted into games that never burst or never end.
  EXPECT_GE(t.won * 10, t.games);
  EXPECT_GE(t.waves * 10, t.games);
}
