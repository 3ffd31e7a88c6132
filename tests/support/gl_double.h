// Recording double of the GL, GLU and GLUT entry points the game calls, linked in their place.
//
// Every call is appended to gl::calls with its arguments as doubles (glLightfv and glMaterialfv
// with their four floats). glutSwapBuffers also counts a frame. glGenLists answers gl::nextList
// and counts up, or answers 0 for as long as a test leaves gl::nextList at 0. The registrations
// keep the callbacks, so a test drives the game as the toolkit would; glutMainLoop returns.
#pragma once

#include <string_view>
#include <vector>

struct GlCall {
  std::string_view name; // the entry point, e.g. "glVertex3f"
  double a[10];
  int n; // arguments in a
};

namespace gl {
extern std::vector<GlCall> calls;
extern int frames;
extern unsigned nextList;
extern bool recording;    // false: count frames and keep callbacks, record no call
extern const char *title; // the one glutCreateWindow received
extern void (*display)(), (*reshape)(int, int), (*idle)();
extern void (*keyboard)(unsigned char, int, int), (*special)(int, int, int);
void reset(); // forgets the calls and the frames
} // namespace gl
