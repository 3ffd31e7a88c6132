// Google Benchmark over the scenes (scenes.h), for the native benchmark programs.
#pragma once

#include <benchmark/benchmark.h>

#include "scenes.h"

// Registers PREFIX/SCENE for every scene, each running `frame` (times in µs), runs those that the
// command line selects, and returns main's exit status.
int runSceneBenchmarks(int argc, char **argv, const char *prefix,
                       void (*frame)(benchmark::State &, const Scene *));
