// Sphere mesh in equal-height slabs, and the display-list cache of the unit spheres.
#include "render/sphere.h"

#include <cmath>

#include "render/primitives.h"

GLuint sphereList3;
GLuint sphereList15;
GLuint sphereList100;

// One level of the mesh: a ring at height y with radius rho.
struct Ring {
  float y;
  float rho;
};

// Ring k of the sphere. The narrowing to float at each step is part of the mesh's shape: it is
// what makes neighbouring facets meet in bit-identical corners.
static Ring ringAt(float cy, float r, float h, int k) {
  Ring ring;
  ring.y = (float)(((double)cy + (double)r) - (double)k * (double)h);
  double dy = (double)cy - (double)ring.y;
  ring.rho = (float)sqrt((double)r * (double)r - dy * dy);
  return ring;
}

// Angle of segment boundary j of 2n; 6.28318 rather than 2 pi, so the last boundary falls a
// hair short of the first.
static float boundaryAngle(int n, int j) { return (float)(6.28318 / (2 * n) * (double)j); }

static float ringX(float cx, Ring ring, float angle) {
  return (float)((double)cx + sin((double)angle) * (double)ring.rho);
}

static float ringZ(float cz, Ring ring, float angle) {
  return (float)((double)cz + cos((double)angle) * (double)ring.rho);
}

void drawSphereMesh(float cx, float cy, float cz, float r, int n) {
  if (n <= 2) return;
  float h = (float)((double)(r * 2.0f) / (double)(n - 1)); // slab height
  for (int i = 0; i < n; i++) {
    for (int j = 0; j < 2 * n; j++) {
      float a = boundaryAngle(n, j), b = boundaryAngle(n, j + 1);
      if (i == 0) { // top cap on ring 1
        Ring ring = ringAt(cy, r, h, 1);
        drawTriangle(ringX(cx, ring, b), ring.y, ringZ(cz, ring, b), ringX(cx, ring, a), ring.y,
                     ringZ(cz, ring, a), cx, cy + r, cz);
      } else if (i == n - 1) { // bottom cap on ring n - 2
        Ring ring = ringAt(cy, r, h, n - 2);
        drawTriangle(cx, cy - r, cz, ringX(cx, ring, a), ring.y, ringZ(cz, ring, a),
                     ringX(cx, ring, b), ring.y, ringZ(cz, ring, b));
      } else if (i < n - 2) { // band between ring i and ring i + 1
        Ring upper = ringAt(cy, r, h, i);
        Ring lower = ringAt(cy, r, h, i + 1);
        drawQuad(ringX(cx, upper, a), upper.y, ringZ(cz, upper, a), ringX(cx, lower, a), lower.y,
                 ringZ(cz, lower, a), ringX(cx, lower, b), lower.y, ringZ(cz, lower, b),
                 ringX(cx, upper, b), upper.y, ringZ(cz, upper, b));
      }
      // Row n - 2 draws nothing: the bottom cap in row n - 1 covers that slab.
    }
  }
}

// The cache slot of tessellation n, or nullptr for one that is not cached.
static GLuint *sphereListSlot(int n) {
  if (n == 3) return &sphereList3;
  if (n == 15) return &sphereList15;
  if (n == 100) return &sphereList100;
  return nullptr;
}

void drawSphere(float x, float y, float z, float s, int n) {
  glTranslatef(x, y, z);
  glScalef(s, s, s);
  GLuint *slot = sphereListSlot(n);
  if (slot == nullptr) {
    drawSphereMesh(0.0f, 0.0f, 0.0f, 1.0f, n);
  } else if (*slot != 0) {
    glCallList(*slot);
  } else {
    // Recorded and drawn at once, so the frame that first needs the sphere shows it. A GL out of
    // lists answers 0: the mesh is then drawn directly and the next frame asks again.
    *slot = glGenLists(1);
    if (*slot != 0) glNewList(*slot, GL_COMPILE_AND_EXECUTE);
    drawSphereMesh(0.0f, 0.0f, 0.0f, 1.0f, n);
    if (*slot != 0) glEndList();
  }
  // Undone by the inverse calls: the program keeps no matrix stack.
  float q = (float)(1.0 / (double)s);
  glScalef(q, q, q);
  glTranslatef(-x, -y, -z);
}
