// Test support: a recording double of the GL, GLU and GLUT entry points the game calls, linked in
// their place (each call lands in gl::calls with its arguments as doubles, glutSwapBuffers counts
// gl::frames, glGenLists answers gl::nextList and counts up, or 0 while it is 0); and play through
// the callbacks, for random games and fuzzing: playByte runs byte & 7 = 0..3 an arrow (Left Up
// Right Down), 4 Enter, 5 Space, 6 other keys, 7 (byte >> 3) + 1 ticks; nullptr or a rule broken.
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
inline void reset() { calls.clear(), frames = 0; }
} // namespace gl

void startPlay(); // the state the process starts in
const char *playByte(unsigned char byte);
