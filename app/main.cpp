// Entry point: starting state, the window, the fixed GL state and the callbacks; then the loop.
#include <GL/glut.h>

#include "app/frame.h"
#include "app/window.h"
#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"

int main(int argc, char **argv) {
  setStartingState(); // before the toolkit: the state needs no window

  // The toolkit takes its own options (-display, -geometry ...) out of argv; we read none.
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(WINDOW_SIZE, WINDOW_SIZE);
  glutInitWindowPosition(0, 0);
  // Maps the window and waits until it shows. On X, x11/desktop.cpp names it for the desktop and
  // gives it its icon on the way, just before the toolkit asks for it to be mapped.
  glutCreateWindow(WINDOW_TITLE);

  glClearColor(0.0, 0.0, 0.0, 1.0);
  glutDisplayFunc(display);
  glutReshapeFunc(reshape);
  glutKeyboardFunc(keyboard);
  glutSpecialFunc(special);
  glutIdleFunc(idle);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_NORMALIZE); // facet normals are not unit length, and spheres are scaled
  glShadeModel(GL_SMOOTH);

  glutMainLoop();
  return 0;
}
