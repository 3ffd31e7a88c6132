// The game states the benchmarks time and the screenshots show, shared by the GL and CPU programs.
//
// Each scene sets every game variable that drawBoard and display read (game/state.h), so scenes
// may be set in any order. A scene that times the building of a sphere list names that list's
// slot: the program empties the slot (and frees the GL list, where there is one) before every
// frame, so every timed frame builds the list again, as the first frame that needs it does in the
// game. The other scenes expect all three lists to exist; drawAllOnce() sees to that.
#pragma once

#include <GL/gl.h>

struct Scene {
  const char *name;
  void (*setState)(void);
  GLuint *rebuiltList; // sphere-list slot rebuilt in every frame, or nullptr
  bool timed;          // false for the scenes that are only pictured
};

extern const Scene scenes[];
extern const int sceneCount;

// The scene named `name`, or nullptr.
const Scene *findScene(const char *name);

// Draws one frame of every timed scene through display(), the list-building scenes last, so that
// afterwards every sphere list exists.
void drawAllOnce(void);
