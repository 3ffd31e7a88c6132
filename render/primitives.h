// Faceted primitives: triangles, quads and boxes, each facet with one computed normal.
//
// Called with a GL context current, outside glBegin/glEnd, from the board scene and the sphere
// mesh (also while a display list is being compiled). They send one glNormal3f and the vertices of
// each facet, each facet its own glBegin/glEnd pair, and nothing else: no material, no matrix.
// Normals are not unit length (GL_NORMALIZE, enabled once by main, fixes that).
#pragma once

// Components of (P2 - P1) x (P2 - P3), in double precision. The vector points to the side from
// which P1, P2, P3 are seen running clockwise; its length is twice the triangle's area.
double faceNormalX(double x1, double y1, double z1, double x2, double y2, double z2, double x3,
                   double y3, double z3);
double faceNormalY(double x1, double y1, double z1, double x2, double y2, double z2, double x3,
                   double y3, double z3);
double faceNormalZ(double x1, double y1, double z1, double x2, double y2, double z2, double x3,
                   double y3, double z3);

// One triangle P1, P2, P3 with the normal above: facing the side where the corners run clockwise.
void drawTriangle(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3,
                  float z3);

// One quad P1..P4 with the negated normal of P1, P2, P3 (P4 plays no part): facing the side where
// the corners run counter-clockwise.
void drawQuad(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3,
              float z3, float x4, float y4, float z4);

// The axis-aligned box from (x, y, z) to (x + dx, y + dy, z + dz) as six quads: z = z, y = y,
// x = x, z = z + dz, y = y + dy, x = x + dx. Its normals point out of the box when dx*dy*dz < 0
// and into it when the product is positive; the tiles pass dz = -1.
void drawBox(float x, float y, float z, float dx, float dy, float dz);
