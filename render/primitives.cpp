// Faceted primitives with computed facet normals.
#include "render/primitives.h"

#include <GL/gl.h>

double faceNormalX(double x1, double y1, double z1, double x2, double y2, double z2, double x3,
                   double y3, double z3) {
  (void)x1;
  (void)x2;
  (void)x3;
  double uy = y2 - y1, uz = z2 - z1;
  double vy = y2 - y3, vz = z2 - z3;
  return uy * vz - uz * vy;
}

double faceNormalY(double x1, double y1, double z1, double x2, double y2, double z2, double x3,
                   double y3, double z3) {
  (void)y1;
  (void)y2;
  (void)y3;
  double ux = x2 - x1, uz = z2 - z1;
  double vx = x2 - x3, vz = z2 - z3;
  return uz * vx - ux * vz;
}

double faceNormalZ(double x1, double y1, double z1, double x2, double y2, double z2, double x3,
                   double y3, double z3) {
  (void)z1;
  (void)z2;
  (void)z3;
  double ux = x2 - x1, uy = y2 - y1;
  double vx = x2 - x3, vy = y2 - y3;
  return ux * vy - uy * vx;
}

void drawTriangle(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3,
                  float z3) {
  float nx = (float)faceNormalX(x1, y1, z1, x2, y2, z2, x3, y3, z3);
  float ny = (float)faceNormalY(x1, y1, z1, x2, y2, z2, x3, y3, z3);
  float nz = (float)faceNormalZ(x1, y1, z1, x2, y2, z2, x3, y3, z3);
  glBegin(GL_TRIANGLES);
  glNormal3f(nx, ny, nz);
  glVertex3f(x1, y1, z1);
  glVertex3f(x2, y2, z2);
  glVertex3f(x3, y3, z3);
  glEnd();
}

void drawQuad(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3,
              float z3, float x4, float y4, float z4) {
  float nx = (float)faceNormalX(x1, y1, z1, x2, y2, z2, x3, y3, z3);
  float ny = (float)faceNormalY(x1, y1, z1, x2, y2, z2, x3, y3, z3);
  float nz = (float)faceNormalZ(x1, y1, z1, x2, y2, z2, x3, y3, z3);
  glBegin(GL_QUADS);
  glNormal3f(-nx, -ny, -nz); // quads face the counter-clockwise side, triangles the clockwise one
  glVertex3f(x1, y1, z1);
  glVertex3f(x2, y2, z2);
  glVertex3f(x3, y3, z3);
  glVertex3f(x4, y4, z4);
  glEnd();
}

void drawBox(float x, float y, float z, float dx, float dy, float dz) {
  float x0 = x, x1 = x + dx;
  float y0 = y, y1 = y + dy;
  float z0 = z, z1 = z + dz;
  drawQuad(x0, y0, z0, x1, y0, z0, x1, y1, z0, x0, y1, z0);
  drawQuad(x0, y0, z1, x1, y0, z1, x1, y0, z0, x0, y0, z0);
  drawQuad(x0, y0, z0, x0, y1, z0, x0, y1, z1, x0, y0, z1);
  drawQuad(x1, y0, z1, x0, y0, z1, x0, y1, z1, x1, y1, z1);
  drawQuad(x1, y1, z1, x0, y1, z1, x0, y1, z0, x1, y1, z0);
  drawQuad(x1, y1, z0, x1, y0, z0, x1, y0, z1, x1, y1, z1);
}
