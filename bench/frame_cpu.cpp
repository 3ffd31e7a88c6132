// The game's own CPU cost per frame, with the recording double in place of any GL driver, and the
// writer of each scene's frame call stream for fizzgrid_bench_gl to replay into real GL.
//
//   fizzgrid_bench_cpu [benchmark flags]     time every scene as cpu/<scene>
//   fizzgrid_bench_cpu --write-streams DIR   write DIR/<scene>.calls and exit
//
// Stream format, one GL/GLU/GLUT call per line: the entry point's name, then its arguments as
// the recorder logs them (float arrays expanded), printed so that they read back exactly. A
// display list is named by its tessellation (3, 15 or 100) instead of the recorder's list id, so
// the replayer can map it to a list of its own.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/frame.h"
#include "gl_recorder.h"
#include "render/sphere.h"
#include "scenes.h"

static double listTessellation(double id) {
  if (id == sphereList3) return 3;
  if (id == sphereList15) return 15;
  if (id == sphereList100) return 100;
  return -1; // a list the game does not own: the replayer refuses it
}

static bool writeStream(const Scene &scene, const std::string &path) {
  scene.setState();
  if (scene.rebuiltList != nullptr) *scene.rebuiltList = 0;
  glrec::logging = true;
  glrec::reset();
  display();
  glrec::logging = false;
  FILE *out = std::fopen(path.c_str(), "w");
  if (out == nullptr) return false;
  for (const glrec::Call &call : glrec::log) {
    std::fputs(call.name.c_str(), out);
    bool namesList = call.name == "glCallList" || call.name == "glNewList";
    for (size_t i = 0; i < call.args.size(); i++)
      std::fprintf(out, " %.17g",
                   i == 0 && namesList ? listTessellation(call.args[i]) : call.args[i]);
    std::fputc('\n', out);
  }
  glrec::log.clear();
  return std::fclose(out) == 0;
}

static void frameCpu(benchmark::State &state, const Scene *scene) {
  scene->setState();
  unsigned long long callsBefore = glrec::callCount;
  for (auto _ : state) {
    if (scene->rebuiltList != nullptr) *scene->rebuiltList = 0;
    display();
  }
  state.counters["calls"] = (double)(glrec::callCount - callsBefore) / (double)state.iterations();
}

int main(int argc, char **argv) {
  glrec::logging = false;
  drawAllOnce();
  if (argc == 3 && std::strcmp(argv[1], "--write-streams") == 0) {
    for (int i = 0; i < sceneCount; i++) {
      std::string path = std::string(argv[2]) + "/" + scenes[i].name + ".calls";
      if (!writeStream(scenes[i], path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
      }
    }
    return 0;
  }
  for (int i = 0; i < sceneCount; i++)
    benchmark::RegisterBenchmark((std::string("cpu/") + scenes[i].name).c_str(), frameCpu,
                                 &scenes[i])
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
