// Frame times with the real GL (Mesa under X): every scene drawn by the game, and the same
// frame's recorded call stream replayed into GL without the game, the floor the game is held to.
//
//   fizzgrid_bench_gl --streams DIR [benchmark flags]   time gl/<scene>: game and replay in pairs
//   fizzgrid_bench_gl --draw SCENE FRAMES               draw FRAMES frames of SCENE and exit
//
// Every timed frame ends with glFinish, so the time holds the rendering as well as the calls. The
// streams come from `fizzgrid_bench_cpu --write-streams DIR` (format described there). Before
// timing, each replayed frame's pixels are compared with the game's; a difference is reported.
#include <benchmark/benchmark.h>

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/frame.h"
#include "scenes.h"

enum OpCode {
  OP_CLEAR,
  OP_LOAD_IDENTITY,
  OP_LOOK_AT,
  OP_LIGHT,
  OP_MATERIAL,
  OP_BEGIN,
  OP_END,
  OP_NORMAL,
  OP_VERTEX,
  OP_TRANSLATE,
  OP_SCALE,
  OP_GEN_LISTS,
  OP_NEW_LIST,
  OP_END_LIST,
  OP_CALL_LIST,
  OP_FLUSH,
  OP_SWAP,
};

// Entry points a display() frame may make, with the count of arguments each is logged with.
static const struct {
  const char *name;
  OpCode code;
  int argCount;
} entryPoints[] = {
    {"glClear", OP_CLEAR, 1},
    {"glLoadIdentity", OP_LOAD_IDENTITY, 0},
    {"gluLookAt", OP_LOOK_AT, 9},
    {"glLightfv", OP_LIGHT, 6},
    {"glMaterialfv", OP_MATERIAL, 6},
    {"glBegin", OP_BEGIN, 1},
    {"glEnd", OP_END, 0},
    {"glNormal3f", OP_NORMAL, 3},
    {"glVertex3f", OP_VERTEX, 3},
    {"glTranslatef", OP_TRANSLATE, 3},
    {"glScalef", OP_SCALE, 3},
    {"glGenLists", OP_GEN_LISTS, 1},
    {"glNewList", OP_NEW_LIST, 2},
    {"glEndList", OP_END_LIST, 0},
    {"glCallList", OP_CALL_LIST, 1},
    {"glFlush", OP_FLUSH, 0},
    {"glutSwapBuffers", OP_SWAP, 0},
};

using Clock = std::chrono::steady_clock;

// One call, decoded before timing: enums and list tessellations in e, floats in f.
struct Op {
  OpCode code;
  GLenum e[2];
  GLfloat f[4];
};

struct Stream {
  std::vector<Op> ops;
  std::vector<std::array<GLdouble, 9>> lookAts; // gluLookAt's doubles, in call order
  int builtTessellation = 0;                    // the list the frame builds, 0 if none
};

// The replay's own sphere lists, indexed by tessellation; built by replaying the build frames.
static GLuint replayLists[101];

static bool loadStream(const std::string &path, Stream &stream) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    fields >> name;
    std::vector<double> args;
    for (double value; fields >> value;)
      args.push_back(value);
    int entry = 0, entryCount = sizeof entryPoints / sizeof entryPoints[0];
    while (entry < entryCount && name != entryPoints[entry].name)
      entry++;
    if (entry == entryCount || (int)args.size() != entryPoints[entry].argCount) {
      std::fprintf(stderr, "%s: cannot replay: %s\n", path.c_str(), line.c_str());
      return false;
    }
    Op op = {entryPoints[entry].code, {0, 0}, {0, 0, 0, 0}};
    if (op.code == OP_LOOK_AT) {
      std::array<GLdouble, 9> lookAt;
      for (int i = 0; i < 9; i++)
        lookAt[i] = args[i];
      stream.lookAts.push_back(lookAt);
    } else if (op.code == OP_LIGHT || op.code == OP_MATERIAL) {
      op.e[0] = (GLenum)args[0];
      op.e[1] = (GLenum)args[1];
      for (int i = 0; i < 4; i++)
        op.f[i] = (GLfloat)args[2 + i];
    } else if (op.code == OP_NORMAL || op.code == OP_VERTEX || op.code == OP_TRANSLATE ||
               op.code == OP_SCALE) {
      for (int i = 0; i < 3; i++)
        op.f[i] = (GLfloat)args[i];
    } else {
      for (size_t i = 0; i < args.size(); i++)
        op.e[i] = (GLenum)args[i];
    }
    if ((op.code == OP_CALL_LIST || op.code == OP_NEW_LIST) &&
        !(op.e[0] == 3 || op.e[0] == 15 || op.e[0] == 100)) {
      std::fprintf(stderr, "%s: unknown display list: %s\n", path.c_str(), line.c_str());
      return false;
    }
    if (op.code == OP_NEW_LIST) stream.builtTessellation = (int)op.e[0];
    stream.ops.push_back(op);
  }
  return !stream.ops.empty();
}

static void replay(const Stream &stream) {
  const std::array<GLdouble, 9> *lookAt = stream.lookAts.data();
  GLuint generated = 0;
  for (const Op &op : stream.ops) {
    switch (op.code) {
    case OP_CLEAR:
      glClear(op.e[0]);
      break;
    case OP_LOAD_IDENTITY:
      glLoadIdentity();
      break;
    case OP_LOOK_AT: {
      const GLdouble *d = (lookAt++)->data();
      gluLookAt(d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7], d[8]);
      break;
    }
    case OP_LIGHT:
      glLightfv(op.e[0], op.e[1], op.f);
      break;
    case OP_MATERIAL:
      glMaterialfv(op.e[0], op.e[1], op.f);
      break;
    case OP_BEGIN:
      glBegin(op.e[0]);
      break;
    case OP_END:
      glEnd();
      break;
    case OP_NORMAL:
      glNormal3f(op.f[0], op.f[1], op.f[2]);
      break;
    case OP_VERTEX:
      glVertex3f(op.f[0], op.f[1], op.f[2]);
      break;
    case OP_TRANSLATE:
      glTranslatef(op.f[0], op.f[1], op.f[2]);
      break;
    case OP_SCALE:
      glScalef(op.f[0], op.f[1], op.f[2]);
      break;
    case OP_GEN_LISTS:
      generated = glGenLists((GLsizei)op.e[0]);
      break;
    case OP_NEW_LIST:
      replayLists[op.e[0]] = generated;
      glNewList(generated, op.e[1]);
      break;
    case OP_END_LIST:
      glEndList();
      break;
    case OP_CALL_LIST:
      glCallList(replayLists[op.e[0]]);
      break;
    case OP_FLUSH:
      glFlush();
      break;
    case OP_SWAP:
      glutSwapBuffers();
      break;
    }
  }
}

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
    for (int pass = 0; pass < 2; pass++) {
      for (int i = 0; i < sceneCount; i++) {
        if ((streams[i].builtTessellation == 0) == (pass == 0)) continue;
        scenes[i].setState();
        timeGameFrame(&scenes[i]);
        unsigned long long drawn = drawnFrameChecksum();
        timeReplayFrame(&streams[i]);
        if (drawnFrameChecksum() != drawn) {
          std::printf("# replay of %s differs from the game's frame\n", scenes[i].name);
          mismatches++;
        }
      }
    }
    if (mismatches == 0) std::printf("# replay: every frame equals the game's, pixel for pixel\n");
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
