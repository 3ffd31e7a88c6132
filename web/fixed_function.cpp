// GL 1.1's matrices, display lists and immediate mode turned into meshes and draws with their
// uniforms, for webgl.cpp to hand to WebGL; the lighting itself runs in webgl.cpp's vertex shader.
#include "fixed_function.h"

#include <GL/glu.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "webgl.h"

namespace fixedgl {

void unsupported(const char *what, const char *where) {
  std::fprintf(stderr, "fizzgrid: GL back-end: %s%s\n", what, where);
  std::abort();
}

namespace {

// 4 by 4 matrices in GL's order: column-major, m[column * 4 + row].
struct Matrix {
  float m[16];
};

const Matrix identity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

Matrix multiply(const Matrix &a, const Matrix &b) {
  Matrix product;
  for (int column = 0; column < 4; column++)
    for (int row = 0; row < 4; row++) {
      float sum = 0;
      for (int k = 0; k < 4; k++)
        sum += a.m[k * 4 + row] * b.m[column * 4 + k];
      product.m[column * 4 + row] = sum;
    }
  return product;
}

// A display list, or for number 0 the frame: its mesh, and the normal it leaves current (the
// frame's: the current normal).
struct List {
  Mesh mesh{};
  float normal[3] = {0, 0, 1};
  bool setsNormal = false; // a list's glNormal3f came before its first vertex
};

const unsigned allEnabled = 7; // GL_LIGHTING, GL_LIGHT0 and GL_NORMALIZE, one bit each

struct State {
  GLenum matrixMode = GL_MODELVIEW;
  Matrix modelview = identity, projection = identity;
  bool matricesStale = true; // the uniforms' matrices are to be made again from the above
  // GL's defaults: light 0 on the +z axis, the material's colours.
  Uniforms uniforms = {
      {}, {}, {}, {0, 0, 1, 0}, {0.2f, 0.2f, 0.2f, 1}, {0.8f, 0.8f, 0.8f, 1}, {0, 0, 0, 1}};
  unsigned enabled = 0;

  GLenum primitive = 0; // inside glBegin: GL_TRIANGLES or GL_QUADS; 0 outside
  Vertex corners[4];
  int cornerCount = 0;

  std::map<GLuint, List> lists = {{0, List{{}, {0, 0, 1}, true}}};
  GLuint nextList = 1;
  GLuint recording = 0; // the list being recorded, 0 when none
  GLenum recordingMode = 0;
  unsigned long versions = 0;

  std::vector<Draw> draws;
};

State &state() {
  static State s;
  return s;
}

// Calls that GL records in a list, or forbids between glBegin and glEnd, and that no list of the
// game holds.
void outside(const char *call) {
  State &s = state();
  if (s.recording != 0 || s.primitive != 0)
    unsupported(call, " inside a display list or glBegin/glEnd");
}

const Uniforms &currentUniforms(State &s) {
  Uniforms &u = s.uniforms;
  if (!s.matricesStale) return u;
  Matrix product = multiply(s.projection, s.modelview); // as Mesa: one matrix, object to clip
  std::memcpy(u.modelviewProjection, product.m, sizeof product.m);
  std::memcpy(u.modelview, s.modelview.m, sizeof s.modelview.m);
  // Normals go through the inverse transpose: the cofactors of the upper 3 by 3 over its
  // determinant. The determinant's sign matters (a mirror turns normals round); its size does not
  // once normals are normalised.
  const float *m = s.modelview.m;
  float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6], i = m[10];
  float cofactor[9] = {e * i - f * h, f * g - d * i, d * h - e * g, c * h - b * i, a * i - c * g,
                       b * g - a * h, b * f - c * e, c * d - a * f, a * e - b * d};
  float det = a * cofactor[0] + b * cofactor[1] + c * cofactor[2];
  if (det == 0) unsupported("a singular modelview matrix (normals cannot be transformed)");
  // The cofactors are row by row; the shader takes the matrix column by column.
  for (int row = 0; row < 3; row++)
    for (int column = 0; column < 3; column++)
      u.normalMatrix[column * 4 + row] = cofactor[row * 3 + column] / det;
  s.matricesStale = false;
  return u;
}

// A draw of the mesh's indices from `first`. Immediate-mode primitives join the draw before them
// while it is of the frame's mesh and under the same uniforms.
void draw(State &s, GLuint mesh, std::size_t first, std::size_t count) {
  if (s.enabled != allEnabled) unsupported("drawing before GL_LIGHTING, GL_LIGHT0, GL_NORMALIZE");
  const Uniforms &u = currentUniforms(s);
  if (mesh == 0 && !s.draws.empty() && s.draws.back().mesh == 0 &&
      std::memcmp(&s.draws.back().uniforms, &u, sizeof u) == 0)
    s.draws.back().count += count;
  else
    s.draws.push_back({u, mesh, first, count});
}

// The finished primitive in s.corners into the mesh being made (the list recorded, or the
// frame's, then drawn). Mesa's split of a quad, along the diagonal from its first corner: the
// other one shades the inside differently, since each corner is lit on its own.
void addPrimitive(State &s) {
  static const GLuint order[6] = {0, 1, 2, 0, 2, 3};
  Mesh &mesh = s.lists[s.recording].mesh;
  GLuint first = (GLuint)mesh.vertices.size();
  mesh.vertices.insert(mesh.vertices.end(), s.corners, s.corners + s.cornerCount);
  std::size_t count = s.cornerCount == 4 ? 6 : 3;
  for (std::size_t k = 0; k < count; k++)
    mesh.indices.push_back(first + order[k]);
  mesh.version = ++s.versions;
  s.cornerCount = 0;
  if (s.recording == 0) draw(s, 0, mesh.indices.size() - count, count);
}

void callList(State &s, GLuint number) {
  auto found = s.lists.find(number);
  if (number == 0 || found == s.lists.end()) return; // GL: a list never made does nothing
  const List &list = found->second;
  if (!list.mesh.indices.empty()) draw(s, number, 0, list.mesh.indices.size());
  if (list.setsNormal) std::memcpy(s.lists[0].normal, list.normal, sizeof list.normal);
}

void multiplyBy(const Matrix &by) {
  State &s = state();
  outside("a matrix call");
  Matrix &current = s.matrixMode == GL_MODELVIEW ? s.modelview : s.projection;
  current = multiply(current, by);
  s.matricesStale = true;
}

void normalise3(float *v) {
  float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length == 0) return;
  for (int k = 0; k < 3; k++)
    v[k] /= length;
}

} // namespace

const std::vector<Draw> &pendingDraws(void) { return state().draws; }

void clearPending(void) {
  State &s = state();
  s.draws.clear();
  s.lists[0].mesh.vertices.clear();
  s.lists[0].mesh.indices.clear();
}

const Mesh &mesh(GLuint number) { return state().lists.at(number).mesh; }

bool enableFixedFunction(GLenum capability) {
  const GLenum capabilities[3] = {GL_LIGHTING, GL_LIGHT0, GL_NORMALIZE}; // bits 0, 1, 2
  for (unsigned k = 0; k < 3; k++)
    if (capability == capabilities[k]) {
      state().enabled |= 1u << k;
      return true;
    }
  return false;
}

bool recordingList() { return state().recording != 0; }

void currentMatrices(float modelview[16], float projection[16]) {
  std::memcpy(modelview, state().modelview.m, sizeof(float[16]));
  std::memcpy(projection, state().projection.m, sizeof(float[16]));
}

} // namespace fixedgl

using fixedgl::outside;
using fixedgl::state;
using fixedgl::unsupported;

void glMatrixMode(GLenum mode) {
  outside("glMatrixMode");
  if (mode != GL_MODELVIEW && mode != GL_PROJECTION)
    unsupported("glMatrixMode: a mode other than GL_MODELVIEW and GL_PROJECTION");
  state().matrixMode = mode;
}

void glLoadIdentity() {
  outside("glLoadIdentity");
  fixedgl::State &s = state();
  (s.matrixMode == GL_MODELVIEW ? s.modelview : s.projection) = fixedgl::identity;
  s.matricesStale = true;
}

void glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearPlane,
               GLdouble farPlane) {
  // In single precision from single-precision bounds, as Mesa builds it.
  float l = (float)left, r = (float)right, b = (float)bottom, t = (float)top;
  float n = (float)nearPlane, f = (float)farPlane;
  if (n <= 0 || f <= 0 || n == f || l == r || b == t) unsupported("glFrustum: invalid bounds");
  fixedgl::multiplyBy(
      {{(2 * n) / (r - l), 0, 0, 0, 0, (2 * n) / (t - b), 0, 0, (r + l) / (r - l),
        (t + b) / (t - b), -(f + n) / (f - n), -1, 0, 0, -(2 * f * n) / (f - n), 0}});
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  fixedgl::multiplyBy({{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}});
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
  fixedgl::multiplyBy({{x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1}});
}

// GLU's documented construction: forward, side = forward x up, up = side x forward, all unit
// length and in single precision; then the eye moved to the origin.
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
               GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
  float forward[3] = {(float)(centreX - eyeX), (float)(centreY - eyeY), (float)(centreZ - eyeZ)};
  float up[3] = {(float)upX, (float)upY, (float)upZ};
  fixedgl::normalise3(forward);
  float side[3] = {forward[1] * up[2] - forward[2] * up[1], forward[2] * up[0] - forward[0] * up[2],
                   forward[0] * up[1] - forward[1] * up[0]};
  fixedgl::normalise3(side);
  float trueUp[3] = {side[1] * forward[2] - side[2] * forward[1],
                     side[2] * forward[0] - side[0] * forward[2],
                     side[0] * forward[1] - side[1] * forward[0]};
  fixedgl::Matrix m = fixedgl::identity;
  for (int k = 0; k < 3; k++) { // rows: side, up, -forward
    m.m[k * 4 + 0] = side[k];
    m.m[k * 4 + 1] = trueUp[k];
    m.m[k * 4 + 2] = -forward[k];
  }
  fixedgl::multiplyBy(m);
  glTranslatef((float)-eyeX, (float)-eyeY, (float)-eyeZ);
}

void glLightfv(GLenum light, GLenum name, const GLfloat *v) {
  outside("glLightfv");
  if (light != GL_LIGHT0 || name != GL_POSITION)
    unsupported("glLightfv: a parameter but light 0's position (GL's defaults hold for the rest)");
  // Fixed in eye space by the modelview of this moment.
  const float *m = state().modelview.m;
  float *eye = state().uniforms.lightPosition;
  for (int row = 0; row < 4; row++)
    eye[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
  if (eye[3] == 0) unsupported("glLightfv: a directional light (w 0)");
}

void glMaterialfv(GLenum face, GLenum name, const GLfloat *v) {
  outside("glMaterialfv");
  fixedgl::Uniforms &u = state().uniforms;
  float *to = name == GL_AMBIENT    ? u.ambient
              : name == GL_DIFFUSE  ? u.diffuse
              : name == GL_SPECULAR ? u.specular
                                    : nullptr;
  if (face != GL_FRONT_AND_BACK || to == nullptr)
    unsupported("glMaterialfv: other than GL_FRONT_AND_BACK's ambient, diffuse and specular");
  if (name == GL_DIFFUSE && v[3] != 1) unsupported("glMaterialfv: a diffuse alpha other than 1");
  std::memcpy(to, v, sizeof u.ambient);
}

void glShadeModel(GLenum mode) {
  outside("glShadeModel");
  // Gouraud only: the rasteriser interpolates colours, and the game asks for nothing else.
  if (mode != GL_SMOOTH) unsupported("glShadeModel: a model other than GL_SMOOTH");
}

void glBegin(GLenum mode) {
  if (state().primitive != 0) unsupported("glBegin inside glBegin/glEnd");
  if (mode != GL_TRIANGLES && mode != GL_QUADS)
    unsupported("glBegin: a primitive other than GL_TRIANGLES and GL_QUADS");
  state().primitive = mode;
}

void glEnd() {
  if (state().primitive == 0) unsupported("glEnd without glBegin");
  state().primitive = 0; // GL drops the corners of an unfinished primitive
  state().cornerCount = 0;
}

// While a list is recorded, the list's own normal; the current normal otherwise.
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
  fixedgl::List &list = state().lists[state().recording];
  list.normal[0] = x;
  list.normal[1] = y;
  list.normal[2] = z;
  list.setsNormal = true;
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  fixedgl::State &s = state();
  const fixedgl::List &list = s.lists[s.recording];
  if (s.primitive == 0) unsupported("glVertex3f outside glBegin/glEnd");
  // A list's vertices are made once, with the list's normals, not lit by the normal of each call.
  if (!list.setsNormal) unsupported("glVertex3f in a display list before its first glNormal3f");
  s.corners[s.cornerCount++] = {{x, y, z}, {list.normal[0], list.normal[1], list.normal[2]}};
  if (s.cornerCount == (s.primitive == GL_QUADS ? 4 : 3)) fixedgl::addPrimitive(s);
}

GLuint glGenLists(GLsizei range) {
  if (range != 1) unsupported("glGenLists: a range other than 1");
  return state().nextList++;
}

void glNewList(GLuint list, GLenum mode) {
  outside("glNewList");
  fixedgl::State &s = state();
  if (list == 0) unsupported("glNewList: list 0");
  if (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE) unsupported("glNewList: unknown mode");
  fixedgl::drawPending();              // the draws before may be of the list's mesh as it was
  fixedgl::List &made = s.lists[list]; // a list made again replaces the old one, in its storage
  made.mesh.vertices.clear();
  made.mesh.indices.clear();
  made.setsNormal = false;
  made.mesh.version = ++s.versions;
  s.recording = list;
  s.recordingMode = mode;
}

void glEndList() {
  fixedgl::State &s = state();
  if (s.recording == 0) unsupported("glEndList without glNewList");
  if (s.primitive != 0) unsupported("glEndList inside glBegin/glEnd");
  GLuint list = s.recording;
  s.recording = 0;
  // Drawn once now: no call that the list may hold changes the uniforms it is drawn under.
  if (s.recordingMode == GL_COMPILE_AND_EXECUTE) fixedgl::callList(s, list);
}

void glCallList(GLuint list) {
  outside("glCallList");
  fixedgl::callList(state(), list);
}
