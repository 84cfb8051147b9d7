// Entry point of the benchmark binary: every bench/*.cpp registers its benchmarks.

#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
