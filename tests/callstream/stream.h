// Helpers that read the recorder's log back as the calls, facets and scene items a test expects.
//
// expectStream compares calls exactly (name and every argument). facetsOf turns a run of
// glBegin..glEnd pairs into facets. sceneOf reads a drawBoard stream back into one line per
// material applied ("orb1"), tile ("tile -51 -51 -6": corner and top height) and sphere
// ("sphere -45.5 -45.5 -3 r2 n3"); anything it does not recognise becomes a "?" line.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "gl_recorder.h"

using Want = std::pair<std::string, std::vector<double>>;
using Vec3 = std::array<double, 3>;

// The calls as expectations, to compare one recorded stream with another.
std::vector<Want> wantsOf(const std::vector<glrec::Call> &calls);
// Adds a gtest failure for the first call that differs from `want`, and for a length mismatch.
void expectStream(const std::vector<glrec::Call> &calls, const std::vector<Want> &want);

struct Facet {
  unsigned mode; // GL_TRIANGLES or GL_QUADS
  Vec3 normal;
  std::vector<Vec3> corners;
};
std::vector<Facet> facetsOf(const std::vector<glrec::Call> &calls);

// The calls of the last frame strictly between its glLightfv and its glFlush: what drawBoard sent.
std::vector<glrec::Call> boardCalls(const std::vector<glrec::Call> &calls);
std::vector<std::string> sceneOf(const std::vector<glrec::Call> &calls);
// The items of cell (x, y) in a scene of the 64-tile board: its tile material up to the next one.
std::vector<std::string> cellOf(const std::vector<std::string> &scene, int x, int y);
