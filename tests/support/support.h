// Test support: a recording double of the GL, GLU and GLUT entry points the game calls, linked in
// their place (each call lands in gl::calls, its arguments as doubles), and play checked by rules.
#pragma once

#include <string_view>
#include <vector>

struct GlCall {
  std::string_view name;
  double a[10];
};

namespace gl {
extern std::vector<GlCall> calls;
extern bool outOfLists; // glGenLists gives 0 while it holds
} // namespace gl

void startPlay();                         // the state the process starts in
const char *playByte(unsigned char byte); // a key or ticks (play.cpp): nullptr, or a rule broken
