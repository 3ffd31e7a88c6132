// The sphere mesh and its display-list cache.
//
// drawSphereMesh emits a sphere as flat facets through drawTriangle and drawQuad; drawSphere
// places a unit sphere by translate and scale, replays it from a display list for the
// tessellations the scene uses (3, 15, 100), and undoes the placement by the inverse calls in
// reverse order (the program uses no matrix stack). Called by the board scene inside display,
// with the modelview matrix current and no display list being compiled.
#pragma once

#include <GL/gl.h>

// Display lists holding the unit sphere at tessellations 3, 15 and 100; 0 until first drawn.
// Each is built once, inside the frame that first needs it, and never freed.
extern GLuint sphereList3;
extern GLuint sphereList15;
extern GLuint sphereList100;

// A sphere of radius r about (cx, cy, cz) with n levels from pole to pole (n - 1 slabs of equal
// height, 2n segments per ring). Nothing for n < 3.
void drawSphereMesh(float cx, float cy, float cz, float r, int n);

// A sphere of radius s (not 0) about (x, y, z) at tessellation n, leaving the modelview matrix as
// it found it up to rounding. The first call for n = 3, 15 or 100 builds that list.
void drawSphere(float x, float y, float z, float s, int n);
