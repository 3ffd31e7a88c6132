// Registers and runs the scenes' benchmarks (scene_benchmarks.h).
#include "scene_benchmarks.h"

#include <string>

int runSceneBenchmarks(int argc, char **argv, const char *prefix,
                       void (*frame)(benchmark::State &, const Scene *)) {
  for (int i = 0; i < sceneCount; i++) {
    const Scene &scene = scenes[i];
    std::string name = std::string(prefix) + "/" + scene.name;
    benchmark::RegisterBenchmark(name.c_str(), frame, &scene)->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
