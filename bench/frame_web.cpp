// The game's frames in the browser, through the page's WebGL back-end: the benchmark page's
// program.
//
//   frame_web.html?MIN_TIME,REPETITIONS   prints "bench SCENE MS OWN_MS" for every scene (the
//   median frame time, and the median of the page's own CPU time in it), then "bench done"
//   frame_web.html?show,SCENE             draws SCENE once and leaves it on the canvas (to look
//   at the README's pictures in any browser), then prints "bench shown"
//
// As in frame_gl.cpp, the game's own main (built as runFizzgridMain) makes the canvas's context and
// sets the GL state, and the glutMainLoop defined here takes the place of the toolkit's, so only
// the frames asked for are drawn. scripts/bench-web.py reads the lines the page keeps.
#include <GL/glut.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <emscripten.h>

#include "app/frame.h"
#include "render/sphere.h"
#include "scenes.h"

int runFizzgridMain(int argc, char **argv);

static double minSeconds = 0.2;
static int repetitions = 5;
static const char *shownScene = nullptr;

// The frame as display() draws it. A build scene's list is recorded again under its own number
// first, as the frame that first needs the sphere records it: the back-end frees no list, so a
// list of a new number in every frame would keep every list before it.
static void draw(const Scene *scene) {
  GLuint *slot = scene->rebuiltList;
  if (slot != nullptr) {
    glNewList(*slot, GL_COMPILE);
    drawSphereMesh(0.0f, 0.0f, 0.0f, 1.0f,
                   slot == &sphereList3    ? 3
                   : slot == &sphereList15 ? 15
                                           : 100);
    glEndList();
  }
  display();
}

// One frame as a player waits for it: drawn, and a pixel read back, which waits for the GPU's work.
static double frameMs(const Scene *scene) {
  unsigned char pixel[4];
  double start = emscripten_get_now();
  draw(scene);
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
  return emscripten_get_now() - start;
}

// The page's own CPU time per frame: display() until the back-end's WebGL calls return, with no
// wait for the GPU, in ms. The browser's timer counts in steps of 0.1 ms, coarser than the page's
// work in many frames, so frames are drawn back to back until 2 ms (20 steps) have passed, 10000
// frames at most, and the time shared out among them. Their GPU work waits in the queue: drawn
// into one pixel (the page's calls are the same at any viewport), it takes the least time there.
static double ownMs(const Scene *scene) {
  unsigned char pixel[4];
  int frames = 0;
  glViewport(0, 0, 1, 1);
  double start = emscripten_get_now(), ms;
  do {
    draw(scene);
    frames++;
    ms = emscripten_get_now() - start;
  } while (ms < 2 && frames < 10000);
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
  glViewport(0, 0, 600, 600);
  return ms / frames;
}

void glutMainLoop(void) {
  glutIdleFunc(nullptr); // the game's ticks would go on drawing after the benchmarks
  reshape(600, 600);     // the toolkit's own loop would call it first
  drawAllOnce();
  for (int i = 0; shownScene != nullptr && i < sceneCount; i++)
    if (std::strcmp(scenes[i].name, shownScene) == 0) {
      scenes[i].setState();
      display();
      std::printf("bench shown\n");
      return;
    }
  for (int i = 0; shownScene == nullptr && i < sceneCount; i++) {
    const Scene *scene = &scenes[i];
    double runs[64], own[64]; // each run's mean frame time and own CPU time, in ms
    int count = std::min(std::max(repetitions, 1), 64);
    scene->setState();
    frameMs(scene); // untimed: the first frame of a state pays for the renderer's compiling
    for (int run = 0; run < count; run++) {
      // Untimed too: setting a played state (progress, wave) draws the frames of all its moves,
      // whose GPU work would otherwise fall into the first timed frame.
      scene->setState();
      frameMs(scene);
      double total = 0;
      int frames = 0;
      while (total < minSeconds * 1000 || frames == 0) {
        total += frameMs(scene);
        frames++;
      }
      runs[run] = total / frames;
      own[run] = ownMs(scene);
    }
    std::sort(runs, runs + count);
    std::sort(own, own + count);
    std::printf("bench %s %.4f %.4f\n", scene->name, runs[count / 2], own[count / 2]);
  }
  std::printf("bench done\n");
}

int main(int argc, char **argv) {
  if (argc > 2 && std::strcmp(argv[1], "show") == 0) {
    shownScene = argv[2];
  } else {
    if (argc > 1) minSeconds = std::atof(argv[1]);
    if (argc > 2) repetitions = std::atoi(argv[2]);
  }
  return runFizzgridMain(1, argv);
}
