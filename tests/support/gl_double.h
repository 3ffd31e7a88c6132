// Recording double of the GL, GLU and GLUT entry points the game calls, linked in their place.
//
// Each call lands in gl::calls with its arguments as doubles (glLightfv and glMaterialfv with
// their four floats) while gl::recording is on; glutSwapBuffers counts gl::frames either way.
// glGenLists answers gl::nextList and counts up, or answers 0 while a test holds it at 0.
// glutMainLoop returns at once, so main runs to its end.
#pragma once

#include <string_view>
#include <vector>

struct GlCall {
  std::string_view name; // the entry point, e.g. "glVertex3f"
  double a[10];
};

namespace gl {
extern std::vector<GlCall> calls;
extern int frames;
extern unsigned nextList;
extern bool recording;
inline void reset() { calls.clear(), frames = 0; }
} // namespace gl
