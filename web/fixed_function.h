// GL 1.1's fixed-function vertex stage in plain C++, for a rasteriser that has none (WebGL).
//
// fixed_function.cpp defines the game's matrix, lighting, immediate-mode and display-list calls
// (glMatrixMode, glLoadIdentity, glFrustum, glTranslatef, glScalef, gluLookAt, glLightfv,
// glMaterialfv, glShadeModel, glBegin, glEnd, glNormal3f, glVertex3f, glGenLists, glNewList,
// glEndList, glCallList) with GL 1.1's meaning: each vertex is transformed to clip space and lit
// there and then (light 0, per vertex, in eye space), and quads are split as Mesa splits them.
// The lit triangles pile up in a buffer that the rasteriser (webgl.cpp) draws and empties; it also
// defines glEnable and hands the three fixed-function capabilities on to enableFixedFunction.
// Anything the game does not use (another light, another primitive, a call inside glBegin that GL
// forbids there) ends the program with a message: nothing is dropped silently.
// Single-threaded, like the GL it stands in for. Allocates (the buffer, the lists) as it goes.
#pragma once

#include <GL/gl.h>
#include <vector>

namespace fixedgl {

// One vertex as the rasteriser takes it: position in clip space, colour clamped to 0..1.
struct Vertex {
  float clip[4];
  float colour[4];
};

// The triangles lit since the last takeTriangles, three vertices each, in the order drawn.
std::vector<Vertex> &pendingTriangles();

// glEnable/glDisable of GL_LIGHTING, GL_LIGHT0 and GL_NORMALIZE; false for any other capability.
bool enableFixedFunction(GLenum capability, bool on);

// True while a display list is being recorded: calls that GL would record and this stage does
// not (glClear, glViewport, glEnable, glFlush) must fail rather than run at the wrong time.
bool recordingList();

// The triangles that the rasteriser has drawn since the start (a quad counts two).
unsigned long trianglesDrawn(void);

// The modelview and projection matrices (column-major, GL's order) in force now; webgl.cpp adds the
// viewport for frameMatrices.
void currentMatrices(float modelview[16], float projection[16]);

// For the page. After WebGL's context is restored (the page calls it from its webglcontextrestored
// handler): makes again everything the back-end keeps on the GPU (the program, the buffer, and
// the clear colour, depth test and viewport in force) from what it keeps on the CPU. The caller
// draws a frame afterwards.
void remakeGpuObjects(void);

// For the page: the modelview and projection matrices (column-major, GL's order) and the viewport
// (x, y, width, height in buffer pixels) in force now; between frames, those the last frame ended
// with.
void frameMatrices(float modelview[16], float projection[16], int viewport[4]);

// Ends the program with "fizzgrid: GL back-end: WHAT" on standard error.
[[noreturn]] void unsupported(const char *what);

} // namespace fixedgl
