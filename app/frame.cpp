// Frame, camera and projection.
#include "app/frame.h"

#include <GL/glu.h>
#include <GL/glut.h>
#include <cmath>

#include "game/state.h"
#include "render/board.h"

void display(void) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  // swingAngle counts thousandths of a turn; 750 looks down -z at the board.
  double heading = (double)swingAngle * 0.00628318;
  double ex = eyePosition[0], ey = eyePosition[1], ez = eyePosition[2];
  gluLookAt(ex, ey, ez, ex + cos(heading) * 1.0, ey, ez + sin(heading) * 1.0, 0.0, 1.0, 0.0);
  // Given after the camera, so the positional light (w = 1) stands at the eye in world space.
  GLfloat lightPosition[4] = {eyePosition[0], eyePosition[1], eyePosition[2], 1.0f};
  glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
  drawBoard();
  glFlush();
  glutSwapBuffers();
}

void reshape(int width, int height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // A fixed square 90-degree frustum: a window that is not square shows the scene stretched.
  glFrustum(-1.0, 1.0, -1.0, 1.0, 1.0, 500.0);
  glMatrixMode(GL_MODELVIEW);
}
