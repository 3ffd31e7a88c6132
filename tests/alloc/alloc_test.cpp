// Checks that the game allocates nothing on the heap from start-up through play and many frames.
#include <gtest/gtest.h>

#include <GL/glut.h>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "game/state.h"
#include "gl_recorder.h"
#include "render/sphere.h"

int runFizzgridMain(int argc, char **argv);

// The C allocator's entry points are defined here, in the executable, and forward to glibc's own
// allocator. The dynamic linker resolves every library's malloc to the executable's first, so
// this counts allocations made anywhere in the process: our code, libstdc++'s operator new, and
// libc functions that allocate internally.
static std::atomic<unsigned long> allocationCount{0};

extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *block, size_t size);
void *__libc_memalign(size_t alignment, size_t size);
void __libc_free(void *block);

static void countAllocation() { allocationCount.fetch_add(1, std::memory_order_relaxed); }

void *malloc(size_t size) noexcept {
  countAllocation();
  return __libc_malloc(size);
}
void *calloc(size_t count, size_t size) noexcept {
  countAllocation();
  return __libc_calloc(count, size);
}
void *realloc(void *block, size_t size) noexcept {
  countAllocation();
  return __libc_realloc(block, size);
}
void *aligned_alloc(size_t alignment, size_t size) noexcept {
  countAllocation();
  return __libc_memalign(alignment, size);
}
void *memalign(size_t alignment, size_t size) noexcept {
  countAllocation();
  return __libc_memalign(alignment, size);
}
int posix_memalign(void **block, size_t alignment, size_t size) noexcept {
  countAllocation();
  if (alignment % sizeof(void *) != 0 || (alignment & (alignment - 1)) != 0) return EINVAL;
  void *aligned = __libc_memalign(alignment, size);
  if (aligned == nullptr) return ENOMEM;
  *block = aligned;
  return 0;
}
void free(void *block) noexcept { __libc_free(block); }
}

namespace {

// Keeps the optimiser from eliding an allocation whose result is otherwise unused.
template <typename T> T *escape(T *pointer) {
  asm volatile("" : : "g"(pointer) : "memory");
  return pointer;
}

unsigned long allocationsDuring(const std::function<void()> &work) {
  unsigned long before = allocationCount.load();
  work();
  return allocationCount.load() - before;
}

// The counter must see every way an allocation can be made, or a zero below would prove nothing.
TEST(CountingAllocator, CountsEveryKindOfAllocation) {
  const std::vector<std::pair<const char *, std::function<void()>>> cases = {
      {"malloc", [] { free(escape(malloc(24))); }},
      {"calloc", [] { free(escape(calloc(3, 8))); }},
      {"realloc", [] { free(escape(realloc(nullptr, 24))); }},
      {"aligned_alloc", [] { free(escape(aligned_alloc(64, 64))); }},
      {"new", [] { delete escape(new int(7)); }},
      {"new[]", [] { delete[] escape(new char[40]); }},
      {"strdup, inside libc", [] { free(escape(strdup("orbs"))); }},
      {"std::string", [] { escape(std::string(200, 'x').data()); }},
  };
  for (const auto &c : cases)
    EXPECT_GE(allocationsDuring(c.second), 1u) << c.first;
}

void press(unsigned char key, int times = 1) {
  for (int i = 0; i < times; i++)
    glrec::keyboardFunc(key, 300, 300);
}
void arrow(int key, int times = 1) {
  for (int i = 0; i < times; i++)
    glrec::specialFunc(key, 300, 300);
}
// Ticks until the cascade under way has ended (a wave is 19 ticks), plus the tick that returns
// the camera to rest. Bounded, so a sequencer that never settles cannot hang the test.
void settle() {
  for (int i = 0;
       i < 19 * 100 && (gamePhase == PHASE_BURST_GROW || gamePhase == PHASE_BURST_SHRINK); i++)
    glrec::idleFunc();
  glrec::idleFunc();
}

const unsigned char ENTER = 13, SPACE = 32;

TEST(NoAllocation, StartUpAWholeGameANewGameAndManyFrames) {
  // The state of a fresh process: main relies on these being zero.
  burstStep = 0;
  sphereList3 = sphereList15 = sphereList100 = 0;
  glrec::reset();
  glrec::logging = false;
  char program[] = "fizzgrid";
  char *argv[] = {program, nullptr};

  // Nothing in this window may allocate, gtest's own assertions included: results are kept in
  // locals and checked afterwards.
  int phaseAfterWin = -1, phaseAfterNewGame = -1, cascadeWaves = 0;
  unsigned long allocations = allocationsDuring([&] {
    runFizzgridMain(1, argv);
    if (!glrec::displayFunc || !glrec::reshapeFunc || !glrec::keyboardFunc || !glrec::specialFunc ||
        !glrec::idleFunc)
      return;
    // The toolkit's first showing of the window.
    glrec::reshapeFunc(600, 600);
    glrec::displayFunc();
    for (int i = 0; i < 50; i++)
      glrec::idleFunc(); // at rest: nothing to do

    // Three-move win for player 1: (0, 0), then player 2 on (1, 0), then (0, 0) bursts.
    arrow(GLUT_KEY_LEFT, 4);
    arrow(GLUT_KEY_DOWN, 4);
    press(ENTER);
    arrow(GLUT_KEY_RIGHT);
    press(ENTER);
    arrow(GLUT_KEY_LEFT);
    press(ENTER);
    settle();
    phaseAfterWin = gamePhase;
    press(ENTER);          // ignored on the winner's screen
    arrow(GLUT_KEY_UP, 3); // ignored too
    press(SPACE);
    phaseAfterNewGame = gamePhase;

    // Second game: player 1 loads the bottom edge, player 2 answers along the top edge, then
    // player 1's second orb on (0, 0) sets off a cascade along the edge.
    arrow(GLUT_KEY_LEFT, 4);
    arrow(GLUT_KEY_DOWN, 4);
    for (int x = 0; x < 4; x++) {
      int orbs = x == 0 ? 1 : 2; // one short of critical mass: 2 in the corner, 3 on the edge
      for (int k = 0; k < orbs; k++) {
        press(ENTER); // player 1 on (x, 0)
        arrow(GLUT_KEY_UP, 7);
        press(ENTER);             // player 2 on (x, 7) when it is still free, refused otherwise
        if (currentPlayer == 2) { // refused: player 2 goes one cell to the right instead
          arrow(GLUT_KEY_RIGHT);
          press(ENTER);
          arrow(GLUT_KEY_LEFT);
        }
        arrow(GLUT_KEY_DOWN, 7);
      }
      if (x < 3) arrow(GLUT_KEY_RIGHT);
    }
    arrow(GLUT_KEY_LEFT, 3);
    press(ENTER); // (0, 0) reaches 2
    while (gamePhase == PHASE_BURST_GROW || gamePhase == PHASE_BURST_SHRINK) {
      for (int i = 0; i < 19; i++)
        glrec::idleFunc();
      cascadeWaves++;
    }
    glrec::idleFunc();

    // Many frames of whatever is on the board, in two window shapes.
    for (int i = 0; i < 500; i++)
      glrec::displayFunc();
    glrec::reshapeFunc(800, 400);
    for (int i = 0; i < 500; i++)
      glrec::displayFunc();
  });
  int frames = glrec::framesSwapped;
  glrec::logging = true;

  ASSERT_TRUE(glrec::displayFunc && glrec::reshapeFunc && glrec::keyboardFunc &&
              glrec::specialFunc && glrec::idleFunc)
      << "main did not register all five callbacks";
  EXPECT_EQ(allocations, 0u);
  // The window really covered a win, a new game, a cascade, all three sphere lists and the frames.
  EXPECT_EQ(phaseAfterWin, PHASE_PLAYER1_WON);
  EXPECT_EQ(phaseAfterNewGame, PHASE_AWAIT_MOVE);
  EXPECT_GE(cascadeWaves, 2);
  EXPECT_NE(sphereList3, 0u);
  EXPECT_NE(sphereList15, 0u);
  EXPECT_NE(sphereList100, 0u);
  EXPECT_GT(frames, 1000);
}

} // namespace
