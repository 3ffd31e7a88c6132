// The game's frames with the real GL (Mesa under X), in the window and GL state that main sets up.
//
//   fizzgrid_bench_gl [benchmark flags]   times gl/<scene>: display() and glFinish
//   fizzgrid_bench_gl --png FILE SCENE    draws SCENE once and writes the window to FILE (PNG)
//
// The game's own main (app/main.cpp, built as runFizzgridMain) opens the window and sets the GL
// state; the glutMainLoop defined here takes the place of the toolkit's loop, so the game's idle
// never runs and only the frames asked for are drawn.
#include <GL/freeglut.h>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <unistd.h>
#include <vector>

#include "app/frame.h"
#include "app/window.h"
#include "scene_benchmarks.h"

int runFizzgridMain(int argc, char **argv);

static int benchArgc;
static char **benchArgv;
static int exitStatus;

// One frame as a player waits for it: drawn, swapped and finished by the GL.
static void drawFrame(const Scene *scene) {
  if (scene->rebuiltList != nullptr) {
    glDeleteLists(*scene->rebuiltList, 1);
    *scene->rebuiltList = 0;
  }
  display();
  glFinish();
}

static void frameGl(benchmark::State &state, const Scene *scene) {
  scene->setState();
  for (auto _ : state)
    drawFrame(scene);
}

// The frame just drawn, rows flipped from GL's bottom-up order. Read from the back buffer, which
// Mesa's swap under Xvfb leaves as it was (the front buffer reads back black); the pictures read
// this way equal, pixel for pixel, captures of the window taken through X.
static int writePng(const char *path, const char *name) {
  const Scene *scene = nullptr;
  for (int i = 0; i < sceneCount; i++)
    if (std::strcmp(scenes[i].name, name) == 0) scene = &scenes[i];
  if (scene == nullptr) {
    std::fprintf(stderr, "no scene %s\n", name);
    return 2;
  }
  scene->setState();
  drawFrame(scene);
  const int side = WINDOW_SIZE, row = side * 3; // the window's, in pixels; 3 bytes each
  std::vector<unsigned char> rgb(side * row);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, side, side, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = side;
  image.format = PNG_FORMAT_RGB;
  if (png_image_write_to_file(&image, path, 0, rgb.data(), -row, nullptr)) return 0;
  std::fprintf(stderr, "cannot write %s\n", path);
  return 1;
}

static bool shown;
static void noteShown(void) { shown = true; }

// main's last call. Waits for the window's first expose (by then the toolkit has called reshape),
// draws every scene once so that the sphere lists exist, and does the work asked for.
void glutMainLoop(void) {
  glutDisplayFunc(noteShown);
  while (!shown) { // the callers' own X server always shows it; their time bounds cover the rest
    glutMainLoopEvent();
    usleep(1000);
  }
  drawAllOnce();
  if (benchArgc == 4 && std::strcmp(benchArgv[1], "--png") == 0) {
    exitStatus = writePng(benchArgv[2], benchArgv[3]);
  } else {
    std::printf("# renderer: %s\n# version: %s\n", (const char *)glGetString(GL_RENDERER),
                (const char *)glGetString(GL_VERSION));
    exitStatus = runSceneBenchmarks(benchArgc, benchArgv, "gl", frameGl);
  }
}

int main(int argc, char **argv) {
  benchArgc = argc;
  benchArgv = argv;
  runFizzgridMain(argc, argv);
  return exitStatus;
}
