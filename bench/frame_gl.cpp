// Frame times with the real GL (Mesa under X): every scene drawn by the game, and the same
// frame's recorded call stream replayed into GL without the game, the floor the game is held to.
//
//   fizzgrid_bench_gl --streams DIR [benchmark flags]   time gl/<scene>: game and replay in pairs
//   fizzgrid_bench_gl --draw SCENE FRAMES               draw FRAMES frames of SCENE and exit
//
// Every timed frame ends with glFinish, so the time holds the rendering as well as the calls. The
// streams come from `fizzgrid_bench_cpu --streams DIR` (call_stream.h). Before timing, each
// replayed frame's pixels are compared with the game's; a difference is reported.
#include <benchmark/benchmark.h>

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/frame.h"
#include "call_stream.h"
#include "scenes.h"

using Clock = std::chrono::steady_clock;

// A checksum of the frame just drawn, to tell whether two ways of drawing it agree.
static unsigned long long drawnFrameChecksum(void) {
  static std::vector<unsigned char> pixels(600 * 600 * 4);
  glReadBuffer(GL_BACK); // a swap here leaves the back buffer as it was
  glReadPixels(0, 0, 600, 600, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  unsigned long long sum = 1469598103934665603ull; // FNV-1a
  for (unsigned char byte : pixels)
    sum = (sum ^ byte) * 1099511628211ull;
  return sum;
}

static double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

static double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One game frame, in ms; a list-building scene first loses its list, untimed.
static double timeGameFrame(const Scene *scene) {
  if (scene->rebuiltList != nullptr) {
    glDeleteLists(*scene->rebuiltList, 1);
    *scene->rebuiltList = 0;
  }
  Clock::time_point start = Clock::now();
  display();
  glFinish();
  return millisecondsSince(start);
}

static double timeReplayFrame(const Stream *stream) {
  if (stream->builtTessellation != 0) glDeleteLists(replayLists[stream->builtTessellation], 1);
  Clock::time_point start = Clock::now();
  replay(*stream);
  glFinish();
  return millisecondsSince(start);
}

// Game and replay frames in pairs, in alternating order, so that both see the same load. Reports
// the medians of the frame times and of the pairs' ratios; the iteration time is the pair's.
static void pairedFrames(benchmark::State &state, const Scene *scene, const Stream *stream) {
  std::vector<double> game, floor, ratio;
  game.reserve(100000);
  floor.reserve(100000);
  ratio.reserve(100000);
  scene->setState();
  for (auto _ : state) {
    bool gameFirst = game.size() % 2 == 0;
    double replayed = gameFirst ? 0 : timeReplayFrame(stream);
    double drawn = timeGameFrame(scene);
    if (gameFirst) replayed = timeReplayFrame(stream);
    game.push_back(drawn);
    floor.push_back(replayed);
    ratio.push_back(drawn / replayed);
  }
  state.counters["game_ms"] = median(game);
  state.counters["floor_ms"] = median(floor);
  state.counters["ratio"] = median(ratio);
}

static bool exposed;
static void onExpose(void) { exposed = true; }

// The window and fixed GL state that main sets up for the game.
static void openGameWindow(int *argc, char **argv) {
  glutInit(argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(600, 600);
  glutInitWindowPosition(0, 0);
  glutCreateWindow("Fizzgrid -- Quillon Final Project");
  glClearColor(0.0, 0.0, 0.0, 1.0);
  glutDisplayFunc(onExpose);
  glutReshapeFunc(reshape);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_NORMALIZE);
  glShadeModel(GL_SMOOTH);
  for (int wait = 0; wait < 5000 && !exposed; wait++) { // up to 5 s for the window to show
    glutMainLoopEvent();
    usleep(1000);
  }
}

int main(int argc, char **argv) {
  openGameWindow(&argc, argv);
  if (!exposed) {
    std::fprintf(stderr, "the window was never shown\n");
    return 1;
  }
  std::printf("# renderer: %s\n# version: %s\n", (const char *)glGetString(GL_RENDERER),
              (const char *)glGetString(GL_VERSION));
  std::fflush(stdout);
  drawAllOnce();

  if (argc == 4 && std::strcmp(argv[1], "--draw") == 0) {
    const Scene *scene = findScene(argv[2]);
    if (scene == nullptr) return 2;
    scene->setState();
    for (int frame = std::atoi(argv[3]); frame > 0; frame--) {
      if (scene->rebuiltList != nullptr) {
        glDeleteLists(*scene->rebuiltList, 1);
        *scene->rebuiltList = 0;
      }
      display();
      glFinish();
    }
    return 0;
  }

  static std::vector<Stream> streams; // kept for the registered benchmarks
  if (argc >= 3 && std::strcmp(argv[1], "--streams") == 0) {
    std::string dir = argv[2];
    argv[2] = argv[0];
    argc -= 2;
    argv += 2;
    streams.resize(sceneCount);
    for (int i = 0; i < sceneCount; i++)
      if (!loadStream(dir + "/" + scenes[i].name + ".calls", streams[i])) return 1;
    // The build frames first, so that the replay owns a list of each tessellation.
    int mismatches = 0;
    std::vector<unsigned long long> drawnFrames;
    for (int pass = 0; pass < 2; pass++) {
      for (int i = 0; i < sceneCount; i++) {
        if ((streams[i].builtTessellation == 0) == (pass == 0)) continue;
        scenes[i].setState();
        timeGameFrame(&scenes[i]);
        unsigned long long drawn = drawnFrameChecksum();
        drawnFrames.push_back(drawn);
        timeReplayFrame(&streams[i]);
        if (drawnFrameChecksum() != drawn) {
          std::printf("# replay of %s differs from the game's frame\n", scenes[i].name);
          mismatches++;
        }
      }
    }
    // Scenes that look different must read back differently, or the check proves nothing.
    std::sort(drawnFrames.begin(), drawnFrames.end());
    if (std::unique(drawnFrames.begin(), drawnFrames.end()) - drawnFrames.begin() < 4)
      std::printf("# replay: pixels could not be compared (frames read back alike)\n");
    else if (mismatches == 0)
      std::printf("# replay: every frame equals the game's, pixel for pixel\n");
    std::fflush(stdout);
  }

  if (streams.empty()) {
    std::fprintf(stderr, "usage: %s --streams DIR [benchmark flags] | --draw SCENE FRAMES\n",
                 argv[0]);
    return 2;
  }
  for (int i = 0; i < sceneCount; i++)
    benchmark::RegisterBenchmark((std::string("gl/") + scenes[i].name).c_str(), pairedFrames,
                                 &scenes[i], &streams[i])
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
