// The game states that the benchmarks time and the README's pictures show. Needs no benchmark
// library, so that the browser's benchmark page (bench/frame_web.cpp) builds it too.
//
// Each scene sets every game variable that display() reads (game/state.h), so scenes may be set
// in any order. A build scene names a sphere list's slot, which the programs empty (freeing the GL
// list) before every frame: every frame then builds that list, as the first frame that needs it
// does in the game. The other scenes expect every list to exist, as drawAllOnce() leaves them.
#pragma once

#include <GL/gl.h>

struct Scene {
  const char *name; // also the file name of its picture, if the README shows it
  void (*setState)(void);
  GLuint *rebuiltList; // the slot emptied before every frame, or nullptr
};

extern const Scene scenes[];
extern const int sceneCount;

void drawAllOnce(void); // one frame of every scene through display()
