// GL 1.1's matrices, per-vertex lighting and display lists, computed on the CPU in single precision
// as Mesa computes them, for a rasteriser that takes only lit triangles in clip space.
#include "fixed_function.h"

#include <GL/glu.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>

namespace fixedgl {

void unsupported(const char *what) {
  std::fprintf(stderr, "fizzgrid: GL back-end: %s\n", what);
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

// The matrix times (x, y, z, w).
void transform(const Matrix &a, const float in[4], float out[4]) {
  for (int row = 0; row < 4; row++)
    out[row] =
        a.m[row] * in[0] + a.m[4 + row] * in[1] + a.m[8 + row] * in[2] + a.m[12 + row] * in[3];
}

struct Colour {
  float c[4];
};

struct Material {
  Colour ambient = {{0.2f, 0.2f, 0.2f, 1}}, diffuse = {{0.8f, 0.8f, 0.8f, 1}},
         specular = {{0, 0, 0, 1}}, emission = {{0, 0, 0, 1}};
  float shininess = 0;
};

// Everything a display list may hold, one call each: GL records these and runs them on replay.
struct Command {
  enum Op {
    BEGIN,
    END,
    NORMAL,
    VERTEX,
    MATERIAL,
    LIGHT,
    MATRIX_MODE,
    LOAD_IDENTITY,
    MULTIPLY,
    CALL
  };
  Op op;
  GLenum a, b;      // mode, face or light; parameter name
  float v[4];       // coordinates or colour
  const Matrix *by; // MULTIPLY: kept in the list's own matrix store
  GLuint list;      // CALL
};

struct State {
  GLenum matrixMode = GL_MODELVIEW;
  Matrix modelview = identity, projection = identity;
  // Derived from the two above when a vertex needs them after a change.
  bool derivedStale = true;
  Matrix modelviewProjection;
  float normalMatrix[9]; // inverse transpose of the modelview's upper 3 by 3, row-major

  bool lighting = false, light0 = false, normalize = false;
  float lightPosition[4] = {0, 0, 1, 0}; // in eye space, as transformed when given
  Colour lightAmbient = {{0, 0, 0, 1}}, lightDiffuse = {{1, 1, 1, 1}},
         lightSpecular = {{1, 1, 1, 1}};
  Material front, back;
  float normal[3] = {0, 0, 1};

  GLenum primitive = 0; // inside glBegin: GL_TRIANGLES or GL_QUADS; 0 outside
  Vertex corners[4];
  int cornerCount = 0;

  GLuint nextList = 1;
  std::map<GLuint, std::vector<Command>> lists;
  std::deque<Matrix> listMatrices; // what MULTIPLY in a list points at; a deque never moves them
  GLuint recording = 0;            // the list being recorded, 0 when none
  GLenum recordingMode = 0;
  int callDepth = 0;

  std::vector<Vertex> triangles;
};

State &state() {
  static State s;
  return s;
}

void refreshDerived(State &s) {
  if (!s.derivedStale) return;
  s.modelviewProjection = multiply(s.projection, s.modelview);
  // Normals go through the inverse transpose: the cofactors of the upper 3 by 3 over its
  // determinant. The determinant's sign matters (a mirror turns normals round); its size does not
  // once normals are normalised, but it is kept so that an unnormalised normal is GL's.
  const float *m = s.modelview.m;
  float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6], i = m[10];
  float cofactor[9] = {e * i - f * h, f * g - d * i, d * h - e * g, c * h - b * i, a * i - c * g,
                       b * g - a * h, b * f - c * e, c * d - a * f, a * e - b * d};
  float det = a * cofactor[0] + b * cofactor[1] + c * cofactor[2];
  if (det == 0) unsupported("a singular modelview matrix (normals cannot be transformed)");
  // Row r of the inverse transpose is row r of the cofactor matrix over the determinant.
  for (int k = 0; k < 9; k++)
    s.normalMatrix[k] = cofactor[k] / det;
  s.derivedStale = false;
}

float dot3(const float *u, const float *v) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; }

void normalise3(float *v) {
  float length = std::sqrt(dot3(v, v));
  if (length == 0) return;
  for (int k = 0; k < 3; k++)
    v[k] /= length;
}

// GL 1.1's lighting equation for one vertex, with light 0 only, a viewer at infinity along +z and
// no two-sided lighting, so back faces take the front material and normal.
void light(State &s, const float eye[4], Vertex &out) {
  const Material &material = s.front;
  if (!s.lighting) unsupported("unlit drawing (GL_LIGHTING off): there is no current colour");
  float colour[3];
  for (int k = 0; k < 3; k++) // the light model's global ambient is GL's default, 0.2
    colour[k] = material.emission.c[k] + 0.2f * material.ambient.c[k];
  if (s.light0) {
    const float *n = s.normalMatrix;
    float normal[3] = {dot3(n, s.normal), dot3(n + 3, s.normal), dot3(n + 6, s.normal)};
    if (s.normalize) normalise3(normal);
    float toLight[3];
    for (int k = 0; k < 3; k++) // the light's w is 1 or 0, the vertex's 1 (affine modelview)
      toLight[k] = s.lightPosition[3] != 0 ? s.lightPosition[k] - eye[k] : s.lightPosition[k];
    normalise3(toLight);
    float diffuse = dot3(normal, toLight);
    float specular = 0;
    if (diffuse > 0) {
      float half[3] = {toLight[0], toLight[1], toLight[2] + 1};
      normalise3(half);
      // pow(x, 0) is 1 for every x, 0 included, as Mesa draws shininess 0.
      specular = std::pow(std::fmax(dot3(normal, half), 0.0f), material.shininess);
    } else {
      diffuse = 0;
    }
    for (int k = 0; k < 3; k++)
      colour[k] += s.lightAmbient.c[k] * material.ambient.c[k] +
                   diffuse * s.lightDiffuse.c[k] * material.diffuse.c[k] +
                   specular * s.lightSpecular.c[k] * material.specular.c[k];
  }
  for (int k = 0; k < 3; k++)
    out.colour[k] = std::fmin(std::fmax(colour[k], 0.0f), 1.0f);
  out.colour[3] = std::fmin(std::fmax(material.diffuse.c[3], 0.0f), 1.0f);
}

void emitTriangle(State &s, int a, int b, int c) {
  s.triangles.push_back(s.corners[a]);
  s.triangles.push_back(s.corners[b]);
  s.triangles.push_back(s.corners[c]);
}

void vertex(State &s, const float object[4]) {
  if (s.primitive == 0) unsupported("glVertex3f outside glBegin/glEnd");
  refreshDerived(s);
  float eye[4];
  Vertex &corner = s.corners[s.cornerCount++];
  transform(s.modelview, object, eye);
  transform(s.modelviewProjection, object, corner.clip); // as Mesa: one matrix, object to clip
  light(s, eye, corner);
  if (s.primitive == GL_TRIANGLES && s.cornerCount == 3) {
    emitTriangle(s, 0, 1, 2);
    s.cornerCount = 0;
  } else if (s.primitive == GL_QUADS && s.cornerCount == 4) {
    // Mesa's split: the diagonal from the first corner. The other one shades the inside
    // differently, since each corner is lit on its own.
    emitTriangle(s, 0, 1, 2);
    emitTriangle(s, 0, 2, 3);
    s.cornerCount = 0;
  }
}

void setColour(Colour &to, const float *v) {
  for (int k = 0; k < 4; k++)
    to.c[k] = v[k];
}

void material(State &s, GLenum face, GLenum name, const float *v) {
  if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK)
    unsupported("glMaterialfv: unknown face");
  for (Material *m : {&s.front, &s.back}) {
    if ((m == &s.front && face == GL_BACK) || (m == &s.back && face == GL_FRONT)) continue;
    switch (name) {
    case GL_AMBIENT:
      setColour(m->ambient, v);
      break;
    case GL_DIFFUSE:
      setColour(m->diffuse, v);
      break;
    case GL_SPECULAR:
      setColour(m->specular, v);
      break;
    case GL_EMISSION:
      setColour(m->emission, v);
      break;
    case GL_AMBIENT_AND_DIFFUSE:
      setColour(m->ambient, v);
      setColour(m->diffuse, v);
      break;
    case GL_SHININESS:
      if (v[0] < 0 || v[0] > 128) unsupported("glMaterialfv: shininess outside 0..128");
      m->shininess = v[0];
      break;
    default:
      unsupported("glMaterialfv: a parameter other than the colours and shininess");
    }
  }
}

void lightParameter(State &s, GLenum which, GLenum name, const float *v) {
  if (which != GL_LIGHT0) unsupported("glLightfv: a light other than GL_LIGHT0");
  if (s.primitive != 0) unsupported("glLightfv inside glBegin/glEnd");
  switch (name) {
  case GL_POSITION: // fixed in eye space by the modelview of this moment
    transform(s.modelview, v, s.lightPosition);
    break;
  case GL_AMBIENT:
    setColour(s.lightAmbient, v);
    break;
  case GL_DIFFUSE:
    setColour(s.lightDiffuse, v);
    break;
  case GL_SPECULAR:
    setColour(s.lightSpecular, v);
    break;
  default:
    unsupported("glLightfv: a parameter other than the position and colours");
  }
}

Matrix &currentMatrix(State &s) {
  return s.matrixMode == GL_MODELVIEW ? s.modelview : s.projection;
}

void execute(State &s, const Command &command);

void callList(State &s, GLuint list) {
  auto found = s.lists.find(list);
  if (found == s.lists.end()) return; // GL: a list never defined does nothing
  if (++s.callDepth > 64) unsupported("glCallList nested deeper than 64 lists");
  for (const Command &command : found->second)
    execute(s, command);
  s.callDepth--;
}

void execute(State &s, const Command &c) {
  // GL allows only these between glBegin and glEnd (glCallList too, checked below).
  bool allowedInside = c.op == Command::NORMAL || c.op == Command::VERTEX ||
                       c.op == Command::MATERIAL || c.op == Command::END || c.op == Command::CALL;
  if (!allowedInside && s.primitive != 0)
    unsupported("a matrix, light or glBegin inside glBegin/glEnd");
  switch (c.op) {
  case Command::BEGIN:
    if (c.a != GL_TRIANGLES && c.a != GL_QUADS)
      unsupported("glBegin: a primitive other than GL_TRIANGLES and GL_QUADS");
    s.primitive = c.a;
    s.cornerCount = 0;
    break;
  case Command::END:
    if (s.primitive == 0) unsupported("glEnd without glBegin");
    s.primitive = 0; // GL drops the corners of an unfinished primitive
    break;
  case Command::NORMAL:
    for (int k = 0; k < 3; k++)
      s.normal[k] = c.v[k];
    break;
  case Command::VERTEX:
    vertex(s, c.v);
    break;
  case Command::MATERIAL:
    material(s, c.a, c.b, c.v);
    break;
  case Command::LIGHT:
    lightParameter(s, c.a, c.b, c.v);
    break;
  case Command::MATRIX_MODE:
    if (c.a != GL_MODELVIEW && c.a != GL_PROJECTION)
      unsupported("glMatrixMode: a mode other than GL_MODELVIEW and GL_PROJECTION");
    s.matrixMode = c.a;
    break;
  case Command::LOAD_IDENTITY:
    currentMatrix(s) = identity;
    s.derivedStale = true;
    break;
  case Command::MULTIPLY:
    currentMatrix(s) = multiply(currentMatrix(s), *c.by);
    s.derivedStale = true;
    break;
  case Command::CALL:
    if (s.primitive != 0) unsupported("glCallList inside glBegin/glEnd");
    callList(s, c.list);
    break;
  }
}

// Records the call while a list is being made, and runs it unless the list is GL_COMPILE only.
void submit(Command command, const Matrix *by = nullptr) {
  State &s = state();
  if (s.recording != 0) {
    if (by != nullptr) { // the list keeps its own copy of the matrix
      s.listMatrices.push_back(*by);
      command.by = &s.listMatrices.back();
    }
    s.lists[s.recording].push_back(command);
    if (s.recordingMode == GL_COMPILE) return;
  }
  command.by = by;
  execute(s, command);
}

void multiplyBy(const Matrix &by) { submit({Command::MULTIPLY, 0, 0, {}, nullptr, 0}, &by); }

} // namespace

std::vector<Vertex> &pendingTriangles() { return state().triangles; }

bool enableFixedFunction(GLenum capability, bool on) {
  State &s = state();
  switch (capability) {
  case GL_LIGHTING:
    s.lighting = on;
    return true;
  case GL_LIGHT0:
    s.light0 = on;
    return true;
  case GL_NORMALIZE:
    s.normalize = on;
    return true;
  default:
    return false;
  }
}

bool recordingList() { return state().recording != 0; }

void currentMatrices(float modelview[16], float projection[16]) {
  for (int k = 0; k < 16; k++) {
    modelview[k] = state().modelview.m[k];
    projection[k] = state().projection.m[k];
  }
}

} // namespace fixedgl

using fixedgl::Command;
using fixedgl::submit;
using fixedgl::unsupported;

void glMatrixMode(GLenum mode) { submit({Command::MATRIX_MODE, mode, 0, {}, nullptr, 0}); }
void glLoadIdentity() { submit({Command::LOAD_IDENTITY, 0, 0, {}, nullptr, 0}); }

void glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearPlane,
               GLdouble farPlane) {
  // In single precision from single-precision bounds, as Mesa builds it.
  float l = (float)left, r = (float)right, b = (float)bottom, t = (float)top;
  float n = (float)nearPlane, f = (float)farPlane;
  if (n <= 0 || f <= 0 || n == f || l == r || b == t) unsupported("glFrustum: invalid bounds");
  fixedgl::Matrix m = {{(2 * n) / (r - l), 0, 0, 0, 0, (2 * n) / (t - b), 0, 0, (r + l) / (r - l),
                        (t + b) / (t - b), -(f + n) / (f - n), -1, 0, 0, -(2 * f * n) / (f - n),
                        0}};
  fixedgl::multiplyBy(m);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  fixedgl::Matrix m = fixedgl::identity;
  m.m[12] = x;
  m.m[13] = y;
  m.m[14] = z;
  fixedgl::multiplyBy(m);
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
  fixedgl::Matrix m = fixedgl::identity;
  m.m[0] = x;
  m.m[5] = y;
  m.m[10] = z;
  fixedgl::multiplyBy(m);
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

void glLightfv(GLenum light, GLenum name, const GLfloat *params) {
  Command command = {Command::LIGHT, light, name, {params[0], 0, 0, 0}, nullptr, 0};
  int count = name == GL_POSITION || name == GL_AMBIENT || name == GL_DIFFUSE || name == GL_SPECULAR
                  ? 4
                  : 1;
  for (int k = 1; k < count; k++)
    command.v[k] = params[k];
  submit(command);
}

void glMaterialfv(GLenum face, GLenum name, const GLfloat *params) {
  Command command = {Command::MATERIAL, face, name, {params[0], 0, 0, 0}, nullptr, 0};
  bool colour = name == GL_AMBIENT || name == GL_DIFFUSE || name == GL_SPECULAR ||
                name == GL_EMISSION || name == GL_AMBIENT_AND_DIFFUSE;
  for (int k = 1; colour && k < 4; k++)
    command.v[k] = params[k];
  submit(command);
}

void glShadeModel(GLenum mode) {
  // Gouraud only: the rasteriser interpolates colours, and the game asks for nothing else.
  if (mode != GL_SMOOTH) unsupported("glShadeModel: a model other than GL_SMOOTH");
  if (fixedgl::recordingList()) unsupported("glShadeModel inside a display list");
}

void glBegin(GLenum mode) { submit({Command::BEGIN, mode, 0, {}, nullptr, 0}); }
void glEnd() { submit({Command::END, 0, 0, {}, nullptr, 0}); }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
  submit({Command::NORMAL, 0, 0, {x, y, z, 0}, nullptr, 0});
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  submit({Command::VERTEX, 0, 0, {x, y, z, 1}, nullptr, 0});
}

GLuint glGenLists(GLsizei range) {
  fixedgl::State &s = fixedgl::state();
  if (range < 0) unsupported("glGenLists: a negative range");
  if (range == 0) return 0;
  GLuint first = s.nextList;
  s.nextList += (GLuint)range;
  return first;
}

void glNewList(GLuint list, GLenum mode) {
  fixedgl::State &s = fixedgl::state();
  if (list == 0) unsupported("glNewList: list 0");
  if (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE) unsupported("glNewList: unknown mode");
  if (s.recording != 0) unsupported("glNewList while another list is being recorded");
  if (s.primitive != 0) unsupported("glNewList inside glBegin/glEnd");
  s.lists[list].clear(); // a list made again replaces the old one
  s.recording = list;
  s.recordingMode = mode;
}

void glEndList() {
  fixedgl::State &s = fixedgl::state();
  if (s.recording == 0) unsupported("glEndList without glNewList");
  s.recording = 0;
}

// Not among the game's calls: the benchmark page (bench/frame_web.cpp) frees the sphere list that a
// build scene makes again in every frame.
void glDeleteLists(GLuint list, GLsizei range) {
  fixedgl::State &s = fixedgl::state();
  if (range < 0) unsupported("glDeleteLists: a negative range");
  if (s.recording >= list && s.recording - list < (GLuint)range)
    unsupported("glDeleteLists of the list being recorded");
  for (GLsizei k = 0; k < range; k++)
    s.lists.erase(list + (GLuint)k);
}

void glCallList(GLuint list) { submit({Command::CALL, 0, 0, {}, nullptr, list}); }
