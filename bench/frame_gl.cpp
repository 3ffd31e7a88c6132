// The game's frames with the real GL (Mesa under X), in the window and GL state that main sets up.
//
//   fizzgrid_bench_gl [benchmark flags]      time gl/<scene>: display() and glFinish, in ms
//   fizzgrid_bench_gl --draw SCENE FRAMES    draw FRAMES timed-style frames of SCENE, for apitrace
//   fizzgrid_bench_gl --png FILE SCENE       draw SCENE once and write the window to FILE (PNG)
//
// The game's own main (app/main.cpp, built as runFizzgridMain) opens the window and sets the GL
// state; the glutMainLoop defined here takes the place of the toolkit's loop, so the game's idle
// never runs and only the frames asked for are drawn.
#include <benchmark/benchmark.h>

#include <GL/freeglut.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <png.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/frame.h"
#include "scenes.h"

int runFizzgridMain(int argc, char **argv);

static int benchArgc;
static char **benchArgv;
static int exitStatus;

// A list-building scene first loses its list, so that the frame builds it again.
static void forgetList(const Scene *scene) {
  if (scene->rebuiltList == nullptr) return;
  glDeleteLists(*scene->rebuiltList, 1);
  *scene->rebuiltList = 0;
}

// One frame as timed, the list's deletion included: the apitrace replay repeats that too.
static void drawFrame(const Scene *scene) {
  forgetList(scene);
  display();
  glFinish();
}

static void frameGl(benchmark::State &state, const Scene *scene) {
  scene->setState();
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    drawFrame(scene);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}

static int runBenchmarks(int argc, char **argv) {
  std::printf("# renderer: %s\n# version: %s\n", (const char *)glGetString(GL_RENDERER),
              (const char *)glGetString(GL_VERSION));
  std::fflush(stdout);
  for (int i = 0; i < sceneCount; i++) {
    if (!scenes[i].timed) continue;
    benchmark::RegisterBenchmark((std::string("gl/") + scenes[i].name).c_str(), frameGl, &scenes[i])
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// The frame just drawn, rows flipped from GL's bottom-up order. Read from the back buffer, which
// Mesa's swap under Xvfb leaves as it was (the front buffer reads back black); the pictures read
// this way equal, pixel for pixel, captures of the window taken through X.
static bool writePng(const char *path) {
  std::vector<unsigned char> rgb(600 * 600 * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 600, 600, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = 600;
  image.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&image, path, 0, rgb.data(), -600 * 3, nullptr) != 0;
}

static int drawScene(const char *mode, const char *arg1, const char *arg2) {
  const char *name = std::strcmp(mode, "--png") == 0 ? arg2 : arg1;
  const Scene *scene = findScene(name);
  if (scene == nullptr) {
    std::fprintf(stderr, "no scene %s\n", name);
    return 2;
  }
  scene->setState();
  if (std::strcmp(mode, "--draw") == 0) {
    for (int frame = std::atoi(arg2); frame > 0; frame--)
      drawFrame(scene);
    return 0;
  }
  drawFrame(scene);
  if (writePng(arg1)) return 0;
  std::fprintf(stderr, "cannot write %s\n", arg1);
  return 1;
}

static bool shown;
static void noteShown(void) { shown = true; }

// main's last call. Waits up to 5 s for the window's first expose (by then the toolkit has called
// reshape), draws every scene once so that the sphere lists exist, and does the work asked for.
void glutMainLoop(void) {
  glutDisplayFunc(noteShown);
  for (int wait = 0; wait < 5000 && !shown; wait++) { // 1 ms a turn
    glutMainLoopEvent();
    usleep(1000);
  }
  if (!shown) {
    std::fprintf(stderr, "the window was never shown\n");
    exitStatus = 1;
    return;
  }
  drawAllOnce();
  if (benchArgc == 4 &&
      (!std::strcmp(benchArgv[1], "--draw") || !std::strcmp(benchArgv[1], "--png")))
    exitStatus = drawScene(benchArgv[1], benchArgv[2], benchArgv[3]);
  else
    exitStatus = runBenchmarks(benchArgc, benchArgv);
}

int main(int argc, char **argv) {
  benchArgc = argc;
  benchArgv = argv;
  runFizzgridMain(argc, argv);
  return exitStatus;
}
