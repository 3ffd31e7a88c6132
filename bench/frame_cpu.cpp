// The game's own CPU time per frame: display() against a GL that does no work (null_gl.cpp).
//
//   fizzgrid_bench_cpu [benchmark flags]   times cpu/<scene>
#include "app/frame.h"
#include "scene_benchmarks.h"

static void frameCpu(benchmark::State &state, const Scene *scene) {
  scene->setState();
  for (auto _ : state) {
    if (scene->rebuiltList != nullptr) *scene->rebuiltList = 0;
    display();
  }
}

int main(int argc, char **argv) {
  drawAllOnce();
  return runSceneBenchmarks(argc, argv, "cpu", frameCpu);
}
