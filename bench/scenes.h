// The game states that the benchmarks time and the README's pictures show.
//
// Each scene sets every game variable that display() reads (game/state.h), so scenes may be set
// in any order. A build scene names a sphere list's slot, which the programs empty (freeing the GL
// list) before every frame: every frame then builds that list, as the first frame that needs it
// does in the game. The other scenes expect every list to exist, as drawAllOnce() leaves them.
#pragma once

#include <GL/gl.h>
#include <benchmark/benchmark.h>

struct Scene {
  const char *name; // also the file name of its picture, if the README shows it
  void (*setState)(void);
  GLuint *rebuiltList; // the slot emptied before every frame, or nullptr
};

extern const Scene scenes[];
extern const int sceneCount;

void drawAllOnce(void); // one frame of every scene through display()

// Registers PREFIX/SCENE for every scene, each running `frame` (times in µs), runs those that the
// command line selects, and returns main's exit status.
int runSceneBenchmarks(int argc, char **argv, const char *prefix,
                       void (*frame)(benchmark::State &, const Scene *));
