// The board scene: tiles, cursor, orbs, burst spheres, or the winner's sphere.
//
// drawBoard is called by display once per frame, after the camera and light are set. It reads
// game/state.h (gamePhase, currentPlayer, the cursor, burstStep and every cell) and writes no game
// state; its effects are the geometry it sends, the material it leaves in force and, through
// drawSphere, the sphere display lists built on first use. It applies a material before every
// tile, every cell's orbs, every burst sphere and the winner's sphere, even when the same one is
// already in force.
#pragma once

void drawBoard(void);

// Where drawBoard puts cell (x, y)'s tile for the board as it stands now (its height follows the
// cell's orbs): the top face, facing the eye, spans corner[0]..corner[0] + size in world x and
// corner[1]..corner[1] + size in world y, at world z corner[2]. drawBoard draws every tile there;
// the web page finds the tile under a tap from it. Reads orbCount and criticalMass only.
void tileTopFace(int x, int y, float corner[3], float *size);
