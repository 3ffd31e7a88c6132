// The game's own CPU cost per frame, with the recording double in place of any GL driver.
//
//   fizzgrid_bench_cpu [benchmark flags]
//
// times display() for every timed scene as cpu/<scene> (in µs, with the GL calls per frame as the
// counter "calls"), and 1000 calls into the double alone as cpu/double_1000_calls, which tells how
// much of a frame's figure is the double's own bookkeeping.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <string>

#include "app/frame.h"
#include "support.h" // the recording double (gl::calls)
#include "scenes.h"

// The double's log is emptied after every frame so that its memory stays bounded; emptying a
// vector of plain records only resets its size.
static void frameCpu(benchmark::State &state, const Scene *scene) {
  scene->setState();
  size_t calls = 0;
  for (auto _ : state) {
    if (scene->rebuiltList != nullptr) *scene->rebuiltList = 0;
    display();
    calls = gl::calls.size();
    gl::reset();
  }
  state.counters["calls"] = (double)calls;
}

// 1000 calls of the kind a frame makes most.
static void doubleAlone(benchmark::State &state) {
  for (auto _ : state) {
    for (int i = 0; i < 1000; i++)
      glVertex3f(1.0f, 2.0f, 3.0f);
    gl::reset();
  }
}

int main(int argc, char **argv) {
  drawAllOnce();
  gl::reset();
  for (int i = 0; i < sceneCount; i++) {
    if (!scenes[i].timed) continue;
    benchmark::RegisterBenchmark((std::string("cpu/") + scenes[i].name).c_str(), frameCpu,
                                 &scenes[i])
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("cpu/double_1000_calls", doubleAlone)->Unit(benchmark::kMicrosecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
