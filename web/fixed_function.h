// GL 1.1's fixed-function front end in plain C++, as much of it as the game draws with, for a GPU
// that has only shaders (WebGL).
//
// Why this exists: Emscripten's own emulation of the fixed function (-sLEGACY_GL_EMULATION) does
// not serve this game; on Debian 12's Emscripten it aborts on the game's immediate mode. So the
// browser build defines the game's GL and GLU calls itself, and the linker takes these in place
// of Emscripten's stubs of the same names.
//
// fixed_function.cpp defines the game's matrix, lighting, immediate-mode and display-list calls
// (glMatrixMode, glLoadIdentity, glFrustum, glTranslatef, glScalef, gluLookAt, glLightfv,
// glMaterialfv, glShadeModel, glBegin, glEnd, glNormal3f, glVertex3f, glGenLists, glNewList,
// glEndList, glCallList) with GL 1.1's meaning. It lights nothing itself: it turns the calls into
// meshes and draws, which webgl.cpp (webgl.h) hands to WebGL:
//  - a mesh holds vertices as the game gave them (object space: position and normal), each corner
//    of each primitive once, and its triangles as indices into them, a quad split v0 v1 v2,
//    v0 v2 v3 as Mesa splits it. Mesh 0 holds the frame's immediate-mode primitives; mesh N is
//    display list N, built as its calls come while it is recorded.
//  - a draw is a range of a mesh's indices with the uniforms in force for it (matrices, normal
//    matrix, light 0 fixed in eye space, material); webgl.cpp's vertex shader runs GL's lighting
//    equation per vertex from these. Consecutive immediate-mode primitives under the same uniforms
//    join one draw; each glCallList of a list that holds a primitive is one draw under the
//    uniforms of its moment, and a list recorded with GL_COMPILE_AND_EXECUTE is drawn at
//    glEndList too.
// What the game does not do ends the program with unsupported()'s message: another light, a light
// parameter but light 0's position, a directional light, a material but GL_FRONT_AND_BACK's
// ambient, diffuse (alpha 1) and specular (shininess and emission keep GL's defaults), another
// primitive, drawing before GL_LIGHTING, GL_LIGHT0 and GL_NORMALIZE are all enabled, and in a
// display list any call that GL would record but glBegin, glEnd, glNormal3f and glVertex3f (a
// vertex after a normal of the list's own). A GL or GLU name that the page calls and the back-end
// does not define, or a GLUT name that neither it nor the toolkit defines, stops the page's build
// (web/CMakeLists.txt): Emscripten defines every GL name, so such a call would reach WebGL unseen.
// Single-threaded, like the GL it stands in for. Allocates (the meshes, the draws) as it goes.
#pragma once

#include <GL/gl.h>
#include <cstddef>
#include <vector>

namespace fixedgl {

// One vertex as the game gave it, in object space.
struct Vertex {
  float position[3];
  float normal[3];
};

// Everything the vertex shader reads besides the vertex, laid out as its array of 15 vec4s.
// Matrices are column-major (GL's order); colours are RGBA.
struct Uniforms {
  float modelviewProjection[16]; // projection times modelview, as Mesa multiplies them
  float modelview[16];
  float normalMatrix[12]; // inverse transpose of the modelview's upper 3 by 3: columns 4 apart
  float lightPosition[4]; // light 0, in eye space as transformed when given
  float ambient[4], diffuse[4], specular[4]; // the material
};

struct Mesh {
  std::vector<Vertex> vertices;
  std::vector<GLuint> indices; // three to a triangle, into `vertices`
  // Changes whenever a primitive is added or the list is recorded again: a GPU copy can tell it
  // is stale.
  unsigned long version;
};

// `count` indices from `first` of mesh `mesh`, under `uniforms`.
struct Draw {
  Uniforms uniforms;
  GLuint mesh;
  std::size_t first, count;
};

// The draws since the last hand-off, in the order given. webgl.cpp draws them, then calls
// clearPending, which forgets them and empties mesh 0.
const std::vector<Draw> &pendingDraws(void);
void clearPending(void);

// Mesh 0 (the frame's immediate-mode primitives since the last hand-off) or a recorded list's.
// Every draw's mesh exists; a list recorded again keeps its number and its mesh changes.
const Mesh &mesh(GLuint number);

// glEnable of GL_LIGHTING, GL_LIGHT0 and GL_NORMALIZE; false for any other capability.
bool enableFixedFunction(GLenum capability);

// True while a display list is being recorded: the calls that GL would record and this back-end
// does not (glClear, glViewport, glEnable ...) must fail rather than run at the wrong time.
bool recordingList();

// The current matrices (column-major), for frameMatrices (webgl.h).
void currentMatrices(float modelview[16], float projection[16]);

// Ends the program with "fizzgrid: GL back-end: WHATWHERE" on standard error.
[[noreturn]] void unsupported(const char *what, const char *where = "");

} // namespace fixedgl
