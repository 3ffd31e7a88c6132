// Test support: a recording double of the GL, GLU and GLUT entry points the game calls, linked in
// their place, and play of the game through its callbacks, one byte an event.
//
// The double: each call lands in gl::calls, with its arguments as doubles, while gl::recording is
// on; glutSwapBuffers counts gl::frames; glGenLists answers gl::nextList and counts up, or 0 while
// a test holds it at 0; glutMainLoop returns at once.
// Play, for the random games and the fuzz target: startPlay() is the state the process starts in;
// playByte() runs byte & 7 = 0..3 an arrow (Left, Up, Right, Down), 4 Enter, 5 Space, 6 another
// key, 7 (byte >> 3) + 1 idle ticks, and returns the rule the game broke, or nullptr. It never
// presses a quit key.
#pragma once

#include <string_view>
#include <vector>

struct GlCall {
  std::string_view name;
  double a[10];
};

namespace gl {
extern std::vector<GlCall> calls;
extern int frames;
extern unsigned nextList;
extern bool recording;
inline void reset() { calls.clear(), frames = 0; }
} // namespace gl

void startPlay();
const char *playByte(unsigned char byte);
