// Test support: a recording double of the game's GL, GLU and GLUT, and play checked by the rules.
#pragma once

#include <string_view>
#include <vector>

struct GlCall {
  std::string_view name;
  double a[10]; // the arguments, a vector's components one by one
};
extern std::vector<GlCall> glCalls; // every call since cleared; glCallList as the list's calls

void startPlay();                         // the state the process starts in
const char *playByte(unsigned char byte); // a key or ticks: nullptr, or the rule it broke
