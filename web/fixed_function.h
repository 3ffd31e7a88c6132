// GL 1.1's fixed-function front end in plain C++, for a GPU that has only shaders (WebGL).
//
// Why this exists: Emscripten's own emulation of the fixed function (-sLEGACY_GL_EMULATION) does
// not serve this game; on Debian 12's Emscripten it aborts on the game's immediate mode. So the
// browser build defines the game's GL and GLU calls itself, and the linker takes these in place
// of Emscripten's stubs of the same names.
//
// fixed_function.cpp defines the game's matrix, lighting, immediate-mode and display-list calls
// (glMatrixMode, glLoadIdentity, glFrustum, glTranslatef, glScalef, gluLookAt, glLightfv,
// glMaterialfv, glShadeModel, glBegin, glEnd, glNormal3f, glVertex3f, glGenLists, glNewList,
// glEndList, glCallList, glDeleteLists) with GL 1.1's meaning. It lights nothing itself: it turns
// the calls into what the GPU is to draw, read by webgl.cpp at each hand-off (pendingDraws):
//  - vertices as the game gave them (object space: position and normal), quads split v0 v1 v2,
//    v0 v2 v3 as Mesa splits them;
//  - draws, each a range of vertices with the uniforms in force for it (matrices, normal matrix,
//    light 0 fixed in eye space, material, enables); webgl.cpp's vertex shader runs GL's lighting
//    equation per vertex from these. Immediate-mode primitives under the same uniforms join one
//    draw; a display list is recorded once into vertices and indices of its own (listVertices),
//    and each glCallList is one draw per run of the list's material, under the uniforms of that
//    moment (a list that holds matrix, light or list calls, none of the game's, is replayed call
//    by call instead). A list recorded with GL_COMPILE_AND_EXECUTE is drawn once, at glEndList.
// webgl.cpp defines the calls that reach WebGL (glClear, glViewport, glEnable ...) and draws;
// swap.cpp paces the toolkit's idle callback and hands each frame over at glutSwapBuffers.
// Anything the game does not use (another light, another primitive, unlit drawing, a call inside
// glBegin that GL forbids there) ends the program with a message: nothing is dropped silently.
// Single-threaded, like the GL it stands in for. Allocates (the vertices, the lists) as it goes.
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

// Everything the vertex shader reads besides the vertex. Matrices are column-major (GL's order).
struct Uniforms {
  float modelviewProjection[16]; // projection times modelview, as Mesa multiplies them
  float modelview[16];
  float normalMatrix[9];  // inverse transpose of the modelview's upper 3 by 3, column-major
  float lightPosition[4]; // light 0, in eye space as transformed when given
  float lightAmbient[3], lightDiffuse[3], lightSpecular[3];
  float globalAmbient[3];                                 // the light model's, GL's default 0.2
  float ambient[3], diffuse[3], specular[3], emission[3]; // the front material
  float alpha;             // the material's diffuse alpha, clamped to 0..1
  float shininess;         // 0..128
  float light0, normalize; // 1 when enabled, 0 when not
};

// One draw: `count` vertices from `first`, of the frame's vertices (list 0), or `count` indices
// from `first` of a list's.
struct Draw {
  Uniforms uniforms;
  GLuint list;
  std::size_t first, count;
};

// The draws since the last hand-off, in the order given, and the frame's immediate-mode vertices
// that they refer to (list 0). webgl.cpp reads both and then calls clearPending.
const std::vector<Draw> &pendingDraws(void);
const std::vector<Vertex> &pendingVertices(void);
void clearPending(void);

// The vertices of a recorded list (each corner of each primitive once), or nullptr for a list that
// does not exist, with its triangles' corners as indices into them, three each. `version` changes
// whenever the list is recorded again, so that a GPU copy can tell it is out of date.
const std::vector<Vertex> *listVertices(GLuint list, const std::vector<GLuint> **indices,
                                        unsigned long *version);

// glEnable/glDisable of GL_LIGHTING, GL_LIGHT0 and GL_NORMALIZE; false for any other capability.
bool enableFixedFunction(GLenum capability, bool on);

// True while a display list is being recorded: calls that GL would record and this stage does
// not (glClear, glViewport, glEnable, glFlush) must fail rather than run at the wrong time.
bool recordingList();

// The current matrices (column-major), for frameMatrices.
void currentMatrices(float modelview[16], float projection[16]);

// Ends the program with "fizzgrid: GL back-end: WHAT" on standard error.
[[noreturn]] void unsupported(const char *what);

// For the page (web/shell.html), defined in webgl.cpp.
// After WebGL's context is restored (the page calls it from its webglcontextrestored handler):
// makes again everything the back-end keeps on the GPU (programs, buffers, the display lists'
// vertex buffers) from what it keeps on the CPU, and gives the new context the clear colour, depth
// test and viewport in force. The caller draws a frame afterwards.
void remakeGpuObjects(void);

// The modelview and projection matrices (column-major, GL's order) and the viewport (x, y,
// width, height in buffer pixels) in force now; between frames, those the last frame ended with.
void frameMatrices(float modelview[16], float projection[16], int viewport[4]);

// Draws everything pending on WebGL (webgl.cpp): called at glutSwapBuffers and before any WebGL
// call that would change what the pending draws look like.
void drawPending(void);

} // namespace fixedgl
