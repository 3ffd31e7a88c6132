// The WebGL side of the back-end (webgl.cpp): what the page's other files call in it. It also
// defines the GL calls that reach WebGL (glClear, glClearColor, glViewport, glEnable, glFlush) and
// draws fixed_function.cpp's meshes with a vertex shader that lights them as GL 1.1 does.
#pragma once

#include "fixed_function.h"

namespace fixedgl {

// Draws every pending draw on WebGL, sending a mesh's vertices and indices first when the GPU's
// copy is stale. Called at glutSwapBuffers, at glNewList, and before any WebGL call that would
// change what the pending draws look like.
void drawPending(void);

// After WebGL's context is restored (the page calls it from its webglcontextrestored handler):
// makes the shader program again and gives the new context the clear colour, depth test and
// viewport in force. The meshes' buffers are made again at their next draw. The caller draws a
// frame afterwards.
void remakeGpuObjects(void);

// The modelview and projection matrices (column-major, GL's order) and the viewport (x, y,
// width, height in buffer pixels) in force now; between frames, those the last frame ended with.
void frameMatrices(float modelview[16], float projection[16], int viewport[4]);

} // namespace fixedgl
