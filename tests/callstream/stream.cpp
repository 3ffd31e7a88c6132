// Reading the recorder's log back into calls, facets and scene items.
#include "stream.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <sstream>

#include "render/sphere.h"

std::vector<Want> wantsOf(const std::vector<glrec::Call> &calls) {
  std::vector<Want> wants;
  for (const glrec::Call &call : calls)
    wants.push_back({call.name, call.args});
  return wants;
}

void expectStream(const std::vector<glrec::Call> &calls, const std::vector<Want> &want) {
  EXPECT_EQ(calls.size(), want.size());
  for (size_t i = 0; i < calls.size() && i < want.size(); i++) {
    glrec::Call expected;
    expected.name = want[i].first;
    expected.args = want[i].second;
    if (calls[i].name != expected.name || calls[i].args != expected.args) {
      ADD_FAILURE() << "call " << i << ": got " << glrec::describe(calls[i]) << ", want "
                    << glrec::describe(expected);
      return;
    }
  }
}

static Vec3 vec(const glrec::Call &call) { return {call.args[0], call.args[1], call.args[2]}; }

std::vector<Facet> facetsOf(const std::vector<glrec::Call> &calls) {
  std::vector<Facet> facets;
  for (const glrec::Call &call : calls) {
    if (call.name == "glBegin") facets.push_back({(unsigned)call.args[0], {}, {}});
    if (facets.empty()) continue;
    if (call.name == "glNormal3f") facets.back().normal = vec(call);
    if (call.name == "glVertex3f") facets.back().corners.push_back(vec(call));
  }
  return facets;
}

std::vector<glrec::Call> boardCalls(const std::vector<glrec::Call> &calls) {
  size_t light = 0, flush = calls.size();
  for (size_t i = 0; i < calls.size(); i++) {
    if (calls[i].name == "glLightfv") light = i + 1;
    if (calls[i].name == "glFlush") flush = i;
  }
  return std::vector<glrec::Call>(calls.begin() + light, calls.begin() + flush);
}

// The six sets of the board scene, ambient, diffuse, specular.
static const struct {
  const char *name;
  float rgba[12];
} materials[] = {
    {"tilePlain", {0.2f, 0.2f, 0.2f, 1.0f, 0.8f, 0.8f, 0.8f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f}},
    {"tileLoaded", {0.2f, 0.2f, 0.2f, 1.0f, 0.8f, 1.0f, 0.8f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f}},
    {"cursor1", {0.3f, 0.2f, 0.2f, 1.0f, 1.0f, 0.6f, 0.6f, 1.0f, 0.1f, 0.0f, 0.0f, 1.0f}},
    {"cursor2", {0.2f, 0.2f, 0.3f, 1.0f, 0.6f, 0.6f, 1.0f, 1.0f, 0.0f, 0.0f, 0.1f, 1.0f}},
    {"orb1", {0.3f, 0.2f, 0.2f, 1.0f, 1.0f, 0.6f, 0.6f, 1.0f, 5.0f, 0.0f, 0.0f, 1.0f}},
    {"orb2", {0.2f, 0.2f, 0.3f, 1.0f, 0.6f, 0.6f, 1.0f, 1.0f, 0.0f, 0.0f, 5.0f, 1.0f}},
};

// Three glMaterialfv calls from `i`: front and back, ambient, diffuse, specular.
static std::string materialAt(const std::vector<glrec::Call> &calls, size_t i) {
  const GLenum order[3] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR};
  std::vector<double> rgba;
  for (int k = 0; k < 3; k++) {
    if (i + k >= calls.size() || calls[i + k].name != "glMaterialfv" ||
        calls[i + k].args[0] != GL_FRONT_AND_BACK || calls[i + k].args[1] != order[k])
      return "?material";
    rgba.insert(rgba.end(), calls[i + k].args.begin() + 2, calls[i + k].args.end());
  }
  for (const auto &m : materials)
    if (rgba == std::vector<double>(m.rgba, m.rgba + 12)) return m.name;
  return "?material";
}

// "head v1 v2 ..." with the shortest decimal form of each value (they are whole or half numbers).
static std::string words(const char *head, std::initializer_list<double> values) {
  std::ostringstream out;
  out << head;
  for (double v : values)
    out << ' ' << v;
  return out.str();
}

// A box from `i`: six quads of one normal and four corners each (42 calls). Tiles only.
static std::string tileAt(const std::vector<glrec::Call> &calls, size_t i) {
  if (i + 42 > calls.size()) return "?box";
  Vec3 p1 = vec(calls[i + 2]), p3 = vec(calls[i + 4]), bottom = vec(calls[i + 9]);
  if (p3[0] - p1[0] != 11 || p3[1] - p1[1] != 11 || bottom[2] - p1[2] != -1) return "?box";
  return words("tile", {p1[0], p1[1], p1[2]});
}

// A sphere from `i`: translate, scale, the list replayed or built, inverse scale and translate.
static std::string sphereAt(const std::vector<glrec::Call> &calls, size_t &i) {
  static const glrec::Call none;
  auto call = [&](size_t k) -> const glrec::Call & { return k < calls.size() ? calls[k] : none; };
  const std::vector<double> &at = call(i).args;
  double s = call(i + 1).args[0];
  int n = -1;
  i += 2;
  if (call(i).name == "glCallList") {
    GLuint id = (GLuint)call(i++).args[0];
    n = id == sphereList3 ? 3 : id == sphereList15 ? 15 : id == sphereList100 ? 100 : -1;
  } else if (call(i).name == "glGenLists") {
    int triangles = 0;
    for (i += 2; i < calls.size() && calls[i].name != "glEndList"; i++)
      triangles += calls[i].name == "glBegin" && calls[i].args[0] == GL_TRIANGLES;
    n = triangles / 4;
    i++;
  }
  float q = (float)(1.0 / s);
  if (call(i).name != "glScalef" || call(i).args != std::vector<double>{q, q, q} ||
      call(i + 1).name != "glTranslatef" ||
      call(i + 1).args != std::vector<double>{-at[0], -at[1], -at[2]})
    return "?sphere not undone";
  i += 2;
  std::ostringstream size;
  size << " r" << s << " n" << n;
  return words("sphere", {at[0], at[1], at[2]}) + size.str();
}

std::vector<std::string> sceneOf(const std::vector<glrec::Call> &calls) {
  std::vector<std::string> scene;
  for (size_t i = 0; i < calls.size();) {
    const std::string &name = calls[i].name;
    if (name == "glMaterialfv") {
      scene.push_back(materialAt(calls, i));
      i += 3;
    } else if (name == "glBegin" && calls[i].args[0] == GL_QUADS) {
      scene.push_back(tileAt(calls, i));
      i += 42;
    } else if (name == "glTranslatef" && i + 1 < calls.size() && calls[i + 1].name == "glScalef") {
      scene.push_back(sphereAt(calls, i));
    } else {
      scene.push_back("?" + glrec::describe(calls[i++]));
    }
  }
  return scene;
}

std::vector<std::string> cellOf(const std::vector<std::string> &scene, int x, int y) {
  std::vector<size_t> tiles;
  for (size_t i = 0; i < scene.size(); i++)
    if (scene[i].rfind("tile ", 0) == 0) tiles.push_back(i - 1);
  size_t k = 8 * x + y;
  if (tiles.size() != 64) return {"?" + std::to_string(tiles.size()) + " tiles"};
  size_t end = k + 1 < tiles.size() ? tiles[k + 1] : scene.size();
  return std::vector<std::string>(scene.begin() + tiles[k], scene.begin() + end);
}
