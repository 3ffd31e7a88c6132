// The game's own CPU cost per frame, with the recording double in place of any GL driver; and the
// writer of each scene's frame call stream, for fizzgrid_bench_gl to replay into real GL.
//
//   fizzgrid_bench_cpu --streams DIR [benchmark flags]
//
// writes each scene's frame call stream to DIR/<scene>.calls (format in call_stream.h), then times
// every scene as cpu/<scene>, and 1000 calls into the double alone as cpu/double_1000_calls.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
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

// What the double itself costs per call, for judging how much of a frame's figure is the
// double's bookkeeping: 1000 calls of the kind a frame makes most.
static void recordedCalls(benchmark::State &state) {
  for (auto _ : state)
    for (int i = 0; i < 1000; i++)
      glVertex3f(1.0f, 2.0f, 3.0f);
}

int main(int argc, char **argv) {
  glrec::logging = false;
  drawAllOnce();
  if (argc < 3 || std::strcmp(argv[1], "--streams") != 0) {
    std::fprintf(stderr, "usage: %s --streams DIR [benchmark flags]\n", argv[0]);
    return 2;
  }
  for (int i = 0; i < sceneCount; i++) {
    std::string path = std::string(argv[2]) + "/" + scenes[i].name + ".calls";
    if (!writeStream(scenes[i], path)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  argv[2] = argv[0];
  argc -= 2;
  argv += 2;
  for (int i = 0; i < sceneCount; i++) {
    benchmark::RegisterBenchmark((std::string("cpu/") + scenes[i].name).c_str(), frameCpu,
                                 &scenes[i])
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("cpu/double_1000_calls", recordedCalls)
      ->UseRealTime()
      ->Unit(benchmark::kMicrosecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
