// The window's two drawing callbacks: display draws one whole frame, reshape fits the projection.
//
// display reads eyePosition and swingAngle (game/state.h), writes no game state, and shows the
// frame with glutSwapBuffers before it returns. Besides the toolkit, keyboard, special and idle
// call it directly after every change they make. reshape is called by the toolkit only; it is the
// one place that changes the matrix mode, and it always leaves it at GL_MODELVIEW.
#pragma once

void display(void);
void reshape(int width, int height);
